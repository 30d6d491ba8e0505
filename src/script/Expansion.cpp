#include "script/Expansion.h"

#include <algorithm>
#include <string>

#include "base/Text.h"
#include "script/Replacement.h"

namespace kestrune {

using namespace expansion;

LineExpander::LineExpander(const SpecificationModel& state, const ScriptSettings& settings,
                           ExpandMode mode, const std::vector<std::string>* commandLines)
    : state_(state),
      settings_(settings),
      mode_(mode),
      commandLines_(commandLines),
      files_(ChainedFileValues(state.Fields.Files)) {
    names_.reserve(state.Programs.size());
    for (std::size_t i = 0; i < state.Programs.size(); ++i) {
        // An unnamed program would match every "$ClassEXE=" and "$ClassParam=" by its prefix
        // alone; no variable can name it.
        const std::string& name = state.Programs[i]->Name;
        if (!name.empty()) {
            names_.push_back({LowerAscii(name), i});
            plainNames_ = plainNames_ && name.find_first_of("$'") == std::string::npos;
            neutralNames_ = neutralNames_ && IsNeutral(name, state.Fields.Files.Shell);
            longestName_ = std::max(longestName_, name.size());
        }
    }
    std::sort(names_.begin(), names_.end(), [](const Name& a, const Name& b) {
        return a.lower != b.lower ? a.lower < b.lower : a.program < b.program;
    });
}

const std::string& LineExpander::CommandLineOf(std::size_t program) const {
    return commandLines_ != nullptr ? (*commandLines_)[program]
                                    : state_.Programs[program]->CommandLine;
}

std::string LineExpander::Expand(std::string_view line, std::size_t limit,
                                 std::size_t workLimit) const {
    return Expand(line, ShellReader(state_.Fields.Files.Shell), limit, workLimit);
}

std::string LineExpander::Expand(std::string_view line, const ShellReader& start, std::size_t limit,
                                 std::size_t workLimit, DropReason* why) const {
    auto dropped = [why](DropReason reason) {
        if (why != nullptr) {
            *why = reason;
        }
        return std::string();
    };
    if (why != nullptr) {
        *why = DropReason::None;
    }
    std::string text(line);
    const ScriptShell shell = state_.Fields.Files.Shell;
    ReplaceAllQuoted(text, "$BasePath", files_.BasePath, shell, limit, &start);
    ReplaceAllQuoted(text, "$FilePath", files_.InputFolder, shell, limit, &start);
    ReplaceAllQuoted(text, "$FileExt", files_.InputExt, shell, limit, &start);
    ReplaceAllQuoted(text, "$FileName", files_.InputName, shell, limit, &start);
    ReplaceAllQuoted(text, "$FileDest", files_.FileDest, shell, limit, &start);

    if (ContainsNoCase(text, "$DateTime")) {
        const std::string now = state_.Fields.platform.get().LocalDateTimeText();
        ReplaceAll(text, "$DateTime", now, limit);
    }
    ReplaceAll(text, "$Version", settings_.VersionText, limit);

    if (!settings_.ViewLogAfterCompile && ContainsNoCase(text, "$reda")) {
        return dropped(DropReason::LogViewerOff);
    }
    ReplaceAllQuoted(text, "$REDA", LogViewerPath(state_, settings_), shell, limit, &start);

    switch (ExpandProgramsInOnePass(text, start, limit)) {
        case OnePass::Done:
            return text;
        case OnePass::Dropped:
            return dropped(DropReason::UntickedStage);
        case OnePass::NotPossible:
            break;
    }
    // Programs go in specification order. Only those named in the text can change it; after a
    // change the inserted text may name later programs, so the names are looked up again.
    std::size_t next = 0;
    std::size_t work = 0;
    auto lookAt = [&](std::size_t bytes) {
        work += bytes;
        if (work > workLimit) {
            throw ScriptTooComplex();
        }
    };
    for (bool changed = true; changed;) {
        changed = false;
        lookAt(text.size() + state_.Programs.size());
        for (const std::size_t index : ProgramsNamedIn(text, next)) {
            lookAt(text.size());
            next = index + 1;
            const TZRGroup& program = *state_.Programs[index];
            const std::string& name = program.Name;
            if (program.RequireExe) {
                if (mode_ == ExpandMode::WholeRun && !program.Run) {
                    if (ContainsNoCase(text, std::string(kExePrefix) + name) ||
                        ContainsNoCase(text, std::string(kExePrefix) + "'" + name + "'")) {
                        return dropped(DropReason::UntickedStage);
                    }
                } else {
                    changed = ReplaceNamed(text, kExePrefix, name, program.ToolPath, limit, shell,
                                           &start);
                }
            }
            changed =
                ReplaceNamed(text, kParamPrefix, name, CommandLineOf(index), limit) || changed;
            if (changed) {
                break;
            }
        }
    }
    return text;
}

std::string ExpandLine(const SpecificationModel& state, const ScriptSettings& settings,
                       std::string_view line, ExpandMode mode) {
    return LineExpander(state, settings, mode).Expand(line);
}

}  // namespace kestrune
