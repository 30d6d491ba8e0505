#include "RedaSettings.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "NativePath.h"
#include "base/FileIo.h"
#include "base/Text.h"

namespace reda {

namespace {

constexpr std::string_view kHeader = "[REDA]";
// Larger files are not ours; reading them whole would only cost memory.
constexpr std::uintmax_t kMaxSettingsBytes = 1 << 20;

bool readFlag(const std::string& value, bool fallback) {
    const std::optional<bool> flag = kestrune::ParseBoolean(value);
    return flag ? *flag : fallback;
}

}  // namespace

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            comma = text.size();
        }
        const std::string_view word = kestrune::TrimView(text.substr(start, comma - start));
        if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end()) {
            words.emplace_back(word);
        }
        start = comma + 1;
    }
    return words;
}

std::string joinWords(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) {
            text += ", ";
        }
        text += word;
    }
    return text;
}

namespace {

// The number of a numbered key ("Recent3", "ErrorPattern12") as a place in its list, if in
// range.
std::optional<std::size_t> numberOf(const std::string& key, std::string_view prefix,
                                    std::size_t count) {
    if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> n = kestrune::ParseInteger(key.substr(prefix.size()));
    if (!n || *n < 1 || static_cast<std::size_t>(*n) > count) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(*n - 1);
}

// The keys with one value each; false for a key that is not one of them.
bool readPlainKey(RedaSettings& settings, const std::string& key, const std::string& value) {
    if (key == "geometry") {
        settings.geometry = value;
    } else if (key == "errorwords") {
        settings.words.errors = splitWords(value);
    } else if (key == "warningwords") {
        settings.words.warnings = splitWords(value);
    } else if (key == "matchcase") {
        settings.matchCase = readFlag(value, settings.matchCase);
    } else if (key == "wholeword") {
        settings.wholeWord = readFlag(value, settings.wholeWord);
    } else if (key == "regex") {
        settings.regex = readFlag(value, settings.regex);
    } else if (key == "wraplines") {
        settings.wrapLines = readFlag(value, settings.wrapLines);
    } else {
        return false;
    }
    return true;
}

// The lists kept under numbered keys, gathered by number, then joined to the settings in
// order with the gaps left out.
struct NumberedKeys {
    std::vector<std::string> recent = std::vector<std::string>(kMaxRecentLogs);
    std::vector<std::string> errorPatterns = std::vector<std::string>(kMaxPatterns);
    std::vector<std::string> warningPatterns = std::vector<std::string>(kMaxPatterns);
    std::vector<SourceFolder> sources = std::vector<SourceFolder>(kMaxSourceFolders);

    void read(const std::string& key, const std::string& value) {
        if (const auto n = numberOf(key, "recent", kMaxRecentLogs)) {
            recent[*n] = value;
        } else if (const auto e = numberOf(key, "errorpattern", kMaxPatterns)) {
            errorPatterns[*e] = value;
        } else if (const auto w = numberOf(key, "warningpattern", kMaxPatterns)) {
            warningPatterns[*w] = value;
        } else if (const auto f = numberOf(key, "sourcefor", kMaxSourceFolders)) {
            sources[*f].logFolder = value;
        } else if (const auto r = numberOf(key, "sourceroot", kMaxSourceFolders)) {
            sources[*r].root = value;
        }
    }

    void joinTo(RedaSettings& settings) const {
        for (auto [from, to] : {std::pair{&errorPatterns, &settings.words.errorPatterns},
                                std::pair{&warningPatterns, &settings.words.warningPatterns}}) {
            std::copy_if(from->begin(), from->end(), std::back_inserter(*to),
                         [](const std::string& pattern) { return !pattern.empty(); });
        }
        for (const SourceFolder& source : sources) {
            if (!source.logFolder.empty() && !source.root.empty() &&
                sourceRootFor(settings, source.logFolder).empty()) {
                settings.sourceFolders.push_back(source);
            }
        }
        for (const std::string& path : recent) {
            if (!path.empty() &&
                std::none_of(settings.recentLogs.begin(), settings.recentLogs.end(),
                             [&](const std::string& kept) { return samePath(kept, path); })) {
                settings.recentLogs.push_back(path);
            }
        }
    }
};

// The file's bytes; nothing when it cannot be read or is too large to be ours.
std::optional<std::string> readSettingsText(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxSettingsBytes) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

RedaSettings readSettings(const std::filesystem::path& file) {
    RedaSettings settings;
    const std::optional<std::string> read = readSettingsText(file);
    if (!read) {
        return settings;
    }
    const std::string_view text = *read;
    bool headerSeen = false;
    NumberedKeys numbered;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = kestrune::TrimView(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        if (!headerSeen) {
            if (!kestrune::EqualsNoCase(line, kHeader)) {
                return RedaSettings{};
            }
            headerSeen = true;
            continue;
        }
        std::string key;
        std::string value;
        if (kestrune::SplitAtEquals(line, key, value) && !readPlainKey(settings, key, value)) {
            numbered.read(key, value);
        }
    }
    // The word lists REDA once had as defaults stand for the rule table now: a file written
    // then would otherwise mark every line with "error" in a file name.
    if (settings.words.errors == std::vector<std::string>{"error", "fatal", "failed"} &&
        settings.words.warnings == std::vector<std::string>{"warning"}) {
        settings.words.errors.clear();
        settings.words.warnings.clear();
    }
    numbered.joinTo(settings);
    return settings;
}

void writeSettings(const std::filesystem::path& file, const RedaSettings& settings) {
    std::ostringstream out;
    const char* eol = "\r\n";
    out << kHeader << eol;
    out << "Geometry = " << settings.geometry << eol;
    out << "ErrorWords = " << joinWords(settings.words.errors) << eol;
    out << "WarningWords = " << joinWords(settings.words.warnings) << eol;
    out << "MatchCase = " << kestrune::BoolText(settings.matchCase) << eol;
    out << "WholeWord = " << kestrune::BoolText(settings.wholeWord) << eol;
    out << "Regex = " << kestrune::BoolText(settings.regex) << eol;
    out << "WrapLines = " << kestrune::BoolText(settings.wrapLines) << eol;
    for (std::size_t i = 0; i < settings.recentLogs.size() && i < kMaxRecentLogs; ++i) {
        out << "Recent" << (i + 1) << " = " << settings.recentLogs[i] << eol;
    }
    for (std::size_t i = 0; i < settings.words.errorPatterns.size() && i < kMaxPatterns; ++i) {
        out << "ErrorPattern" << (i + 1) << " = " << settings.words.errorPatterns[i] << eol;
    }
    for (std::size_t i = 0; i < settings.words.warningPatterns.size() && i < kMaxPatterns; ++i) {
        out << "WarningPattern" << (i + 1) << " = " << settings.words.warningPatterns[i] << eol;
    }
    for (std::size_t i = 0; i < settings.sourceFolders.size() && i < kMaxSourceFolders; ++i) {
        out << "SourceFor" << (i + 1) << " = " << settings.sourceFolders[i].logFolder << eol;
        out << "SourceRoot" << (i + 1) << " = " << settings.sourceFolders[i].root << eol;
    }
    if (file.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) {
            throw kestrune::IoError(textOfPath(file.parent_path()) + ": " + ec.message());
        }
    }
    kestrune::WriteFileReplacing(textOfPath(file), out.str());
}

std::string sourceRootFor(const RedaSettings& settings, const std::string& logFolder) {
    for (const SourceFolder& source : settings.sourceFolders) {
        if (samePath(source.logFolder, logFolder)) {
            return source.root;
        }
    }
    return {};
}

void setSourceRoot(RedaSettings& settings, const std::string& logFolder, const std::string& root) {
    auto& list = settings.sourceFolders;
    list.erase(
        std::remove_if(list.begin(), list.end(),
                       [&](const SourceFolder& s) { return samePath(s.logFolder, logFolder); }),
        list.end());
    if (!root.empty()) {
        list.insert(list.begin(), SourceFolder{logFolder, root});
    }
    if (list.size() > kMaxSourceFolders) {
        list.resize(kMaxSourceFolders);
    }
}

void rememberLog(RedaSettings& settings, const std::string& path) {
    auto& list = settings.recentLogs;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const std::string& old) { return samePath(old, path); }),
               list.end());
    list.insert(list.begin(), path);
    if (list.size() > kMaxRecentLogs) {
        list.resize(kMaxRecentLogs);
    }
}

}  // namespace reda
