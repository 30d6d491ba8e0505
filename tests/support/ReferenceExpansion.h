#pragma once
// A layout line expanded the plain way: every file variable, then every program in
// specification order, each replacing its variables across the whole text, paths quoted for
// their place as the text stands at that step. The expander must
// give the same; tests and the script fuzz target compare the two.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "StateParts.h"
#include "base/Text.h"
#include "fields/FileVariables.h"
#include "script/Expansion.h"

namespace kestrune::testing {

// The expanded line, or nothing once the text grew past `limit` bytes on the way.
inline std::optional<std::string> ReferenceExpand(const testing::StateParts& state,
                                                  std::string_view line, ExpandMode mode,
                                                  std::size_t limit = kMaxScriptBytes) {
    std::string text = ExpandFileVariables(line, state.Fields.Files);
    bool tooLarge = text.size() > limit;
    // Paths are quoted for their place; everything else goes in as it is.
    auto replaceAll = [&](const std::string& pattern, const std::string& value, bool path = false) {
        if (!tooLarge) {
            text = path ? ReplaceAllQuoted(text, pattern, value, state.Fields.Files.Shell)
                        : ReplaceAllNoCase(text, pattern, value);
            tooLarge = text.size() > limit;
        }
    };
    replaceAll("$DateTime", "");
    replaceAll("$Version", state.Script.VersionText);
    if (!state.Script.ViewLogAfterCompile && ContainsNoCase(text, "$reda")) {
        return std::string();
    }
    replaceAll("$REDA", LogViewerPath(state.Specification, state.Script), true);
    auto replaceNamed = [&](const std::string& prefix, const std::string& name,
                            const std::string& value, bool path) {
        if (ContainsNoCase(text, prefix + name)) {
            replaceAll(prefix + name, value, path);
        } else {
            replaceAll(prefix + "'" + name + "'", value, path);
        }
    };
    for (const auto& program : state.Specification.Programs) {
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
                replaceNamed("$ClassEXE=", name, program->ToolPath, true);
            }
        }
        replaceNamed("$ClassParam=", name, program->CommandLine, false);
        if (tooLarge) {
            return std::nullopt;
        }
    }
    return text;
}

}  // namespace kestrune::testing
