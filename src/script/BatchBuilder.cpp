#include "script/BatchBuilder.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/FileIo.h"
#include "base/Result.h"
#include "base/Text.h"
#include "base/TextEncoding.h"
#include "base/ToolSearch.h"
#include "fields/FileVariables.h"
#include "fields/ShellQuoting.h"
#include "script/Expansion.h"

namespace kestrune {

namespace {

// Writes the script in one go; a failed write leaves the previous script as it was.
Result<void> WriteScript(const std::string& path, const std::string& bytes) {
    try {
        WriteFileReplacing(path, bytes);
        MakeExecutableByOwner(path);
        return {};
    } catch (const IoError& error) {
        return Failure{error.what()};
    }
}

// True when the lower-cased line names the program's executable in either form.
bool NamesExecutable(const std::string& lowerLine, const std::string& lowerName) {
    if (lowerName.empty()) {
        return false;
    }
    return lowerLine.find("$classexe=" + lowerName) != std::string::npos ||
           lowerLine.find("$classexe='" + lowerName + "'") != std::string::npos;
}

// True when every "$ClassParam=" of the lower-cased line names only programs that are no
// stage: such a line computes options, not a stage's run.
bool NamesOnlyOptionPrograms(const SpecificationModel& state,
                             const std::vector<std::string>& lowerNames, const std::string& lower) {
    static constexpr std::string_view kParam = "$classparam=";
    for (std::size_t at = lower.find(kParam); at != std::string::npos;
         at = lower.find(kParam, at + kParam.size())) {
        const std::string_view rest = std::string_view(lower).substr(at + kParam.size());
        bool named = false;
        for (std::size_t i = 0; i < state.Programs.size(); ++i) {
            const auto& program = state.Programs[i];
            const std::string& name = lowerNames[i];
            if (name.empty()) {
                continue;
            }
            const bool plain = rest.starts_with(name);
            const bool quoted = rest.size() > name.size() + 1 && rest.front() == '\'' &&
                                rest.substr(1, name.size()) == name &&
                                rest[name.size() + 1] == '\'';
            if (plain || quoted) {
                if (program->RequireExe) {
                    return false;
                }
                named = true;
            }
        }
        if (!named) {
            return false;
        }
    }
    return true;
}

// Whether a single stage's script holds the line: the lines that run the stage, the lines that
// name no program, and the lines that only compute options of programs that are no stage.
bool SelectedForStage(const SpecificationModel& state, const std::vector<std::string>& lowerNames,
                      const std::string& line, const std::string& lowerName) {
    const std::string lower = LowerAscii(line);
    if (NamesExecutable(lower, lowerName)) {
        return true;
    }
    if (lower.find("$classexe=") != std::string::npos) {
        return false;
    }
    return lower.find("$classparam=") == std::string::npos ||
           NamesOnlyOptionPrograms(state, lowerNames, lower);
}

// A field counts as ticked when Run would keep it ticked: Run unticks the text fields left
// empty before it builds the command lines.
template <typename Field>
bool Ticked(const Field& field) {
    if constexpr (requires { field.Text(); }) {
        return field.Checked() && !field.Text().empty();
    } else {
        return field.Checked();
    }
}

// A parameter holding many file variables grows by their values each time; refused before
// the fields build such text, since the fields do not bound it themselves.
void CheckParameterGrowth(const SpecificationModel& state, std::size_t limit) {
    // A quoted value may take up to four bytes for one (a ' outside quotes) and its quotes. A
    // value goes in with the later variables it names replaced.
    const FileVariables files = ChainedFileValues(state.Fields.Files);
    std::size_t longest = 0;
    for (const std::string* value : {&files.BasePath, &files.FileDest, &files.InputFolder,
                                     &files.InputName, &files.InputExt}) {
        const std::size_t bound =
            IsPlainName(*value, state.Fields.Files.Shell) || value->size() > limit
                ? value->size()
                : 4 * value->size() + 3;
        longest = std::max(longest, bound);
    }
    std::size_t total = 0;
    for (const auto& program : state.Programs) {
        program->ForEachField([&](const auto& field) {
            if (!Ticked(field)) {
                return;
            }
            const std::string& param = field.Core.Param;
            const auto variables =
                static_cast<std::size_t>(std::count(param.begin(), param.end(), '$'));
            if (variables != 0 && longest > limit / variables) {
                throw ScriptTooLarge(limit);
            }
            total += param.size() + variables * longest;
            if (total > limit) {
                throw ScriptTooLarge(limit);
            }
        });
    }
}

// What the programs' ticked fields lend to other programs, gathered once per build under the
// receiving program's lower-cased name. Asking every program what it lends to every other
// would cost the square of the number of programs.
class Lending {
  public:
    explicit Lending(const SpecificationModel& state) : tickedCount_(state.Programs.size()) {
        // Only names of programs that exist can receive anything; a field may list any number
        // of names that are none.
        for (const auto& program : state.Programs) {
            byReceiver_.try_emplace(LowerAscii(program->Name));
        }
        std::unordered_set<std::string_view> named;
        for (std::size_t lender = 0; lender < state.Programs.size(); ++lender) {
            std::size_t ticked = 0;
            state.Programs[lender]->ForEachField([&](const auto& field) {
                if (!Ticked(field)) {
                    return;
                }
                if (field.Core.LendsToAny()) {
                    std::string text = field.GetParam();
                    if (!text.empty()) {
                        const std::size_t fragment = fragments_.size();
                        fragments_.push_back(std::move(text));
                        named.clear();
                        field.Core.ForEachGroup([&](std::string_view group) {
                            const auto receiver = byReceiver_.find(std::string(group));
                            if (receiver != byReceiver_.end() && named.insert(group).second) {
                                receiver->second.push_back({lender, ticked, fragment});
                            }
                        });
                    }
                }
                ++ticked;
            });
            tickedCount_[lender] = ticked;
        }
    }

    // The lent text for the program at `receiver`, as asking each other program in turn and
    // joining the answers with blanks gives it, without the blanks that would end it. Throws
    // ScriptTooLarge when it would pass `limit` bytes.
    std::string DirectedTo(std::size_t receiver, std::string_view lowerName,
                           std::size_t limit) const {
        const auto found = byReceiver_.find(std::string(lowerName));
        if (found == byReceiver_.end()) {
            return {};
        }
        std::string directed;
        const Entry* previous = nullptr;
        for (const Entry& entry : found->second) {
            if (entry.lender == receiver) {
                continue;
            }
            std::size_t blanks = 0;
            if (previous == nullptr) {
                blanks = 0;
            } else if (entry.lender == previous->lender) {
                // Every ticked field of a lender adds a blank and its fragment, lent or not.
                blanks = entry.field - previous->field;
            } else {
                // The rest of the previous lender's ticked fields, then one blank for every
                // program in between (except the receiver), then one before this lender.
                blanks = tickedCount_[previous->lender] - 1 - previous->field;
                blanks += entry.lender - previous->lender;
                if (receiver > previous->lender && receiver < entry.lender) {
                    --blanks;
                }
            }
            const std::string& text = fragments_[entry.fragment];
            if (blanks > limit || text.size() > limit - blanks ||
                directed.size() > limit - blanks - text.size()) {
                throw ScriptTooLarge(limit);
            }
            directed.append(blanks, ' ').append(text);
            previous = &entry;
        }
        return directed;
    }

  private:
    struct Entry {
        std::size_t lender;    // program position
        std::size_t field;     // position among the lender's ticked fields
        std::size_t fragment;  // into fragments_
    };
    std::vector<std::string> fragments_;
    std::vector<std::size_t> tickedCount_;
    std::unordered_map<std::string, std::vector<Entry>> byReceiver_;
};

// The command line of the program at `index`. Throws ScriptTooLarge when it would pass `limit`
// bytes.
std::string CommandLine(const SpecificationModel& state, const Lending& lending, std::size_t index,
                        std::size_t limit) {
    const TZRGroup& program = *state.Programs[index];
    // The program's own fragments from the fields Run keeps ticked.
    const std::string own = program.JoinedParams([](const auto& field) { return Ticked(field); });
    if (own.size() > limit) {
        throw ScriptTooLarge(limit);
    }
    const std::string directed =
        lending.DirectedTo(index, LowerAscii(program.Name), limit - own.size());
    std::string commandLine = own;
    if (!own.empty() && !directed.empty()) {
        commandLine.append(" ");
    }
    commandLine.append(directed);
    return Trim(commandLine);
}

// Every program's command line, as the whole run computes them; all are held at once, so they
// share one budget.
std::vector<std::string> CommandLines(const SpecificationModel& state, std::size_t limit) {
    CheckParameterGrowth(state, limit);
    const Lending lending(state);
    std::vector<std::string> lines;
    lines.reserve(state.Programs.size());
    std::size_t used = 0;
    for (std::size_t i = 0; i < state.Programs.size(); ++i) {
        lines.push_back(CommandLine(state, lending, i, limit - used));
        used += lines.back().size();
    }
    return lines;
}

// A stage whose tool was not found, and where the search looked.
struct MissingTool {
    std::string name;
    std::string searched;
};

std::optional<std::string> SearchPath(const SpecificationModel& state) {
    return state.Fields.platform.get().EnvironmentValue("PATH");
}

std::optional<MissingTool> FindMissing(const TZRGroup& program,
                                       const std::optional<std::string>& searchPath) {
    const ToolSearch search = FindTool(program.ToolPath, searchPath);
    if (search.found) {
        return std::nullopt;
    }
    return MissingTool{program.Name, DescribeSearch(program.ToolPath, search)};
}

// The stages whose tool path stops a whole run: ticked, and no executable found.
std::vector<MissingTool> MissingTools(const SpecificationModel& state) {
    const std::optional<std::string> searchPath = SearchPath(state);
    std::vector<MissingTool> missing;
    for (const auto& program : state.Programs) {
        if (program->RequireExe && program->Run) {
            if (auto tool = FindMissing(*program, searchPath)) {
                missing.push_back(std::move(*tool));
            }
        }
    }
    return missing;
}

std::string MissingMessage(const std::vector<MissingTool>& missing) {
    std::string message = "The path for the following groups could not be found:\r\n";
    for (const MissingTool& tool : missing) {
        message.append("Group = ").append(tool.name).append(kCrLf);
#ifndef _WIN32
        message.append("    ").append(tool.searched).append(kCrLf);
#endif
    }
#ifdef _WIN32
    return message.append("Please set these paths up.");
#else
    return message.append("Please set these paths up on ")
        .append(kWhereToolPathsAreSet)
        .append(".");
#endif
}

std::string MissingStageMessage(const MissingTool& tool) {
#ifdef _WIN32
    return "The path for " + tool.name + " could not be found.";
#else
    return "The path for " + tool.name + " could not be found (" + tool.searched +
           ").\r\nPlease set it up on " + kWhereToolPathsAreSet + ".";
#endif
}

// Builds the script line by line. The shell reads the script as a whole, so the quoting of
// each line's paths starts where the lines written before it left the shell.
class ScriptAssembly {
  public:
    ScriptAssembly(const SpecificationModel& state, const ScriptSettings& settings, ExpandMode mode,
                   const std::vector<std::string>& commandLines, std::size_t maxBytes)
        : expander_(state, settings, mode, &commandLines),
          shown_(ShownSettings(settings)),
          greyExpander_(state, shown_, ExpandMode::SingleStage, &commandLines),
          reader_(state.Fields.Files.Shell),
          layout_(state.LayoutLines),
          maxBytes_(maxBytes) {}

    // Expands the layout line at `index` and writes it unless it expands to nothing and
    // `keepEmpty` is false.
    void Add(std::size_t index, bool keepEmpty, ScriptPreview& preview) {
        const std::size_t room = maxBytes_ - preview.text.size();
        DropReason why = DropReason::None;
        std::string expanded =
            expander_.Expand(layout_[index], reader_, room, kMaxExpansionWork, &why);
        if (expanded.empty() && !keepEmpty) {
            const LineFate fate = why == DropReason::LogViewerOff    ? LineFate::LogViewerOff
                                  : why == DropReason::UntickedStage ? LineFate::UntickedStage
                                                                     : LineFate::Empty;
            LeaveOut(index, fate, preview);
            return;
        }
        if (expanded.size() + kScriptLineEnd.size() > room) {
            throw ScriptTooLarge(maxBytes_);
        }
        preview.text.append(expanded).append(kScriptLineEnd);
        reader_.Read(expanded);
        reader_.Read(kScriptLineEnd);
        preview.lines.push_back({index, LineFate::Written, std::move(expanded)});
    }

    // Notes a line left out, with the text it would have, for showing it apart. That text
    // has a budget of its own and is left empty beyond it.
    void LeaveOut(std::size_t index, LineFate fate, ScriptPreview& preview) {
        std::string shown;
        try {
            shown = greyExpander_.Expand(layout_[index], reader_, maxBytes_ - greyBytes_,
                                         kMaxExpansionWork / 4);
        } catch (const ScriptTooLarge&) {
        } catch (const ScriptTooComplex&) {
        }
        greyBytes_ += shown.size();
        preview.lines.push_back({index, fate, std::move(shown)});
    }

  private:
    static ScriptSettings ShownSettings(const ScriptSettings& settings) {
        ScriptSettings shown = settings;
        shown.ViewLogAfterCompile = true;
        return shown;
    }

    LineExpander expander_;
    ScriptSettings shown_;
    LineExpander greyExpander_;
    ShellReader reader_;
    const std::vector<std::string>& layout_;
    std::size_t maxBytes_;
    std::size_t greyBytes_ = 0;
};

// Runs `build`, turning a build that runs past its bounds into the preview's problem; whatever
// part ran out of room, the problem names the limit of the whole script.
template <typename Build>
void Guard(ScriptPreview& preview, std::size_t maxBytes, Build&& build) {
    try {
        build();
        return;
    } catch (const ScriptTooLarge&) {
        preview.problem = ScriptTooLarge(maxBytes).what();
    } catch (const ScriptTooComplex& error) {
        preview.problem = error.what();
    }
    preview.text.clear();
}

ScriptPreview BuildWhole(const SpecificationModel& state, const ScriptSettings& settings,
                         std::size_t maxBytes, std::vector<std::string>* commandLinesOut) {
    ScriptPreview preview;
    const std::vector<MissingTool> missing = MissingTools(state);
    for (const MissingTool& tool : missing) {
        preview.missingTools.push_back(tool.name);
    }
    if (!missing.empty()) {
        preview.missingMessage = MissingMessage(missing);
    }
    Guard(preview, maxBytes, [&] {
        std::vector<std::string> commandLines = CommandLines(state, maxBytes);
        ScriptAssembly assembly(state, settings, ExpandMode::WholeRun, commandLines, maxBytes);
        for (std::size_t i = 0; i < state.LayoutLines.size(); ++i) {
            assembly.Add(i, false, preview);
        }
        if (commandLinesOut != nullptr) {
            *commandLinesOut = std::move(commandLines);
        }
    });
    return preview;
}

ScriptPreview BuildStage(const SpecificationModel& state, const ScriptSettings& settings,
                         std::size_t index, std::size_t maxBytes,
                         std::vector<std::string>* commandLinesOut) {
    ScriptPreview preview;
    if (index >= state.Programs.size()) {
        preview.problem = "There is no program at position " + std::to_string(index) + ".";
        return preview;
    }
    const TZRGroup& program = *state.Programs[index];
    if (const auto missing = FindMissing(program, SearchPath(state))) {
        preview.missingTools.push_back(program.Name);
        preview.missingMessage = MissingStageMessage(*missing);
    }
    const std::string lowerName = LowerAscii(program.Name);
    std::vector<std::string> lowerNames;
    lowerNames.reserve(state.Programs.size());
    for (const auto& each : state.Programs) {
        lowerNames.push_back(LowerAscii(each->Name));
    }
    Guard(preview, maxBytes, [&] {
        // Every program's command line, as the whole run computes it: a stage's line may take
        // text from programs that are no stage, and those must be today's.
        std::vector<std::string> commandLines = CommandLines(state, maxBytes);
        ScriptAssembly assembly(state, settings, ExpandMode::SingleStage, commandLines, maxBytes);
        for (std::size_t i = 0; i < state.LayoutLines.size(); ++i) {
            if (SelectedForStage(state, lowerNames, state.LayoutLines[i], lowerName)) {
                assembly.Add(i, true, preview);
            } else {
                assembly.LeaveOut(i, LineFate::OtherProgram, preview);
            }
        }
        if (commandLinesOut != nullptr) {
            *commandLinesOut = std::move(commandLines);
        }
    });
    return preview;
}

// Where a built script goes: its bytes and the name of the place for messages.
struct Target {
    std::string path;  // a file, or empty for `stream`
    std::ostream* stream = nullptr;

    std::string Describe() const {
        return stream != nullptr ? std::string("the script to standard output")
                                 : "file \"" + path + "\"";
    }
};

std::string UnstorableScriptMessage(const std::string& place, const UnstorableCharacter& found) {
    return "Cannot write " + place + ". Line " + std::to_string(found.line) +
           " of the script holds \"" + found.character +
           "\", a character the system's code page cannot hold, and the shell would run another "
           "text in its place. Rename the file or folder whose name holds it (or change the "
           "value that does), then run again. Nothing was run.\r\n\r\n" +
           found.lineText;
}

// Writes a built script, or reports why it cannot be written; keeps the command lines it was
// built with in the programs.
Result<void> WritePreview(SpecificationModel& state, const Target& target,
                          const ScriptPreview& preview, std::vector<std::string>& commandLines) {
    if (!preview.problem.empty()) {
        return Failure{"Cannot write " + target.Describe() + ". " + preview.problem};
    }
    for (std::size_t i = 0; i < commandLines.size(); ++i) {
        state.Programs[i]->CommandLine = std::move(commandLines[i]);
    }
    // The shell reads the script in the system's code page. A character it cannot hold would
    // come out as another one, and the shell would run something else than the preview shows.
    UnstorableCharacter unstorable;
    const std::optional<std::string> bytes = SharedTextFromUtf8(preview.text, &unstorable);
    if (!bytes) {
        return Failure{UnstorableScriptMessage(target.Describe(), unstorable)};
    }
    if (target.stream == nullptr) {
        return WriteScript(target.path, *bytes);
    }
    target.stream->write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    target.stream->flush();
    if (!*target.stream) {
        return Failure{"Cannot write " + target.Describe() + "."};
    }
    return {};
}

Result<void> WriteWhole(SpecificationModel& state, const ScriptSettings& settings,
                        const Target& target, std::size_t maxBytes) {
    if (const std::vector<MissingTool> missing = MissingTools(state); !missing.empty()) {
        // Nothing is built, and nothing changes, before the paths are right.
        return Failure{MissingMessage(missing)};
    }
    for (const auto& program : state.Programs) {
        program->ClearEmptyFields();
    }
    std::vector<std::string> commandLines;
    const ScriptPreview preview = BuildWhole(state, settings, maxBytes, &commandLines);
    return WritePreview(state, target, preview, commandLines);
}

// For a stage that exists (`index` in range).
Result<void> WriteStage(SpecificationModel& state, const ScriptSettings& settings,
                        const Target& target, std::size_t index, std::size_t maxBytes) {
    TZRGroup& program = *state.Programs[index];
    if (const auto missing = FindMissing(program, SearchPath(state))) {
        return Failure{MissingStageMessage(*missing)};
    }
    program.ClearEmptyFields();
    std::vector<std::string> commandLines;
    const ScriptPreview preview = BuildStage(state, settings, index, maxBytes, &commandLines);
    return WritePreview(state, target, preview, commandLines);
}

// The one place a failed write reaches the user: its message, in the error box.
bool Reported(const SpecificationModel& state, const Result<void>& written) {
    if (!written) {
        state.Fields.platform.get().ShowMessage(MessageKind::Error, written.Error());
    }
    return written.Ok();
}

}  // namespace

ScriptPreview PreviewBatch(const SpecificationModel& state, const ScriptSettings& settings,
                           std::size_t maxBytes) {
    return BuildWhole(state, settings, maxBytes, nullptr);
}

ScriptPreview PreviewStageBatch(const SpecificationModel& state, const ScriptSettings& settings,
                                std::size_t index, std::size_t maxBytes) {
    return BuildStage(state, settings, index, maxBytes, nullptr);
}

void ComputeCommandLine(SpecificationModel& state, std::size_t index) {
    if (index >= state.Programs.size()) {
        return;
    }
    CheckParameterGrowth(state, kMaxScriptBytes);
    state.Programs[index]->CommandLine = CommandLine(state, Lending(state), index, kMaxScriptBytes);
}

bool WriteBatch(SpecificationModel& state, const ScriptSettings& settings, const std::string& path,
                std::size_t maxBytes) {
    return Reported(state, WriteWhole(state, settings, Target{path}, maxBytes));
}

bool WriteStageBatch(SpecificationModel& state, const ScriptSettings& settings,
                     const std::string& path, std::size_t index, std::size_t maxBytes) {
    return index < state.Programs.size() &&
           Reported(state, WriteStage(state, settings, Target{path}, index, maxBytes));
}

bool WriteBatchTo(SpecificationModel& state, const ScriptSettings& settings, std::ostream& out,
                  std::size_t maxBytes) {
    return Reported(state, WriteWhole(state, settings, Target{{}, &out}, maxBytes));
}

bool WriteStageBatchTo(SpecificationModel& state, const ScriptSettings& settings, std::ostream& out,
                       std::size_t index, std::size_t maxBytes) {
    return index < state.Programs.size() &&
           Reported(state, WriteStage(state, settings, Target{{}, &out}, index, maxBytes));
}

}  // namespace kestrune
