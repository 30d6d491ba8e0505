#include "SourceLocation.h"

#include <re2/re2.h>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "Ansi.h"
#include "NativePath.h"

namespace reda {

namespace {

// Byte by byte rather than as UTF-8: a path in a log may be text of a code page (tools on
// Windows write the ANSI one), and the forms look only at ASCII around it.
const re2::RE2::Options& bytewise() {
    static const re2::RE2::Options options = [] {
        re2::RE2::Options latin1;
        latin1.set_encoding(re2::RE2::Options::EncodingLatin1);
        return latin1;
    }();
    return options;
}

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
    // The path up to the first ":LINE:" or ":LINE:COLUMN:", or ":LINE," of gcc's include
    // chain ("In file included from x.h:3,").
    static const re2::RE2 regex(R"(^\s*([^:\s][^\n]*?):([0-9]{1,9})(?::([0-9]{1,9}))?[:,])",
                                bytewise());
    return regex;
}

const re2::RE2& rustForm() {
    static const re2::RE2 regex(R"(^\s*--> ([^\s:][^\n]*?):([0-9]{1,9}):([0-9]{1,9})\s*$)",
                                bytewise());
    return regex;
}

const re2::RE2& cmakeForm() {
    static const re2::RE2 regex(R"(^\s*CMake [^:\n]*? at ([^\s:][^\n]*?):([0-9]{1,9}) \()",
                                bytewise());
    return regex;
}

const re2::RE2& pythonForm() {
    static const re2::RE2 regex(R"re(^\s*File "([^"\n]+)", line ([0-9]{1,9}))re", bytewise());
    return regex;
}

const re2::RE2& directoryForm() {
    static const re2::RE2 regex(
        R"(^(?:\S*/)?(?:g?make|ninja)(?:\[[0-9]+\])?: (Entering|Leaving) directory [`'"](.*)['"]\s*$)",
        bytewise());
    return regex;
}

const re2::RE2& msvcForm() {
    static const re2::RE2 regex(R"(^\s*([^(\s][^(\n]*?)\(([0-9]{1,9})(?:,([0-9]{1,9}))?\)\s*:)",
                                bytewise());
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
    // A path in quotes is whole, blanks and all.
    bool quoted = re2::RE2::PartialMatch(input, pythonForm(), &path, &line);
    const bool found = quoted || re2::RE2::PartialMatch(input, cmakeForm(), &path, &line) ||
                       re2::RE2::PartialMatch(input, rustForm(), &path, &line, &column) ||
                       re2::RE2::PartialMatch(input, gccForm(), &path, &line, &column) ||
                       re2::RE2::PartialMatch(input, msvcForm(), &path, &line, &column);
    if (!found || path.empty()) {
        return std::nullopt;
    }
    SourceLocation out;
    const std::string written(path.data(), path.size());
    if (quoted) {
        out.path = out.widePath = written;
        out.line = std::stoul(std::string(line.data(), line.size()));
        if (out.line == 0) {
            return std::nullopt;
        }
        const auto begin = static_cast<std::size_t>(path.data() - text.data());
        out.begin = offsets[begin];
        out.end = offsets[static_cast<std::size_t>(line.data() + line.size() - text.data())];
        return out;
    }
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

std::optional<DirectoryChange> directoryChange(std::string_view line) {
    if (line.find(" directory ") == std::string_view::npos) {
        return std::nullopt;  // most lines: no regular expression needed
    }
    re2::StringPiece verb;
    re2::StringPiece folder;
    if (!re2::RE2::PartialMatch(re2::StringPiece(line.data(), line.size()), directoryForm(), &verb,
                                &folder) ||
        folder.empty()) {
        return std::nullopt;
    }
    return DirectoryChange{verb == "Entering", std::string(folder.data(), folder.size())};
}

DirectoryTrail::DirectoryTrail(std::filesystem::path logFolder)
    : logFolder_(std::move(logFolder)) {}

std::filesystem::path DirectoryTrail::current() const {
    return open_.empty() ? std::filesystem::path() : open_.back();
}

void DirectoryTrail::observe(std::string_view line) {
    const std::optional<DirectoryChange> change = directoryChange(line);
    if (!change) {
        return;
    }
    std::filesystem::path folder = pathOfLogText(change->directory);
    if (folder.is_relative()) {
        folder = (open_.empty() ? logFolder_ : open_.back()) / folder;
    }
    folder = folder.lexically_normal();
    if (change->entering) {
        open_.push_back(folder);
        lastEntered_ = folder;
        return;
    }
    // Leaving: back to the folder before the one left; a Leaving without its Entering (a log
    // cut at the start) leaves nothing open.
    const auto it = std::find(open_.rbegin(), open_.rend(), folder);
    if (it != open_.rend()) {
        open_.erase(std::prev(it.base()), open_.end());
    } else if (!open_.empty()) {
        open_.pop_back();
    }
}

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

namespace {

// The path as this system writes it: off Windows, a tool's backslashes are slashes.
std::string nativeSeparators(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

bool isAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && (path[2] == '/' || path[2] == '\\');
    return drive || pathOfLogText(path).is_absolute();
}

// Where a written path may be, in the order the build would have meant it.
std::vector<std::filesystem::path> candidates(const std::string& written,
                                              const LinkContext& context) {
    const std::string path = nativeSeparators(written);
    if (isAbsolute(path)) {
        return {pathOfLogText(path).lexically_normal()};
    }
    std::vector<std::filesystem::path> folders;
    if (!context.current.empty()) {
        folders.push_back(context.current);
    }
    folders.push_back(context.logFolder);
    // The folders above the log only up to the source folder: without one a common name such
    // as CMakeLists.txt would find some other project's file.
    const std::filesystem::path root = context.sourceRoot.lexically_normal();
    if (!root.empty()) {
        std::vector<std::filesystem::path> above;
        for (std::filesystem::path folder = context.logFolder.lexically_normal();
             folder != root && folder.has_relative_path(); folder = folder.parent_path()) {
            above.push_back(folder.parent_path());
        }
        if (!above.empty() && above.back() == root) {
            folders.insert(folders.end(), above.begin(), above.end());
        } else {
            folders.push_back(root);
        }
    }
    if (!context.lastEntered.empty()) {
        folders.push_back(context.lastEntered);
    }
    const std::filesystem::path relative = pathOfLogText(path);
    std::vector<std::filesystem::path> out;
    for (const std::filesystem::path& base : folders) {
        std::filesystem::path candidate = (base / relative).lexically_normal();
        if (std::find(out.begin(), out.end(), candidate) == out.end()) {
            out.push_back(std::move(candidate));
        }
    }
    return out;
}

}  // namespace

std::filesystem::path resolveLocation(const SourceLocation& location, const LinkContext& context,
                                      const FileExists& exists) {
    if (location.widePath != location.path) {
        for (const std::filesystem::path& wide : candidates(location.widePath, context)) {
            if (exists(wide)) {
                return wide;
            }
        }
    }
    const std::vector<std::filesystem::path> paths = candidates(location.path, context);
    for (const std::filesystem::path& path : paths) {
        if (exists(path)) {
            return path;
        }
    }
    return paths.front();
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
    const std::string name = textOfPath(pathOfText(command.program).stem());
    static const std::vector<std::string> plusLine{
        "vi",          "vim",   "nvim", "gvim", "mvim", "view", "nano",   "pico",  "emacs",
        "emacsclient", "micro", "joe",  "jed",  "ne",   "kak",  "mcedit", "gedit", "kwrite"};
    if (name == "code" || name == "codium" || name == "code-insiders") {
        command.arguments.push_back("-g");
        command.arguments.push_back(textOfPath(file) + ":" + std::to_string(line) +
                                    (column > 0 ? ":" + std::to_string(column) : ""));
    } else if (std::find(plusLine.begin(), plusLine.end(), name) != plusLine.end()) {
        command.arguments.push_back("+" + std::to_string(line));
        command.arguments.push_back(textOfPath(file));
    } else if (name == "kate") {
        command.arguments.push_back("-l");
        command.arguments.push_back(std::to_string(line));
        command.arguments.push_back(textOfPath(file));
    } else {
        command.arguments.push_back(textOfPath(file));
    }
    return command;
}

}  // namespace reda
