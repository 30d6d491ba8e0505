#include "specification/SpecLoader.h"

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "specification/ElementBlocks.h"
#include "specification/SpecReader.h"
#include "specification/ToolPathFile.h"

namespace kestrune {

namespace {

void ResetModel(SpecificationModel& model, const std::string& path, StateListener* listener) {
    // A waiting focus request may point into a field of the groups about to go.
    model.Fields.Requests.Withdraw<FocusControl>();
    model.Programs.clear();
    model.Stages.clear();
    model.RunStages.clear();
    ClearLinks(model);
    model.SpecFileName = std::string(FileNamePart(path));
    model.Fields.Files.InputFolder.clear();
    model.Fields.Files.InputName.clear();
    model.Fields.Files.InputExt.clear();
    model.SpecAuthor = kUnknown;
    model.SpecName = kUnknown;
    model.SpecProgram = kUnknown;
    model.LayoutLines.clear();
    model.SpecificationComplete = false;
    ++model.StructureVersion;
    if (listener != nullptr) {
        listener->SpecificationReset();
    }
}

enum class ReadEnd { EndOfFile, SyntaxError };

// The Setup and Group grammar over one file's lines.
class SpecParser {
  public:
    SpecParser(SpecificationModel& state, SpecLineReader& reader)
        : state_(state), reader_(reader) {}

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
    void Error(const std::string& text) { ShowSpecError(state_.Fields.platform, text); }

    bool Split(const std::string& line) {
        return SplitKeyValue(state_.Fields.platform, line, state_.LineCounter, key_, value_);
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
                        state_.Stages.push_back({name, false});
                    }
                }
                switch (ReadElement(reader_, state_.Fields.platform, state_.LineCounter, *group,
                                    key_, value_)) {
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

    SpecificationModel& state_;
    SpecLineReader& reader_;
    std::string line_;
    std::string key_;
    std::string value_;
};

void ShowIoError(SpecificationModel& state, const IoError& error) {
    state.Fields.platform.get().ShowMessage(MessageKind::Error, error.what());
}

}  // namespace

void LoadSpecification(SpecificationModel& state, const std::string& path) {
    LoadSpecification(state, path, state.Listener);
}

void LoadSpecification(SpecificationModel& state, const std::string& path,
                       StateListener* listener) {
    if (!FileExists(path)) {
        return;
    }
    ResetModel(state, path, listener);
    try {
        const std::string bytes = ReadSharedTextFile(path);
        state.LineCounter = 0;
        SpecLineReader reader(bytes, state.LineCounter);
        const ReadEnd end = SpecParser(state, reader).Read();
        // A layout of a million one-letter lines would otherwise keep up to twice the room.
        state.LayoutLines.shrink_to_fit();
        if (end == ReadEnd::SyntaxError) {
            return;
        }
        state.SpecificationComplete = true;
        ReadToolPathFile(state);
    } catch (const IoError& error) {
        ShowIoError(state, error);
    }
}

TZRGroup& CreateProgramGroup(SpecificationModel& state, const std::string& name,
                             const std::string& groupCaption, bool requireExe,
                             const std::string& exeFilter) {
    TZRGroup& group = *state.Programs.emplace_back(std::make_unique<TZRGroup>(
        state.Fields, name, requireExe, exeFilter, groupCaption, state.Tab));
    if (requireExe) {
        AddRunStageEntries(state, name, static_cast<int>(state.Programs.size() - 1));
    }
    return group;
}

void AddRunStageEntries(SpecificationModel& state, const std::string& caption, int index) {
    state.RunStages.push_back({caption, index});
}

void ClearLinks(SpecificationModel& state) {
    state.Links.clear();
}

void AddLink(SpecificationModel& state, std::string_view value) {
    const std::size_t bar = value.find('|');
    if (bar == std::string_view::npos) {
        return;
    }
    state.Links.push_back({Trim(value.substr(bar + 1)), "http://" + Trim(value.substr(0, bar))});
}

}  // namespace kestrune
