#pragma once
// What a specification file fills: its Setup items, the programs with their fields, the
// stages, the run-stage entries, the links and the batch layout, beside the program folder
// where the specification and its tool path file are found.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Paths.h"
#include "fields/FieldContext.h"
#include "fields/Group.h"
#include "specification/StateListener.h"

namespace kestrune {

// Name, author and program of a specification whose Setup block does not give them.
inline constexpr const char* kUnknown = "Unknowen";

struct StageItem {  // an entry of the stages list
    std::string caption;
    bool checked = false;
};

struct RunStageEntry {  // an entry of the run-stage menus
    std::string caption;
    int index = 0;  // the program's position in the program list
};

struct LinkEntry {  // an entry of the Links menu
    std::string caption;
    std::string address;
};

struct SpecificationModel {
    // The programs' fields live on `fields`, which must outlive the model.
    explicit SpecificationModel(FieldContext& fields, const std::string& programFolder = {});
    SpecificationModel(const SpecificationModel&) = delete;
    SpecificationModel& operator=(const SpecificationModel&) = delete;

    // What the fields of the programs read and change.
    FieldContext& Fields;
    // Told about resets by the loader and about the input file and the named specification
    // by the preset reader; none when nobody listens.
    StateListener* Listener = nullptr;

    // Ends with a separator; SpecFiles/ and Config/ live in it.
    std::string ProgramFolder;
    // An installed program's data folder, whose SpecFiles/ holds the shipped specifications;
    // empty for a portable copy. Ends with a separator.
    std::string SharedFolder;

    std::string SpecFileName;  // file name of the loaded specification, without folder
    std::string SpecName;
    std::string SpecAuthor;
    std::string SpecProgram;
    std::optional<std::string> InputFilter;  // filter of the input-file dialog, when set
    std::optional<std::string> BaseLabel;    // caption of the options dialog's base-path label
    std::vector<std::string> LayoutLines;
    std::vector<std::unique_ptr<TZRGroup>> Programs;
    std::vector<StageItem> Stages;
    std::vector<RunStageEntry> RunStages;
    std::vector<LinkEntry> Links;
    TabSize Tab;  // client area of a program tab; the layout depends on it
    // Bumped whenever the programs are rebuilt, so a view knows to rebuild its tabs.
    int StructureVersion = 0;
    // False while the loaded specification stopped early (a syntax or read error): its
    // programs are only those read before the stop.
    bool SpecificationComplete = true;
    // Lines read of the last specification file, for its syntax messages.
    std::int32_t LineCounter = 0;

    bool HasSpecification() const { return !Programs.empty(); }
    // The first program with this exact name, or nullptr.
    TZRGroup* FindProgram(std::string_view name) const;

    std::string SpecFolder() const;
    std::string ConfigFolder() const;
    // The folders the catalogue lists, the user's first; the shipped one only when installed.
    std::vector<std::string> SpecFolders() const;
    // A specification file by name: the user's when there is one, else a shipped one of that
    // name, else the user's path (which then is reported as missing).
    std::string SpecFilePath(const std::string& name) const;
};

}  // namespace kestrune
