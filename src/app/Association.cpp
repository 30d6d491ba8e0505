#include "app/Association.h"

#include <vector>

#include "base/FileIo.h"
#include "base/Paths.h"

namespace kestrune {

namespace {

// The open command: the program, then the preset as its only argument.
std::string OpenCommand(const std::string& executable) {
    return "\"" + executable + "\", \"%1\"";
}

// A path as one quoted argument of a desktop entry's Exec line. Inside the quotes a double
// quote, backquote, dollar or backslash takes a backslash, which the value's own escaping
// doubles once more; a literal percent sign is doubled, or the launcher would read it as a
// field code.
std::string ExecArgument(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += c == '\\' ? "\\\\\\" : "\\\\";
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

Result<void> RegisterPresetClassKeys(Platform& platform, const std::string& executable) {
    const std::string cls = kPresetClassName;
    for (const std::string& key : {std::string(".zrp"), cls, cls + "\\DefaultIcon", cls + "\\Shell",
                                   cls + "\\Shell\\Open", cls + "\\Shell\\Open\\Command"}) {
        if (!platform.CreateClassKey(key)) {
            return Failure{"Failed to create key " + key};
        }
    }
    const std::pair<std::string, std::string> values[] = {
        {".zrp", cls},
        {cls, kPresetDescription},
        {cls + "\\DefaultIcon", executable},
        {cls + "\\Shell\\Open\\Command", OpenCommand(executable)},
    };
    for (const auto& [key, value] : values) {
        if (!platform.SetClassKeyDefault(key, value)) {
            return Failure{"Failed to set data for ''"};
        }
    }
    return {};
}

namespace {

// Writes one file of the association, creating its folder; the message names the file.
Result<void> WriteDesktopFile(const std::string& folder, const std::string& name,
                              const std::string& text) {
    const std::string path = WithTrailingSeparator(folder) + name;
    if (!EnsureFolder(folder)) {
        return Failure{"Failed to create folder " + folder};
    }
    try {
        WriteFileReplacing(path, text);
    } catch (const IoError& error) {
        return Failure{"Failed to write " + path + "\r\n" + error.what()};
    }
    return {};
}

}  // namespace

Result<void> RegisterPresetDesktopEntry(Platform& platform, const std::string& executable,
                                        const std::string& icon, const std::string& entryName) {
    const std::string data = platform.UserDataFolder();
    if (data.empty()) {
        return Failure{"Failed to find the user's data folder"};
    }
    const std::string base = WithTrailingSeparator(data);
    if (Result<void> mime =
            WriteDesktopFile(base + "mime/packages", "kestrune-preset.xml", MimeTypeText());
        !mime) {
        return mime;
    }
    if (Result<void> entry =
            WriteDesktopFile(base + "applications", entryName, DesktopEntryText(executable, icon));
        !entry) {
        return entry;
    }
    return RefreshDesktopDatabases(platform, data, entryName);
}

Result<void> RefreshDesktopDatabases(Platform& platform, const std::string& dataFolder,
                                     const std::string& entryName) {
    const std::string base = WithTrailingSeparator(dataFolder);
    struct Tool {
        const char* program;
        std::vector<std::string> arguments;
        const char* package;  // the Debian package that brings it
    };
    const Tool tools[] = {
        {"update-mime-database", {base + "mime"}, "shared-mime-info"},
        {"update-desktop-database", {base + "applications"}, "desktop-file-utils"},
        {"xdg-mime", {"default", entryName, kPresetMimeType}, "xdg-utils"},
    };
    std::string missing;
    for (const Tool& tool : tools) {
        const int status = platform.RunTool(tool.program, tool.arguments);
        if (status == kToolsNotRun) {
            return {};
        }
        if (status == kToolNotFound) {
            missing += std::string("\r\n") + tool.program + " (package " + tool.package + ")";
        } else if (status != 0) {
            return Failure{std::string(tool.program) + " failed with exit status " +
                           std::to_string(status)};
        }
    }
    if (!missing.empty()) {
        return Failure{
            "The preset file type is written, but the desktop cannot take it up: not found:" +
            missing};
    }
    return {};
}

std::string DesktopEntryText(const std::string& executable, const std::string& icon) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Kestrune\n"
           "Comment=" +
           std::string(kPresetDescription) +
           "\n"
           "Exec=" +
           ExecArgument(executable) +
           " %f\n"
           "Icon=" +
           icon +
           "\n"
           "MimeType=" +
           kPresetMimeType +
           ";\n"
           "Terminal=false\n"
           "Categories=Development;\n";
}

std::string MimeTypeText() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           std::string(kPresetMimeType) +
           "\">\n"
           "    <comment>" +
           kPresetDescription +
           "</comment>\n"
           "    <glob pattern=\"*.zrp\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

Result<void> RegisterPresetAssociation(Platform& platform, const std::string& executable,
                                       const std::string& icon, const std::string& entryName) {
#ifdef _WIN32
    (void)icon;
    (void)entryName;
    return RegisterPresetClassKeys(platform, executable);
#else
    return RegisterPresetDesktopEntry(platform, executable, icon, entryName);
#endif
}

}  // namespace kestrune
