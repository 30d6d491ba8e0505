// Specification and preset to script: the input is a specification followed by a preset that
// starts at its first "ZRP200". The preset is imported, every stage gets an executable that
// exists, and the whole chain and every single stage are built. Then every layout line must
// expand as the plain program-by-program way expands it; a difference aborts.

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "FuzzSupport.h"
#include "ReferenceExpansion.h"
#include "presets/PresetFile.h"
#include "presets/PresetState.h"
#include "script/BatchBuilder.h"
#include "script/Expansion.h"
#include "specification/SpecLoader.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullPlatform platform;
    static const std::string tool = fuzz::WriteInFolder("tool.exe", "");
    static const std::string input = fuzz::WriteInFolder("In Folder/level.1.map", "");
    const std::string_view bytes = fuzz::AsText(data, size);
    const std::size_t split = bytes.find("ZRP200");
    const std::string specPath = fuzz::WriteInFolder("SpecFiles/fuzz.zrs", bytes.substr(0, split));

    PresetState state(fuzz::ProgramFolder());
    state.platform = &platform;
    LoadSpecification(state, specPath);
    if (split != std::string_view::npos) {
        ReadPreset(state, fuzz::WriteInFolder("fuzz.zrp", bytes.substr(split)), PresetMode::Import);
    }
    state.SetInputFile(input);
    state.BasePath = "C:\\Base";
    state.FileDest = "D:\\Dest";
    state.ViewLogAfterCompile = size % 2 == 0;
    for (const auto& program : state.Programs) {
        program->ToolPath = tool;
    }

    const std::string script = fuzz::ProgramFolder() + "compile.sh";
    WriteBatch(state, script);
    for (std::size_t i = 0; i < state.Programs.size(); ++i) {
        if (state.Programs[i]->RequireExe) {
            WriteStageBatch(state, script, i);
        }
    }

    constexpr std::size_t kLimit = std::size_t{1} << 20;
    for (const ExpandMode mode : {ExpandMode::WholeRun, ExpandMode::SingleStage}) {
        const LineExpander expander(state, mode);
        for (const std::string& line : state.LayoutLines) {
            // The plain way costs programs times line length; keep each input quick.
            if ((line.size() + 64) * (state.Programs.size() + 1) > (std::size_t{16} << 20)) {
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
    return 0;
}
