#include "StateJson.h"

#include "ModelJson.h"

namespace kestrune::cli {

namespace {

using nlohmann::json;

json Captions(const MenuState& menu) {
    json captions = json::array();
    for (const MenuItem& item : menu.items) {
        captions.push_back(item.caption);
    }
    return captions;
}

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

json Menus(const TfrmMain& main) {
    json specifications = json::array();
    for (const MenuItem& item : main.cmdSpecificationsMenu.items) {
        specifications.push_back({{"caption", item.caption}, {"checked", item.checked}});
    }
    json links = json::array();
    for (const MenuItem& item : main.cmdLinks.items) {
        links.push_back({{"caption", item.caption}, {"address", item.address}});
    }
    return {{"cmdRecentPresets", Captions(main.cmdRecentPresets)},
            {"cmdRecentFiles", Captions(main.cmdRecentFiles)},
            {"cmdPresetsMenu", Captions(main.cmdPresetsMenu)},
            {"mnuRunStages", Captions(main.mnuRunStages)},
            {"cmdTrayRun", Captions(main.cmdTrayRun)},
            {"cmdSpecificationsMenu", std::move(specifications)},
            {"cmdLinks", std::move(links)}};
}

json Options(const TfrmOptions& options) {
    json rows = json::array();
    for (const ToolPathListRow& row : options.ToolRows) {
        rows.push_back({{"tool", row.tool}, {"path", row.path}});
    }
    return {{"open", options.IsOpen},
            {"page", options.Page},
            {"sliderTip", options.SliderTip},
            {"recentText", options.txtRecentFiles.text},
            {"toolRows", std::move(rows)},
            {"presets", options.Presets},
            {"txtToolPath", options.txtToolPath.text},
            {"txtBase", options.txtBase.text},
            {"txtFile", options.txtFile.text},
            {"lblBrowseTool", options.lblBrowseTool.text},
            {"lblBrowseGame", options.lblBrowseGame.text}};
}

json About(const TfrmAbout& about) {
    return {{"open", about.IsOpen},
            {"lblVersion", about.lblVersion.text},
            {"lblSpecName", about.lblSpecName.text},
            {"lblSpecProgram", about.lblSpecProgram.text},
            {"lblSpecAuthor", about.lblSpecAuthor.text}};
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
            {"menus", Menus(main)},
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
