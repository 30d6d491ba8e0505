#include "StateJson.h"

#include "ModelJson.h"

namespace kestrune::cli {

namespace {

using nlohmann::json;

json Controls(Kestrune& app) {
    json controls = json::object();
    for (const NamedControl& named : app.Controls()) {
        const ControlState& control = *named.control;
        controls[named.key] = {{"caption", control.text},
                               {"enabled", control.enabled},
                               {"visible", control.visible},
                               {"checked", control.checked}};
    }
    return controls;
}

// Each built menu's entries: captions, with the tick of a choice menu or a link's address.
json Menus(Kestrune& app) {
    json menus = json::object();
    for (const PlacedRow& placed : app.Layout(WindowId::Main)) {
        if (placed.menu == nullptr) {
            continue;
        }
        json entries = json::array();
        for (const MenuItem& item : placed.menu->items) {
            switch (placed.row->kind) {
                case ControlKind::ChoiceMenu:
                    entries.push_back({{"caption", item.caption}, {"checked", item.checked}});
                    break;
                case ControlKind::LinkMenu:
                    entries.push_back({{"caption", item.caption}, {"address", item.address}});
                    break;
                default:
                    entries.push_back(item.caption);
                    break;
            }
        }
        menus[std::string(placed.row->name)] = std::move(entries);
    }
    return menus;
}

json Options(const TfrmOptions& options) {
    json rows = json::array();
    for (const ToolPathListRow& row : options.ToolRows) {
        rows.push_back({{"tool", row.tool}, {"path", row.path}});
    }
    json dumped = {{"open", options.IsOpen},
                   {"page", options.Page},
                   {"sliderTip", options.SliderTip},
                   {"toolRows", std::move(rows)},
                   {"presets", options.Presets}};
    for (const auto& [name, text] : options.DumpTexts()) {
        dumped[std::string(name)] = text;
    }
    return dumped;
}

json About(const TfrmAbout& about) {
    json dumped = {{"open", about.IsOpen}};
    for (const auto& [name, text] : about.DumpTexts()) {
        dumped[std::string(name)] = text;
    }
    return dumped;
}

json Started(const ReplayPlatform& platform) {
    json started = json::array();
    for (const StartRequest& request : platform.Started()) {
        started.push_back({{"file", request.file}, {"params", request.params}});
    }
    return started;
}

json Messages(const ReplayPlatform& platform) {
    json messages = json::array();
    for (const ShownMessage& message : platform.Messages()) {
        messages.push_back(
            {{"title", message.title},
             {"text", message.text},
             {"answer", message.answer ? json(ReplayAnswerText(*message.answer)) : json(nullptr)}});
    }
    return messages;
}

}  // namespace

json StateToJson(Kestrune& app, const ReplayPlatform& platform) {
    const TfrmMain& main = app.frmMain;
    const AppState& state = main.State();
    json stages = json::array();
    for (const StageItem& stage : state.Specification.Stages) {
        stages.push_back({{"caption", stage.caption}, {"checked", stage.checked}});
    }
    json programs = json::array();
    for (const auto& program : state.Specification.Programs) {
        programs.push_back(ProgramToJson(*program));
    }
    return {{"caption", main.Caption},
            {"presetFileName", state.PresetFileName},
            {"presetChanged", state.Fields.PresetChanged},
            {"inputFile", state.Input.InputFile},
            {"closed", main.Closed},
            {"inTray", main.InTray},
            {"window",
             {{"left", main.Left},
              {"top", main.Top},
              {"height", main.Height ? json(*main.Height) : json(nullptr)},
              {"opacity", state.Opacity}}},
            {"controls", Controls(app)},
            {"menus", Menus(app)},
            {"stages", std::move(stages)},
            {"activeTab", main.ActiveTab},
            {"details", state.Fields.DetailsText},
            {"options", Options(app.frmOptions)},
            {"about", About(app.frmAbout)},
            {"programs", std::move(programs)},
            {"started", Started(platform)},
            {"messages", Messages(platform)}};
}

std::string DumpJsonLine(const nlohmann::json& json) {
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace kestrune::cli
