// The preset reader on any bytes over a fixed specification: opened (which may load a
// specification the preset names) and imported, then written back as text.

#include "FuzzSupport.h"
#include "presets/PresetFile.h"
#include "presets/PresetState.h"
#include "specification/SpecLoader.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullPlatform platform;
    static const std::string specPath =
        fuzz::WriteInFolder("SpecFiles/Rich.zrs", fuzz::kRichSpecification);
    static const std::string inputPath = fuzz::WriteInFolder("input.map", "input");
    (void)inputPath;
    const std::string path = fuzz::WriteInFolder("fuzz.zrp", fuzz::AsText(data, size));

    PresetState state(fuzz::ProgramFolder());
    state.platform = &platform;
    LoadSpecification(state, specPath);
    ReadPreset(state, path, PresetMode::Open);
    (void)PresetText(state);

    LoadSpecification(state, specPath);
    ReadPreset(state, path, PresetMode::Import);
    (void)PresetText(state);
    return 0;
}
