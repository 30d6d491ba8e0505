#include "SourceLocation.h"

#include <re2/re2.h>

#include <algorithm>
#include <sstream>

#include "Ansi.h"

namespace reda {

namespace {

// The line without its colour sequences, and for every byte kept its offset in the line.
std::string withoutEscapes(std::string_view line, std::vector<std::size_t>& offsets) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = escapeLength(line, i);
        if (length > 0) {
            i += length;
            continue;
        }
        offsets.push_back(i);
        out.push_back(line[i++]);
    }
    offsets.push_back(line.size());
    return out;
}

const re2::RE2& gccForm() {
    // The path up to the first ":LINE:" or ":LINE:COLUMN:".
    static const re2::RE2 regex(R"(^\s*([^:\s][^\n]*?):([0-9]{1,9})(?::([0-9]{1,9}))?:)");
    return regex;
}

const re2::RE2& msvcForm() {
    static const re2::RE2 regex(R"(^\s*([^(\s][^(\n]*?)\(([0-9]{1,9})(?:,([0-9]{1,9}))?\)\s*:)");
    return regex;
}

}  // namespace

std::optional<SourceLocation> findLocation(std::string_view whole) {
    // A location opens its line; looking further would cost a long line dearly at every paint.
    const std::string_view raw = whole.substr(0, kLocationReach);
    std::vector<std::size_t> offsets;
    const std::string text = withoutEscapes(raw, offsets);
    re2::StringPiece path;
    re2::StringPiece line;
    re2::StringPiece column;
    const re2::StringPiece input(text);
    const bool found = re2::RE2::PartialMatch(input, gccForm(), &path, &line, &column) ||
                       re2::RE2::PartialMatch(input, msvcForm(), &path, &line, &column);
    if (!found || path.empty()) {
        return std::nullopt;
    }
    SourceLocation out;
    const std::string written(path.data(), path.size());
    out.widePath = written.substr(0, written.find_last_not_of(" \t") + 1);
    // The last word, without the brackets and quotes that often surround it.
    const std::size_t blank = out.widePath.find_last_of(" \t");
    const std::size_t open =
        out.widePath.find_first_not_of("[('\"`", blank == std::string::npos ? 0 : blank + 1);
    if (open == std::string::npos) {
        return std::nullopt;
    }
    out.path = out.widePath.substr(open);
    // "12:30:45" is a time of day, not line 30 of a file named 12.
    if (out.path.find_first_not_of("0123456789") == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t lastStart = static_cast<std::size_t>(path.data() - text.data()) + open;
    out.line = std::stoul(std::string(line.data(), line.size()));
    out.column = column.empty() ? 0 : std::stoul(std::string(column.data(), column.size()));
    if (out.line == 0) {
        return std::nullopt;
    }
    // The link covers the last word through the line (and column) number.
    const std::size_t numberEnd = static_cast<std::size_t>(
        (column.empty() ? line.data() + line.size() : column.data() + column.size()) - text.data());
    out.begin = offsets[lastStart];
    out.end = offsets[numberEnd];
    return out;
}

std::filesystem::path resolveLocation(const SourceLocation& location,
                                      const std::filesystem::path& logFolder) {
    auto resolve = [&](const std::string& written) {
        const std::filesystem::path path(written);
        return (path.is_absolute() ? path : logFolder / path).lexically_normal();
    };
    if (location.widePath != location.path) {
        std::error_code ec;
        const std::filesystem::path wide = resolve(location.widePath);
        if (std::filesystem::is_regular_file(wide, ec)) {
            return wide;
        }
    }
    return resolve(location.path);
}

std::optional<EditorCommand> editorCommand(const std::string& visual, const std::string& editor,
                                           const std::filesystem::path& file, std::size_t line,
                                           std::size_t column) {
    const std::string& chosen = !visual.empty() ? visual : editor;
    std::istringstream words(chosen);
    EditorCommand command;
    std::string word;
    if (!(words >> command.program)) {
        return std::nullopt;
    }
    while (words >> word) {
        command.arguments.push_back(word);
    }
    const std::string name = std::filesystem::path(command.program).stem().string();
    static const std::vector<std::string> plusLine{
        "vi",          "vim",   "nvim", "gvim", "mvim", "view", "nano",   "pico",  "emacs",
        "emacsclient", "micro", "joe",  "jed",  "ne",   "kak",  "mcedit", "gedit", "kwrite"};
    if (name == "code" || name == "codium" || name == "code-insiders") {
        command.arguments.push_back("-g");
        command.arguments.push_back(file.string() + ":" + std::to_string(line) +
                                    (column > 0 ? ":" + std::to_string(column) : ""));
    } else if (std::find(plusLine.begin(), plusLine.end(), name) != plusLine.end()) {
        command.arguments.push_back("+" + std::to_string(line));
        command.arguments.push_back(file.string());
    } else if (name == "kate") {
        command.arguments.push_back("-l");
        command.arguments.push_back(std::to_string(line));
        command.arguments.push_back(file.string());
    } else {
        command.arguments.push_back(file.string());
    }
    return command;
}

}  // namespace reda
