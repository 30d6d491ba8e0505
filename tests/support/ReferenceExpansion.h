#pragma once
// A layout line expanded the plain way: every file variable, then every program in
// specification order, each replacing its variables across the whole text. The expander must
// give the same; tests and the script fuzz target compare the two.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "fields/FileVariables.h"
#include "script/Expansion.h"
#include "script/ScriptState.h"

namespace kestrune::testing {

// The expanded line, or nothing once the text grew past `limit` bytes on the way.
inline std::optional<std::string> ReferenceExpand(const ScriptState& state, std::string_view line,
                                                  ExpandMode mode,
                                                  std::size_t limit = kMaxScriptBytes) {
    std::string text = ExpandFileVariables(line, state);
    bool tooLarge = text.size() > limit;
    auto replaceAll = [&](const std::string& pattern, const std::string& value) {
        if (!tooLarge) {
            text = ReplaceAllNoCase(text, pattern, value);
            tooLarge = text.size() > limit;
        }
    };
    replaceAll("$DateTime", "");
    replaceAll("$Version", state.VersionText);
    if (!state.ViewLogAfterCompile && ContainsNoCase(text, "$reda")) {
        return std::string();
    }
    replaceAll("$REDA", state.LogViewerPath());
    auto replaceNamed = [&](const std::string& prefix, const std::string& name,
                            const std::string& value) {
        if (ContainsNoCase(text, prefix + name)) {
            replaceAll(prefix + name, value);
        } else {
            replaceAll(prefix + "'" + name + "'", value);
        }
    };
    for (const auto& program : state.Programs) {
        const std::string& name = program->Name;
        if (name.empty()) {
            continue;
        }
        if (program->RequireExe) {
            if (mode == ExpandMode::WholeRun && !program->Run) {
                if (ContainsNoCase(text, "$ClassEXE=" + name) ||
                    ContainsNoCase(text, "$ClassEXE='" + name + "'")) {
                    return std::string();
                }
            } else {
                replaceNamed("$ClassEXE=", name, program->ToolPath);
            }
        }
        replaceNamed("$ClassParam=", name, program->CommandLine);
        if (tooLarge) {
            return std::nullopt;
        }
    }
    return text;
}

}  // namespace kestrune::testing
