#include "spec/SpecLoader.h"

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "spec/ElementBlocks.h"
#include "spec/SpecReader.h"
#include "spec/ToolPathFile.h"

namespace kestrune {

namespace {

void ResetModel(AppState& state, const std::string& path) {
    // A pending focus request may point into a field of the groups about to go.
    state.FocusRequest = nullptr;
    state.Programs.clear();
    state.lstStages.clear();
    state.mnuRunStages.clear();
    state.TrayRunStages.clear();
    ClearLinks(state);

    MainControls& c = state.controls;
    for (ControlState* on : {&c.cmdNewPreset, &c.cmdImportPreset, &c.cmdSavePresetAs,
                             &c.cmdToolNewPreset, &c.cmdToolSavePreset, &c.cmdBrowse,
                             &c.cmdRecentFiles, &c.cmdOpenFile, &c.cmdClearEmptyFields}) {
        on->enabled = true;
    }
    for (ControlState* off :
         {&c.cmdSavePreset, &c.chkRememberFile, &c.cmdCompile, &c.cmdRunBatchFile, &c.cmdToolRun,
          &c.cmdTrayCompile, &c.cmdTrayRun, &c.cmdSaveBatchAs}) {
        off->enabled = false;
    }

    state.SpecFileName = std::string(FileNamePart(path));
    state.InputFile.clear();
    state.InputFolder.clear();
    state.InputName.clear();
    state.InputExt.clear();
    state.SpecAuthor = kUnknown;
    state.SpecName = kUnknown;
    state.SpecProgram = kUnknown;
    state.LayoutLines.clear();
    ++state.StructureVersion;
}

enum class ReadEnd { EndOfFile, SyntaxError };

// The Setup and Group grammar over one file's lines.
class SpecParser {
  public:
    SpecParser(AppState& state, SpecLineReader& reader) : state_(state), reader_(reader) {}

    ReadEnd Read() {
        bool endOfFile = false;
        if (!ReadSetup(endOfFile)) {
            return ReadEnd::SyntaxError;
        }
        while (!endOfFile) {
            if (!ReadGroup(endOfFile)) {
                return ReadEnd::SyntaxError;
            }
        }
        return ReadEnd::EndOfFile;
    }

  private:
    void Error(const std::string& text) { ShowSpecError(state_.platform, text); }

    bool Split(const std::string& line) {
        return SplitKeyValue(state_.platform, line, state_.LineCounter, key_, value_);
    }

    // The header's own brace line; blank lines are not skipped here.
    bool ReadOpeningBrace(bool& endOfFile) {
        if (!reader_.ReadSpecLine(line_)) {
            endOfFile = true;
            return true;
        }
        if (line_ != "{") {
            Error(ExpectedMessage("{", line_, state_.LineCounter));
            return false;
        }
        return true;
    }

    // Reads "<key> = <name>" and the "{" line under it. False on a syntax error; when the file
    // ends first, `endOfFile` is set instead.
    bool ReadBlockHeader(std::string_view key, std::string_view expected, std::string& name,
                         bool& endOfFile) {
        if (!reader_.ReadNonEmptyLine(line_)) {
            endOfFile = true;
            return true;
        }
        if (!Split(line_)) {
            return false;
        }
        if (key_ != key) {
            Error(ExpectedMessage(expected, line_, state_.LineCounter));
            return false;
        }
        name = value_;
        return ReadOpeningBrace(endOfFile);
    }

    bool ReadSetup(bool& endOfFile) {
        std::string name;
        if (!ReadBlockHeader("setup", "Setup", name, endOfFile)) {
            return false;
        }
        if (endOfFile) {
            return true;
        }
        state_.SpecName = std::move(name);

        bool inLayout = false;
        while (reader_.ReadNonEmptyLine(line_)) {
            if (line_ == "}") {
                return true;
            }
            if (inLayout) {
                state_.LayoutLines.push_back(line_);
                continue;
            }
            if (EqualsNoCase(line_, "layout:")) {
                inLayout = true;
                continue;
            }
            if (!Split(line_)) {
                return false;
            }
            if (key_ == "author") {
                state_.SpecAuthor = value_;
            } else if (key_ == "program") {
                state_.SpecProgram = value_;
                state_.BaseLabel = value_ + " Path:";
            } else if (key_ == "filter") {
                state_.InputFilter = value_;
            } else if (key_ == "link") {
                AddLink(state_, value_);
            }
        }
        endOfFile = true;
        return true;
    }

    bool ReadGroup(bool& endOfFile) {
        std::string name;
        if (!ReadBlockHeader("group", "Group", name, endOfFile)) {
            return false;
        }
        if (endOfFile) {
            return true;
        }

        std::string caption = name + ":";
        bool requireExe = false;
        std::string exeFilter = kDefaultExeFilter;
        TZRGroup* group = nullptr;  // created at the block's first element line

        while (reader_.ReadNonEmptyLine(line_)) {
            if (line_ == "}") {
                return true;
            }
            if (!Split(line_)) {
                return false;
            }
            if (IsElementKind(key_)) {
                if (group == nullptr) {
                    group = &CreateProgramGroup(state_, name, caption, requireExe, exeFilter);
                    if (requireExe) {
                        state_.lstStages.push_back({name, false});
                    }
                }
                switch (ReadElement(reader_, state_.platform, state_.LineCounter, *group, key_,
                                    value_)) {
                    case BlockResult::Added:
                        break;
                    case BlockResult::EndOfFile:
                        endOfFile = true;
                        return true;
                    case BlockResult::Error:
                        return false;
                }
            } else if (group == nullptr) {
                if (key_ == "name") {
                    caption = value_ + ":";
                } else if (key_ == "requireexe") {
                    requireExe = IsTrueFlag(value_);
                } else if (key_ == "exefilter") {
                    exeFilter = value_;
                }
            }
        }
        endOfFile = true;
        return true;
    }

    AppState& state_;
    SpecLineReader& reader_;
    std::string line_;
    std::string key_;
    std::string value_;
};

void ShowIoError(AppState& state, const IoError& error) {
    if (state.platform != nullptr) {
        state.platform->ShowMessage(MessageKind::Error, error.what());
    }
}

}  // namespace

void LoadSpecification(AppState& state, const std::string& path) {
    if (!FileExists(path)) {
        return;
    }
    ResetModel(state, path);
    try {
        const std::string bytes = ReadFileBytes(path);
        state.LineCounter = 0;
        SpecLineReader reader(bytes, state.LineCounter);
        if (SpecParser(state, reader).Read() == ReadEnd::SyntaxError) {
            return;
        }
        ReadToolPathFile(state);
    } catch (const IoError& error) {
        ShowIoError(state, error);
    }
}

TZRGroup& CreateProgramGroup(AppState& state, const std::string& name,
                             const std::string& groupCaption, bool requireExe,
                             const std::string& exeFilter) {
    TZRGroup& group = *state.Programs.emplace_back(
        std::make_unique<TZRGroup>(state, name, requireExe, exeFilter, groupCaption, state.Tab));
    if (requireExe) {
        AddRunStageEntries(state, name, static_cast<int>(state.Programs.size() - 1));
    }
    return group;
}

void AddRunStageEntries(AppState& state, const std::string& caption, int index) {
    state.mnuRunStages.push_back({caption, index});
    state.TrayRunStages.push_back({caption, index});
}

void ClearLinks(AppState& state) {
    state.Links.clear();
    state.controls.cmdLinks.visible = false;
}

void AddLink(AppState& state, std::string_view value) {
    const std::size_t bar = value.find('|');
    if (bar == std::string_view::npos) {
        return;
    }
    state.Links.push_back({Trim(value.substr(bar + 1)), "http://" + Trim(value.substr(0, bar))});
    state.controls.cmdLinks.visible = true;
}

}  // namespace kestrune
