// The settings file and the tool path file on any bytes: the same input is read as both, since
// they share the key line reader, and the settings are written back as text.

#include "FuzzSupport.h"
#include "app/Main.h"
#include "base/FileIo.h"
#include "specification/SpecLoader.h"
#include "specification/ToolPathFile.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullPlatform platform;
    static const std::string specPath =
        fuzz::WriteInFolder("SpecFiles/Rich.zrs", fuzz::kRichSpecification);
    // Files the lists and paths may name, so that entries are kept as well as dropped.
    static const std::string existing = fuzz::WriteInFolder("a.zrp", "ZRP200\r\n");
    (void)existing;
    const std::string_view bytes = fuzz::AsText(data, size);

    TfrmMain window(platform, fuzz::ProgramFolder());
    const std::string settings = fuzz::WriteInFolder("Config/config.ini", bytes);
    window.ReadSettings(settings);
    (void)window.SettingsText();

    AppState& state = window.State();
    LoadSpecification(state.Specification, state.Input, specPath);
    fuzz::WriteInFolder("Config/Rich.path", bytes);
    try {
        ReadToolPathFile(state.Specification);
    } catch (const IoError&) {
    }
    return 0;
}
