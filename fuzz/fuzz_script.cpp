// Specification and preset to script: the input is a specification followed by a preset that
// starts at its first "ZRP200". The preset is imported, every stage gets an executable that
// exists, and the whole chain and every single stage are built. Then every layout line must
// expand as the plain program-by-program way expands it; a difference aborts. Last, the start
// of the input serves as a file name: put into lines of every kind of quoting, /bin/sh's word
// splitting must give it back exactly, as literal text; anything else aborts.

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "FuzzSupport.h"
#include "PosixWords.h"
#include "ReferenceExpansion.h"
#include "StateParts.h"
#include "base/Text.h"
#include "presets/PresetFile.h"
#include "script/BatchBuilder.h"
#include "script/Expansion.h"
#include "specification/SpecLoader.h"

using namespace kestrune;

namespace {

// The name in lines of every kind of quoting: the words /bin/sh would split them into, "{}"
// standing for the name.
void CheckNameComesBack(testing::StateParts& state, std::string_view name) {
    // Inserted text is searched by the later steps, so a name holding one of their variables
    // would not come back as it is; an empty name gives no word where it stands alone.
    for (const char* later : {"$FileDest", "$DateTime", "$Version", "$reda", "$Class"}) {
        if (ContainsNoCase(name, later)) {
            return;
        }
    }
    if (name.empty()) {
        return;
    }
    struct Place {
        const char* line;
        const char* word;
    };
    const Place places[] = {
        {"$FileName", "{}"},
        {"\"$FileName\"", "{}"},
        {"'$FileName'", "{}"},
        {"\\$FileName", "{}"},
        {"-o\"$FileName/x\"", "-o{}/x"},
        {"$FileName.log", "{}.log"},
        {"x\"$FileName\"'$FileName'\\\"$FileName", "x{}{}\"{}"},
        // In double quotes a backslash takes only these bytes away; before others it stays.
        {"\"\\$FileName\"",
         std::string_view("$`\"\\\n").find(name[0]) != std::string_view::npos ? "{}" : "\\{}"},
    };
    state.Fields.Files.Shell = ScriptShell::Posix;
    state.Fields.Files.InputName = std::string(name);
    const LineExpander expander(state.Specification, state.Script, ExpandMode::WholeRun);
    for (const Place& place : places) {
        const std::string line = expander.Expand(place.line);
        const testing::PosixWords split = testing::SplitPosixWords(line);
        const std::string expected = ReplaceAllNoCase(place.word, "{}", name);
        if (!split.problem.empty() || split.words.size() != 1 || split.words[0] != expected) {
            std::fprintf(stderr, "A name did not come back from the shell's words: %s\n%s\n",
                         split.problem.c_str(), line.c_str());
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullPlatform platform;
    static const std::string tool = fuzz::WriteInFolder("tool.exe", "");
    static const std::string input = fuzz::WriteInFolder("In Folder/level.1.map", "");
    const std::string_view bytes = fuzz::AsText(data, size);
    const std::size_t split = bytes.find("ZRP200");
    const std::string specPath = fuzz::WriteInFolder("SpecFiles/fuzz.zrs", bytes.substr(0, split));

    testing::StateParts state(fuzz::ProgramFolder());
    state.Fields.platform = platform;
    LoadSpecification(state.Specification, state.Input, specPath);
    if (split != std::string_view::npos) {
        ReadPreset(state.Specification, state.Input,
                   fuzz::WriteInFolder("fuzz.zrp", bytes.substr(split)), PresetMode::Import);
    }
    SetInputFile(state.Input, state.Fields, input);
    state.Fields.Files.BasePath = "C:\\Base";
    state.Fields.Files.FileDest = "D:\\Dest";
    state.Script.ViewLogAfterCompile = size % 2 == 0;
    for (const auto& program : state.Specification.Programs) {
        program->ToolPath = tool;
    }

    const std::string script = fuzz::ProgramFolder() + "compile.sh";
    WriteBatch(state.Specification, state.Script, script);
    for (std::size_t i = 0; i < state.Specification.Programs.size(); ++i) {
        if (state.Specification.Programs[i]->RequireExe) {
            WriteStageBatch(state.Specification, state.Script, script, i);
        }
    }

    constexpr std::size_t kLimit = std::size_t{1} << 20;
    for (const ExpandMode mode : {ExpandMode::WholeRun, ExpandMode::SingleStage}) {
        const LineExpander expander(state.Specification, state.Script, mode);
        for (const std::string& line : state.Specification.LayoutLines) {
            // The plain way costs programs times line length; keep each input quick.
            if ((line.size() + 64) * (state.Specification.Programs.size() + 1) >
                (std::size_t{16} << 20)) {
                continue;
            }
            std::optional<std::string> expanded;
            try {
                expanded = expander.Expand(line, kLimit);
            } catch (const ScriptTooLarge&) {
            } catch (const ScriptTooComplex&) {
                continue;
            }
            if (expanded != testing::ReferenceExpand(state, line, mode, kLimit)) {
                std::fprintf(stderr, "The expander and the plain way differ on a layout line.\n");
                std::abort();
            }
        }
    }
    CheckNameComesBack(state, bytes.substr(0, 256));
    return 0;
}
