// The preset reader on any bytes over a fixed specification: opened (which may load a
// specification the preset names) and imported, then written back as text.

#include "FuzzSupport.h"
#include "StateParts.h"
#include "presets/PresetFile.h"
#include "specification/SpecLoader.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullPlatform platform;
    static const std::string specPath =
        fuzz::WriteInFolder("SpecFiles/Rich.zrs", fuzz::kRichSpecification);
    static const std::string inputPath = fuzz::WriteInFolder("input.map", "input");
    (void)inputPath;
    const std::string path = fuzz::WriteInFolder("fuzz.zrp", fuzz::AsText(data, size));

    testing::StateParts state(fuzz::ProgramFolder());
    state.Fields.platform = platform;
    LoadSpecification(state.Specification, state.Input, specPath);
    ReadPreset(state.Specification, state.Input, path, PresetMode::Open);
    (void)PresetText(state.Specification, state.Input);

    LoadSpecification(state.Specification, state.Input, specPath);
    ReadPreset(state.Specification, state.Input, path, PresetMode::Import);
    (void)PresetText(state.Specification, state.Input);
    return 0;
}
