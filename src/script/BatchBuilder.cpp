#include "script/BatchBuilder.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/FileIo.h"
#include "base/Text.h"
#include "fields/ShellQuoting.h"
#include "script/Expansion.h"

namespace kestrune {

namespace {

void ShowError(const SpecificationModel& state, const std::string& text) {
    if (state.Fields.platform != nullptr) {
        state.Fields.platform->ShowMessage(MessageKind::Error, text);
    }
}

// Writes the script in one go; a failed write leaves the previous script as it was.
bool WriteScript(const SpecificationModel& state, const std::string& path,
                 const std::string& bytes) {
    try {
        WriteFileReplacing(path, bytes);
        MakeExecutableByOwner(path);
        return true;
    } catch (const IoError& error) {
        ShowError(state, error.what());
        return false;
    }
}

// Builds the script with `build` and writes it. A build that runs past its bounds is reported
// and nothing is written; whatever part ran out of room, the message names the limit of the
// whole script.
template <typename Build>
bool BuildAndWrite(const SpecificationModel& state, const std::string& path, std::size_t maxBytes,
                   Build&& build) {
    std::string script;
    std::string reason;
    try {
        build(script);
    } catch (const ScriptTooLarge&) {
        reason = ScriptTooLarge(maxBytes).what();
    } catch (const ScriptTooComplex& error) {
        reason = error.what();
    }
    if (!reason.empty()) {
        ShowError(state, "Cannot write file \"" + path + "\". " + reason);
        return false;
    }
    return WriteScript(state, path, script);
}

// True when the lower-cased line names the program's executable in either form.
bool NamesExecutable(const std::string& lowerLine, const std::string& lowerName) {
    if (lowerName.empty()) {
        return false;
    }
    return lowerLine.find("$classexe=" + lowerName) != std::string::npos ||
           lowerLine.find("$classexe='" + lowerName + "'") != std::string::npos;
}

bool SelectedForStage(const std::string& line, const std::string& lowerName) {
    const std::string lower = LowerAscii(line);
    if (NamesExecutable(lower, lowerName)) {
        return true;
    }
    return lower.find("$classexe=") == std::string::npos &&
           lower.find("$classparam=") == std::string::npos;
}

// A parameter holding many file variables grows by their values each time; refused before
// the fields build such text, since the fields do not bound it themselves.
void CheckParameterGrowth(const SpecificationModel& state, std::size_t limit) {
    // A quoted value may take up to four bytes for one (a ' outside quotes) and its quotes.
    std::size_t longest = 0;
    for (const std::string* value : {&state.Fields.Files.BasePath, &state.Fields.Files.FileDest,
                                     &state.Fields.Files.InputFolder, &state.Fields.Files.InputName,
                                     &state.Fields.Files.InputExt}) {
        const std::size_t bound =
            IsPlainName(*value, state.Fields.Files.Shell) || value->size() > limit
                ? value->size()
                : 4 * value->size() + 3;
        longest = std::max(longest, bound);
    }
    std::size_t total = 0;
    for (const auto& program : state.Programs) {
        program->ForEachField([&](const auto& field) {
            if (!field.Checked()) {
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
                if (!field.Checked()) {
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

// Computes and stores the command line of the program at `index`; returns its size. Throws
// ScriptTooLarge when it would pass `limit` bytes.
std::size_t StoreCommandLine(SpecificationModel& state, const Lending& lending, std::size_t index,
                             std::size_t limit) {
    TZRGroup& program = *state.Programs[index];
    const std::string own = program.GetParams();
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
    program.CommandLine = Trim(commandLine);
    return program.CommandLine.size();
}

// Appends the expanded line and its line end, keeping the whole script within `limit`.
void AppendLine(std::string& script, const LineExpander& expander, const std::string& line,
                bool keepEmpty, std::size_t limit) {
    const std::size_t room = limit - script.size();
    const std::string expanded = expander.Expand(line, room);
    if (expanded.empty() && !keepEmpty) {
        return;
    }
    if (expanded.size() + kScriptLineEnd.size() > room) {
        throw ScriptTooLarge(limit);
    }
    script.append(expanded).append(kScriptLineEnd);
}

}  // namespace

void ComputeCommandLine(SpecificationModel& state, std::size_t index) {
    if (index >= state.Programs.size()) {
        return;
    }
    CheckParameterGrowth(state, kMaxScriptBytes);
    StoreCommandLine(state, Lending(state), index, kMaxScriptBytes);
}

bool WriteBatch(SpecificationModel& state, const ScriptSettings& settings, const std::string& path,
                std::size_t maxBytes) {
    std::string missing;
    for (const auto& program : state.Programs) {
        if (program->RequireExe && program->Run && !FileExists(program->ToolPath)) {
            missing.append("Group = ").append(program->Name).append(kCrLf);
        }
    }
    if (!missing.empty()) {
        ShowError(state, "The path for the following groups could not be found:\r\n" + missing +
                             "Please set these paths up.");
        return false;
    }

    for (const auto& program : state.Programs) {
        program->ClearEmptyFields();
    }
    return BuildAndWrite(state, path, maxBytes, [&](std::string& script) {
        CheckParameterGrowth(state, maxBytes);
        const Lending lending(state);
        // All command lines together are held at once, so they share one budget.
        std::size_t commandLines = 0;
        for (std::size_t i = 0; i < state.Programs.size(); ++i) {
            commandLines += StoreCommandLine(state, lending, i, maxBytes - commandLines);
        }
        const LineExpander expander(state, settings, ExpandMode::WholeRun);
        for (const std::string& line : state.LayoutLines) {
            AppendLine(script, expander, line, false, maxBytes);
        }
    });
}

bool WriteStageBatch(SpecificationModel& state, const ScriptSettings& settings,
                     const std::string& path, std::size_t index, std::size_t maxBytes) {
    if (index >= state.Programs.size()) {
        return false;
    }
    TZRGroup& program = *state.Programs[index];
    if (!FileExists(program.ToolPath)) {
        ShowError(state, "The path for " + program.Name + " could not be found.");
        return false;
    }

    program.ClearEmptyFields();
    const std::string lowerName = LowerAscii(program.Name);
    return BuildAndWrite(state, path, maxBytes, [&](std::string& script) {
        CheckParameterGrowth(state, maxBytes);
        StoreCommandLine(state, Lending(state), index, maxBytes);
        const LineExpander expander(state, settings, ExpandMode::SingleStage);
        for (const std::string& line : state.LayoutLines) {
            if (SelectedForStage(line, lowerName)) {
                AppendLine(script, expander, line, true, maxBytes);
            }
        }
    });
}

}  // namespace kestrune
