#include "script/Expansion.h"

#include "base/Text.h"

namespace kestrune {

namespace {

// Replaces the unquoted form "<prefix><name>" when the text holds it, otherwise the quoted form
// "<prefix>'<name>'"; a text holding both keeps its quoted occurrences.
std::string ReplaceNamed(const std::string& text, const std::string& prefix,
                         const std::string& name, const std::string& value) {
    const std::string unquoted = prefix + name;
    if (ContainsNoCase(text, unquoted)) {
        return ReplaceAllNoCase(text, unquoted, value);
    }
    return ReplaceAllNoCase(text, prefix + "'" + name + "'", value);
}

}  // namespace

std::string ExpandLine(const ScriptState& state, std::string_view line, ExpandMode mode) {
    std::string text = ExpandFileVariables(line, state);

    if (ContainsNoCase(text, "$DateTime")) {
        const std::string now =
            state.platform != nullptr ? state.platform->LocalDateTimeText() : std::string();
        text = ReplaceAllNoCase(text, "$DateTime", now);
    }
    text = ReplaceAllNoCase(text, "$Version", state.VersionText);

    if (!state.ViewLogAfterCompile && ContainsNoCase(text, "$reda")) {
        return {};
    }
    text = ReplaceAllNoCase(text, "$REDA", state.LogViewerPath());

    for (const auto& program : state.Programs) {
        const std::string& name = program->Name;
        // An unnamed program would match every "$ClassEXE=" and "$ClassParam=" by its prefix
        // alone; no variable can name it.
        if (name.empty()) {
            continue;
        }
        if (program->RequireExe) {
            if (mode == ExpandMode::WholeRun && !program->Run) {
                if (ContainsNoCase(text, "$ClassEXE=" + name) ||
                    ContainsNoCase(text, "$ClassEXE='" + name + "'")) {
                    return {};
                }
            } else {
                text = ReplaceNamed(text, "$ClassEXE=", name, program->ToolPath);
            }
        }
        text = ReplaceNamed(text, "$ClassParam=", name, program->CommandLine);
    }
    return text;
}

}  // namespace kestrune
