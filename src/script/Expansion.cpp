#include "script/Expansion.h"

#include <algorithm>
#include <cstring>

#include "base/Text.h"

namespace kestrune {

namespace {

constexpr std::string_view kExePrefix = "$ClassEXE=";
constexpr std::string_view kParamPrefix = "$ClassParam=";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Like FindNoCase, but jumps from one occurrence of the pattern's first byte to the next, which
// for the "$" that starts every variable makes scanning a long text fast.
std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from = 0) {
    if (pattern.empty() || Lower(pattern[0]) != pattern[0] ||
        (pattern[0] >= 'a' && pattern[0] <= 'z')) {
        return FindNoCase(text, pattern, from);
    }
    while (from < text.size() && text.size() - from >= pattern.size()) {
        const void* hit =
            std::memchr(text.data() + from, pattern[0], text.size() - from - pattern.size() + 1);
        if (hit == nullptr) {
            return std::string_view::npos;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        std::size_t k = 1;
        while (k < pattern.size() && Lower(text[at + k]) == Lower(pattern[k])) {
            ++k;
        }
        if (k == pattern.size()) {
            return at;
        }
        from = at + 1;
    }
    return std::string_view::npos;
}

bool Contains(std::string_view text, std::string_view pattern) {
    return Find(text, pattern) != std::string_view::npos;
}

// Replaces every occurrence of `pattern`, letters compared without case, scanning left to right
// without searching inserted text again; counts first, so a text that would pass `limit` is
// never built.
bool ReplaceAll(std::string& text, std::string_view pattern, std::string_view value,
                std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t at = Find(text, pattern); at != std::string::npos;
         at = Find(text, pattern, at + pattern.size())) {
        ++count;
    }
    if (count == 0) {
        return false;
    }
    std::size_t size = text.size() - count * pattern.size();
    if (value.size() > 0 && (count > limit / value.size() || size > limit - count * value.size())) {
        throw ScriptTooLarge(limit);
    }
    size += count * value.size();
    std::string result;
    result.reserve(size);
    std::size_t done = 0;
    for (std::size_t at = Find(text, pattern); at != std::string::npos;
         at = Find(text, pattern, at + pattern.size())) {
        result.append(text, done, at - done).append(value);
        done = at + pattern.size();
    }
    result.append(text, done, std::string::npos);
    text = std::move(result);
    return true;
}

// Replaces the unquoted form "<prefix><name>" when the text holds it, otherwise the quoted form
// "<prefix>'<name>'"; a text holding both keeps its quoted occurrences.
bool ReplaceNamed(std::string& text, std::string_view prefix, const std::string& name,
                  const std::string& value, std::size_t limit) {
    const std::string unquoted = std::string(prefix) + name;
    if (Contains(text, unquoted)) {
        return ReplaceAll(text, unquoted, value, limit);
    }
    return ReplaceAll(text, std::string(prefix) + "'" + name + "'", value, limit);
}

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                  : std::to_string(bytes) + " bytes";
}

}  // namespace

ScriptTooLarge::ScriptTooLarge(std::size_t limit)
    : std::runtime_error("The script would be larger than " + SizeText(limit) + ".") {}

LineExpander::LineExpander(const ScriptState& state, ExpandMode mode) : state_(state), mode_(mode) {
    names_.reserve(state.Programs.size());
    for (std::size_t i = 0; i < state.Programs.size(); ++i) {
        // An unnamed program would match every "$ClassEXE=" and "$ClassParam=" by its prefix
        // alone; no variable can name it.
        if (!state.Programs[i]->Name.empty()) {
            names_.push_back({LowerAscii(state.Programs[i]->Name), i});
        }
    }
    std::sort(names_.begin(), names_.end(), [](const Name& a, const Name& b) {
        return a.lower != b.lower ? a.lower < b.lower : a.program < b.program;
    });
}

void LineExpander::CollectNamesAt(const std::string& text, std::size_t at, std::size_t from,
                                  std::vector<std::size_t>& found) const {
    // Walks the sorted names like a trie: after k characters, [lo, hi) holds the names that
    // begin with the k characters of the text at `at`; the shortest of them come first.
    auto lo = names_.begin();
    auto hi = names_.end();
    for (std::size_t k = 0;; ++k) {
        for (; lo != hi && lo->lower.size() == k; ++lo) {
            if (lo->program >= from) {
                found.push_back(lo->program);
            }
        }
        if (lo == hi || at + k >= text.size()) {
            return;
        }
        // Bytes compare unsigned here, as in the strings' own ordering.
        const auto c = static_cast<unsigned char>(LowerAscii(text[at + k]));
        auto byte = [k](const Name& n) { return static_cast<unsigned char>(n.lower[k]); };
        lo = std::partition_point(lo, hi, [&](const Name& n) { return byte(n) < c; });
        hi = std::partition_point(lo, hi, [&](const Name& n) { return byte(n) == c; });
    }
}

std::vector<std::size_t> LineExpander::ProgramsNamedIn(const std::string& text,
                                                       std::size_t from) const {
    std::vector<std::size_t> found;
    for (const std::string_view prefix : {kExePrefix, kParamPrefix}) {
        for (std::size_t at = Find(text, prefix); at != std::string::npos;
             at = Find(text, prefix, at + prefix.size())) {
            const std::size_t name = at + prefix.size();
            CollectNamesAt(text, name, from, found);
            if (name < text.size() && text[name] == '\'') {
                CollectNamesAt(text, name + 1, from, found);
            }
        }
    }
    // A long text names the same few programs over and over; keep each once, in order.
    std::vector<bool> seen(state_.Programs.size());
    std::size_t kept = 0;
    for (const std::size_t program : found) {
        if (!seen[program]) {
            seen[program] = true;
            found[kept++] = program;
        }
    }
    found.resize(kept);
    std::sort(found.begin(), found.end());
    return found;
}

std::string LineExpander::Expand(std::string_view line, std::size_t limit) const {
    std::string text(line);
    ReplaceAll(text, "$BasePath", state_.BasePath, limit);
    ReplaceAll(text, "$FilePath", state_.InputFolder, limit);
    ReplaceAll(text, "$FileExt", state_.InputExt, limit);
    ReplaceAll(text, "$FileName", state_.InputName, limit);
    ReplaceAll(text, "$FileDest", state_.FileDest, limit);

    if (Contains(text, "$DateTime")) {
        const std::string now =
            state_.platform != nullptr ? state_.platform->LocalDateTimeText() : std::string();
        ReplaceAll(text, "$DateTime", now, limit);
    }
    ReplaceAll(text, "$Version", state_.VersionText, limit);

    if (!state_.ViewLogAfterCompile && Contains(text, "$reda")) {
        return {};
    }
    ReplaceAll(text, "$REDA", state_.LogViewerPath(), limit);

    // Programs go in specification order. Only those named in the text can change it; after a
    // change the inserted text may name later programs, so the names are looked up again.
    std::size_t next = 0;
    for (bool changed = true; changed;) {
        changed = false;
        for (const std::size_t index : ProgramsNamedIn(text, next)) {
            next = index + 1;
            const TZRGroup& program = *state_.Programs[index];
            const std::string& name = program.Name;
            if (program.RequireExe) {
                if (mode_ == ExpandMode::WholeRun && !program.Run) {
                    if (Contains(text, std::string(kExePrefix) + name) ||
                        Contains(text, std::string(kExePrefix) + "'" + name + "'")) {
                        return {};
                    }
                } else {
                    changed = ReplaceNamed(text, kExePrefix, name, program.ToolPath, limit);
                }
            }
            changed = ReplaceNamed(text, kParamPrefix, name, program.CommandLine, limit) || changed;
            if (changed) {
                break;
            }
        }
    }
    return text;
}

std::string ExpandLine(const ScriptState& state, std::string_view line, ExpandMode mode) {
    return LineExpander(state, mode).Expand(line);
}

}  // namespace kestrune
