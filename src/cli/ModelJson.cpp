#include "ModelJson.h"

namespace kestrune::cli {
namespace {

using nlohmann::json;

json OptionalText(const std::optional<std::string>& text) {
    return text ? json(*text) : json(nullptr);
}

json ValueField(const FieldCore& core) {
    return {{"caption", core.Caption()},          {"param", core.Param},
            {"details", core.Details.str()},      {"groups", core.Groups()},
            {"bold", core.CheckControl.bold},     {"width", core.Width},
            {"checked", core.Checked()},          {"left", core.CheckControl.bounds.left},
            {"top", core.CheckControl.bounds.top}};
}

}  // namespace

json ProgramToJson(const TZRGroup& group) {
    json labels = json::array();
    for (const TZRLabelBox& label : group.Labels) {
        labels.push_back({{"caption", label.Caption()},
                          {"left", label.LabelControl.bounds.left},
                          {"top", label.LabelControl.bounds.top}});
    }
    json checkBoxes = json::array();
    for (const TZRCheckBox& box : group.CheckBoxes) {
        json field = ValueField(box.Core);
        field["batchCommand"] = box.BatchCommand;
        checkBoxes.push_back(std::move(field));
    }
    json editBoxes = json::array();
    for (const TZREditBox& box : group.EditBoxes) {
        json field = ValueField(box.Core);
        field["min"] = box.Value.Min;
        field["max"] = box.Value.Max;
        field["roundTo"] = box.Value.RoundTo;
        field["isString"] = box.Value.IsString;
        field["defaultText"] = box.Value.DefaultText;
        field["text"] = box.Text();
        editBoxes.push_back(std::move(field));
    }
    json comboBoxes = json::array();
    for (const TZRComboBox& box : group.ComboBoxes) {
        json field = ValueField(box.Core);
        field["defaultText"] = box.DefaultText;
        field["text"] = box.Text();
        json options = json::array();
        for (std::size_t i = 0; i < box.OptionNames.size(); ++i) {
            options.push_back({{"name", box.OptionNames[i]}, {"value", box.OptionValues[i]}});
        }
        field["options"] = std::move(options);
        comboBoxes.push_back(std::move(field));
    }
    json browseBoxes = json::array();
    for (const TZRBrowseBox& box : group.BrowseBoxes) {
        json field = ValueField(box.Core);
        field["browseType"] = box.BrowseType;
        field["filter"] = box.Filter();
        field["text"] = box.Text();
        browseBoxes.push_back(std::move(field));
    }
    json colorBoxes = json::array();
    for (const TZRColorBox& box : group.ColorBoxes) {
        json field = ValueField(box.Core);
        field["color"] = box.Color;
        colorBoxes.push_back(std::move(field));
    }
    return {{"name", group.Name},
            {"caption", group.GroupCaption},
            {"requireExe", group.RequireExe},
            {"exeFilter", group.ExeFilter},
            {"toolPath", group.ToolPath},
            {"run", group.Run},
            {"labels", std::move(labels)},
            {"checkBoxes", std::move(checkBoxes)},
            {"editBoxes", std::move(editBoxes)},
            {"comboBoxes", std::move(comboBoxes)},
            {"browseBoxes", std::move(browseBoxes)},
            {"colorBoxes", std::move(colorBoxes)}};
}

json ModelToJson(const SpecificationModel& model) {
    json links = json::array();
    for (const LinkEntry& link : model.Links) {
        links.push_back({{"caption", link.caption}, {"address", link.address}});
    }
    json stages = json::array();
    for (const StageItem& stage : model.Stages) {
        stages.push_back({{"caption", stage.caption}, {"checked", stage.checked}});
    }
    json runStages = json::array();
    for (const RunStageEntry& entry : model.RunStages) {
        runStages.push_back({{"caption", entry.caption}, {"index", entry.index}});
    }
    json programs = json::array();
    for (const auto& program : model.Programs) {
        programs.push_back(ProgramToJson(*program));
    }
    return {{"specFileName", model.SpecFileName},
            {"specName", model.SpecName},
            {"specAuthor", model.SpecAuthor},
            {"specProgram", model.SpecProgram},
            {"inputFilter", OptionalText(model.InputFilter)},
            {"baseLabel", OptionalText(model.BaseLabel)},
            {"links", std::move(links)},
            {"layout", model.LayoutLines},
            {"basePath", model.Fields.Files.BasePath},
            {"destPath", model.Fields.Files.FileDest},
            {"stages", std::move(stages)},
            {"runStages", std::move(runStages)},
            {"programs", std::move(programs)}};
}

std::string DumpJson(const nlohmann::json& json) {
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace kestrune::cli
