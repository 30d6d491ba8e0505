#include "FuzzSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kestrune::fuzz {

namespace fs = std::filesystem;

const std::string& ProgramFolder() {
    // Never destroyed, so the removal at exit can still name it.
    static const std::string& folder = *new std::string([] {
        // Memory-backed when possible: every run writes files and syncs them.
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "kestrune-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        fs::create_directories(fs::path(pattern) / "SpecFiles");
        fs::create_directories(fs::path(pattern) / "Config");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(ProgramFolder(), ec);
        });
        return pattern + "/";
    }());
    return folder;
}

std::string WriteInFolder(std::string_view relative, std::string_view bytes) {
    const std::string path = ProgramFolder() + std::string(relative);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

const char* const kRichSpecification =
    "Setup = Rich\r\n{\r\n"
    "Author = Fuzz\r\nProgram = Tools\r\nFilter = Maps (*.map)|*.map\r\nlink = example.org|Home\r\n"
    "layout:\r\n"
    "echo $DateTime $Version $FileName.$FileExt in $FilePath to $FileDest from $BasePath\r\n"
    "$ClassEXE=Compiler $ClassParam=Compiler \"$FilePath\\$FileName.map\"\r\n"
    "$ClassEXE='Light' $ClassParam='Light'\r\n"
    "$ClassParam=Shared\r\n"
    "$REDA $FilePath\\$FileName.log\r\n"
    "}\r\n"
    "Group = Compiler\r\n{\r\nRequireExe = True\r\nExeFilter = Compiler|compile.exe\r\n"
    "LabelBox = Options\r\n"
    "CheckBox = Verbose\r\n{\r\nParam = -v\r\nGroups = Light, Shared\r\nHint = Talks\r\n"
    "more\r\n}\r\n"
    "CheckBox = Step\r\n{\r\nBatchCommand = True\r\nParam = echo $FileName\r\nParam = echo 2\r\n"
    "}\r\n"
    "EditBox = Level\r\n{\r\nParam = -l\r\nType = int\r\nDefault = 3\r\nMin = 0\r\nMax = 9\r\n"
    "Width = 2\r\n}\r\n"
    "EditBox = Scale\r\n{\r\nParam = -s\r\nType = float\r\nRoundTo = 2\r\nDefault = 0.5\r\n}\r\n"
    "ComboBox = Mode\r\n{\r\nParam = -m\r\nDefault = fast\r\nOptions = fast,-fast|full,-full\r\n"
    "Groups = Light\r\n}\r\n"
    "BrowseBox = Out\r\n{\r\nParam = -o\r\nType = folder\r\nFilter = All|*.*\r\n}\r\n"
    "ColorBox = Tint\r\n{\r\nParam = -c\r\nColor = 0 255 0\r\nBold = True\r\n}\r\n"
    "Spaces = 2\r\n"
    "}\r\n"
    "Group = Light\r\n{\r\nRequireExe = True\r\n"
    "CheckBox = Fast\r\n{\r\nParam = -fast $BasePath\r\nGroups = Compiler\r\n}\r\n"
    "EditBox = Bounce\r\n{\r\nParam = -b\r\n}\r\n"
    "}\r\n"
    "Group = Shared\r\n{\r\nName = Shared options\r\n"
    "CheckBox = Log\r\n{\r\nParam = -log\r\nGroups = Compiler,Light\r\n}\r\n"
    "}\r\n";

}  // namespace kestrune::fuzz
