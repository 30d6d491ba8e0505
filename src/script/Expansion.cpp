#include "script/Expansion.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

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

// The quoted forms of one path for the places it goes to; a line has few kinds of place.
class QuotedForms {
  public:
    explicit QuotedForms(std::string_view value) : value_(value) {}
    const std::string& At(const ShellContext& context) {
        for (const auto& [known, quoted] : forms_) {
            if (known == context) {
                return *quoted;
            }
        }
        forms_.emplace_back(context, std::make_unique<std::string>(QuoteName(value_, context)));
        return *forms_.back().second;
    }

  private:
    std::string_view value_;
    std::vector<std::pair<ShellContext, std::unique_ptr<std::string>>> forms_;
};

// As ReplaceAll, but `value` is a path: each occurrence gets it quoted for its place, as the
// shell reads the text up to there.
bool ReplaceAllQuoted(std::string& text, std::string_view pattern, std::string_view value,
                      ScriptShell shell, std::size_t limit) {
    if (IsPlainName(value, shell)) {
        return ReplaceAll(text, pattern, value, limit);
    }
    std::size_t at = Find(text, pattern);
    if (at == std::string::npos) {
        return false;
    }
    QuotedForms forms(value);
    ShellReader reader(shell);
    std::string result;
    result.reserve(std::min(text.size() + value.size() + 2, limit));
    auto append = [&](std::string_view piece) {
        if (piece.size() > limit - result.size()) {
            throw ScriptTooLarge(limit);
        }
        result.append(piece);
    };
    std::size_t done = 0;
    for (; at != std::string::npos; at = Find(text, pattern, at + pattern.size())) {
        const std::string_view between = std::string_view(text).substr(done, at - done);
        reader.Read(between);
        append(between);
        const std::string& quoted = forms.At(reader.Here());
        reader.Read(quoted);
        append(quoted);
        done = at + pattern.size();
    }
    append(std::string_view(text).substr(done));
    text = std::move(result);
    return true;
}

// Replaces the unquoted form "<prefix><name>" when the text holds it, otherwise the quoted form
// "<prefix>'<name>'"; a text holding both keeps its quoted occurrences. A `shell` quotes the
// value as a path for that shell; without one it goes in as it is.
bool ReplaceNamed(std::string& text, std::string_view prefix, const std::string& name,
                  const std::string& value, std::size_t limit,
                  std::optional<ScriptShell> shell = std::nullopt) {
    const std::string unquoted = std::string(prefix) + name;
    const std::string pattern =
        Contains(text, unquoted) ? unquoted : std::string(prefix) + "'" + name + "'";
    return shell ? ReplaceAllQuoted(text, pattern, value, *shell, limit)
                 : ReplaceAll(text, pattern, value, limit);
}

// True when text read in place of a variable leaves the shell just as the variable's own text
// does, whatever the shell was in before: it is not empty, holds no byte that quotes, escapes
// or begins an expansion or a comment, and does not end a word.
bool IsNeutral(std::string_view text, ScriptShell shell) {
    if (text.empty()) {
        return false;
    }
    if (shell == ScriptShell::Cmd) {
        return text.find_first_of("\"^") == std::string_view::npos;
    }
    return text.find_first_of("'\"\\`()$#") == std::string_view::npos &&
           std::string_view(" \t\n;&|<>").find(text.back()) == std::string_view::npos;
}

// True when a variable could begin at the "$" at text[at]: the text there agrees with the start
// of "$ClassEXE=" or "$ClassParam=" for as long as both go on.
bool CouldBeginVariable(std::string_view text, std::size_t at) {
    for (const std::string_view keyword : {kExePrefix, kParamPrefix}) {
        std::size_t k = 0;
        while (k < keyword.size() && at + k < text.size() &&
               Lower(text[at + k]) == Lower(keyword[k])) {
            ++k;
        }
        if (k == keyword.size() || at + k == text.size()) {
            return true;
        }
    }
    return false;
}

// True when a "$" of `value` could begin a variable once the value stands in a text.
bool CouldFormVariable(std::string_view value) {
    for (std::size_t at = value.find('$'); at != std::string_view::npos;
         at = value.find('$', at + 1)) {
        if (CouldBeginVariable(value, at)) {
            return true;
        }
    }
    return false;
}

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                  : std::to_string(bytes) + " bytes";
}

}  // namespace

ScriptTooLarge::ScriptTooLarge(std::size_t limit)
    : std::runtime_error("The script would be larger than " + SizeText(limit) + ".") {}

LineExpander::LineExpander(const SpecificationModel& state, const ScriptSettings& settings,
                           ExpandMode mode)
    : state_(state), settings_(settings), mode_(mode) {
    names_.reserve(state.Programs.size());
    for (std::size_t i = 0; i < state.Programs.size(); ++i) {
        // An unnamed program would match every "$ClassEXE=" and "$ClassParam=" by its prefix
        // alone; no variable can name it.
        const std::string& name = state.Programs[i]->Name;
        if (!name.empty()) {
            names_.push_back({LowerAscii(name), i});
            plainNames_ = plainNames_ && name.find_first_of("$'") == std::string::npos;
            neutralNames_ = neutralNames_ && IsNeutral(name, state.Fields.Files.Shell);
            longestName_ = std::max(longestName_, name.size());
        }
    }
    std::sort(names_.begin(), names_.end(), [](const Name& a, const Name& b) {
        return a.lower != b.lower ? a.lower < b.lower : a.program < b.program;
    });
}

template <typename Visitor>
void LineExpander::ForEachNameAt(const std::string& text, std::size_t at, Visitor&& visit) const {
    // Walks the sorted names like a trie: after k characters, [lo, hi) holds the names that
    // begin with the k characters of the text at `at`; the shortest of them come first, and
    // those k characters long are all the same name.
    auto lo = names_.begin();
    auto hi = names_.end();
    for (std::size_t k = 0;; ++k) {
        const auto equal = lo;
        while (lo != hi && lo->lower.size() == k) {
            ++lo;
        }
        if (equal != lo) {
            visit(static_cast<std::size_t>(equal - names_.begin()),
                  static_cast<std::size_t>(lo - names_.begin()));
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

void LineExpander::CollectNamesAt(const std::string& text, std::size_t at, std::size_t from,
                                  std::vector<std::size_t>& found) const {
    ForEachNameAt(text, at, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (names_[i].program >= from) {
                found.push_back(names_[i].program);
            }
        }
    });
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

LineExpander::OnePass LineExpander::ExpandProgramsInOnePass(std::string& text,
                                                            std::size_t limit) const {
    if (!plainNames_) {
        return OnePass::NotPossible;
    }
    enum Kind : std::size_t { kExe, kParam };
    const std::string_view keywords[] = {kExePrefix, kParamPrefix};

    // Every variable of the text that names a program, in text order.
    struct Place {
        std::size_t at;
        std::size_t length = 0;              // of the text replaced
        const std::string* value = nullptr;  // set once a program has replaced it
    };
    std::vector<std::pair<std::size_t, Kind>> keywordsAt;
    for (const Kind kind : {kExe, kParam}) {
        for (std::size_t at = Find(text, keywords[kind]); at != std::string::npos;
             at = Find(text, keywords[kind], at + keywords[kind].size())) {
            keywordsAt.emplace_back(at, kind);
        }
    }
    std::sort(keywordsAt.begin(), keywordsAt.end());

    // The places each name could replace, by kind, unquoted [0] and quoted [1].
    struct Candidates {
        std::size_t end = 0;  // the name's run in names_ ends here
        std::vector<std::size_t> places[2][2];
    };
    std::vector<Place> places;
    std::unordered_map<std::size_t, Candidates> byName;  // by the run's beginning in names_
    for (const auto& keyword : keywordsAt) {
        const std::size_t at = keyword.first;
        const Kind kind = keyword.second;
        const std::size_t nameAt = at + keywords[kind].size();
        const bool quoted = nameAt < text.size() && text[nameAt] == '\'';
        bool named = false;
        ForEachNameAt(text, nameAt + (quoted ? 1 : 0), [&](std::size_t begin, std::size_t end) {
            const std::size_t close = nameAt + 1 + names_[begin].lower.size();
            if (quoted && (close >= text.size() || text[close] != '\'')) {
                return;
            }
            Candidates& candidates = byName[begin];
            candidates.end = end;
            candidates.places[kind][quoted ? 1 : 0].push_back(places.size());
            named = true;
        });
        if (named) {
            places.push_back({at});
        }
    }

    // The programs those names belong to, in specification order.
    std::vector<std::pair<std::size_t, Candidates*>> programs;
    for (auto& [begin, candidates] : byName) {
        for (std::size_t i = begin; i < candidates.end; ++i) {
            programs.emplace_back(names_[i].program, &candidates);
        }
    }
    std::sort(programs.begin(), programs.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    // Each program takes the places that no earlier program took, as replacing program by
    // program does; a list loses the places others took as it is looked at.
    auto anyLeft = [&places](std::vector<std::size_t>& list) {
        std::erase_if(list, [&places](std::size_t p) { return places[p].value != nullptr; });
        return !list.empty();
    };
    // A tool path that must be quoted needs the shell's state at each of its places. Read from
    // the text as it stands, that state is the one the program by program replacement meets
    // as long as nothing inserted before a place changes the state differently from the
    // variable it replaces: names and inserted values must then be neutral.
    const ScriptShell shell = state_.Fields.Files.Shell;
    bool quoting = false;
    for (const auto& [index, candidates] : programs) {
        const TZRGroup& program = *state_.Programs[index];
        quoting =
            quoting || (program.RequireExe && (mode_ == ExpandMode::SingleStage || program.Run) &&
                        !IsPlainName(program.ToolPath, shell));
    }
    if (quoting && !neutralNames_) {
        return OnePass::NotPossible;
    }
    std::vector<ShellContext> contexts;
    if (quoting) {
        contexts.reserve(places.size());
        ShellReader reader(shell);
        std::size_t done = 0;
        for (const Place& place : places) {
            reader.Read(std::string_view(text).substr(done, place.at - done));
            contexts.push_back(reader.Here());
            done = place.at;
        }
    }
    std::deque<QuotedForms> quotedPaths;
    bool notNeutral = false;

    std::size_t size = text.size();
    enum class Stop { None, Dropped, TooLarge } stop = Stop::None;
    std::vector<const std::string*> values;
    auto replaceNamed = [&](Candidates& candidates, Kind kind, std::size_t nameLength,
                            const std::string& value) {
        const bool quoted = !anyLeft(candidates.places[kind][0]);
        std::vector<std::size_t>& list = candidates.places[kind][quoted ? 1 : 0];
        if (!anyLeft(list)) {
            return;
        }
        const bool path = kind == kExe && !IsPlainName(value, shell);
        QuotedForms* forms = nullptr;
        if (path) {
            forms = &quotedPaths.emplace_back(value);
        } else if (quoting && !IsNeutral(value, shell)) {
            notNeutral = true;
        }
        const std::size_t pattern = keywords[kind].size() + nameLength + (quoted ? 2 : 0);
        const std::size_t rest = size - list.size() * pattern;
        values.clear();
        std::size_t added = 0;
        for (const std::size_t p : list) {
            const std::string* inserted = path ? &forms->At(contexts[p]) : &value;
            // As the replacement itself: only a text that grows can pass the limit.
            if (!inserted->empty() && (rest > limit || inserted->size() > limit - rest - added)) {
                stop = Stop::TooLarge;
                return;
            }
            added += inserted->size();
            values.push_back(inserted);
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            places[list[i]].length = pattern;
            places[list[i]].value = values[i];
        }
        list.clear();
        size = rest + added;
    };
    for (const auto& [index, candidates] : programs) {
        const TZRGroup& program = *state_.Programs[index];
        const std::size_t nameLength = program.Name.size();
        if (program.RequireExe) {
            if (mode_ == ExpandMode::WholeRun && !program.Run) {
                if (anyLeft(candidates->places[kExe][0]) || anyLeft(candidates->places[kExe][1])) {
                    stop = Stop::Dropped;
                }
            } else {
                replaceNamed(*candidates, kExe, nameLength, program.ToolPath);
            }
        }
        if (stop == Stop::None) {
            replaceNamed(*candidates, kParam, nameLength, program.CommandLine);
        }
        if (stop != Stop::None) {
            break;
        }
    }
    if (notNeutral) {
        return OnePass::NotPossible;
    }

    // Whatever was replaced up to here must not have formed a new variable.
    std::unordered_set<const std::string*> checked;
    const std::size_t reach = kParamPrefix.size() + 2 + longestName_;
    std::size_t previousEnd = 0;
    for (const Place& place : places) {
        if (place.value == nullptr) {
            continue;
        }
        if (checked.insert(place.value).second && CouldFormVariable(*place.value)) {
            return OnePass::NotPossible;
        }
        // Only the last "$" before the place could begin a variable that runs into it.
        const std::string_view before = std::string_view(text).substr(0, place.at);
        const std::size_t from = std::max(previousEnd, place.at > reach ? place.at - reach : 0);
        for (std::size_t q = place.at; q > from; --q) {
            if (text[q - 1] == '$') {
                if (CouldBeginVariable(before, q - 1)) {
                    return OnePass::NotPossible;
                }
                break;
            }
        }
        previousEnd = place.at + place.length;
    }
    if (stop == Stop::Dropped) {
        return OnePass::Dropped;
    }
    if (stop == Stop::TooLarge) {
        throw ScriptTooLarge(limit);
    }

    std::string result;
    result.reserve(size);
    std::size_t done = 0;
    for (const Place& place : places) {
        if (place.value != nullptr) {
            result.append(text, done, place.at - done).append(*place.value);
            done = place.at + place.length;
        }
    }
    result.append(text, done, std::string::npos);
    text = std::move(result);
    return OnePass::Done;
}

ScriptTooComplex::ScriptTooComplex()
    : std::runtime_error(
          "The layout is too complex to expand: its command lines name one another's programs "
          "too often.") {}

std::string LineExpander::Expand(std::string_view line, std::size_t limit,
                                 std::size_t workLimit) const {
    std::string text(line);
    const ScriptShell shell = state_.Fields.Files.Shell;
    ReplaceAllQuoted(text, "$BasePath", state_.Fields.Files.BasePath, shell, limit);
    ReplaceAllQuoted(text, "$FilePath", state_.Fields.Files.InputFolder, shell, limit);
    ReplaceAllQuoted(text, "$FileExt", state_.Fields.Files.InputExt, shell, limit);
    ReplaceAllQuoted(text, "$FileName", state_.Fields.Files.InputName, shell, limit);
    ReplaceAllQuoted(text, "$FileDest", state_.Fields.Files.FileDest, shell, limit);

    if (Contains(text, "$DateTime")) {
        const std::string now = state_.Fields.platform != nullptr
                                    ? state_.Fields.platform->LocalDateTimeText()
                                    : std::string();
        ReplaceAll(text, "$DateTime", now, limit);
    }
    ReplaceAll(text, "$Version", settings_.VersionText, limit);

    if (!settings_.ViewLogAfterCompile && Contains(text, "$reda")) {
        return {};
    }
    ReplaceAllQuoted(text, "$REDA", LogViewerPath(state_, settings_), shell, limit);

    switch (ExpandProgramsInOnePass(text, limit)) {
        case OnePass::Done:
            return text;
        case OnePass::Dropped:
            return {};
        case OnePass::NotPossible:
            break;
    }
    // Programs go in specification order. Only those named in the text can change it; after a
    // change the inserted text may name later programs, so the names are looked up again.
    std::size_t next = 0;
    std::size_t work = 0;
    auto lookAt = [&](std::size_t bytes) {
        work += bytes;
        if (work > workLimit) {
            throw ScriptTooComplex();
        }
    };
    for (bool changed = true; changed;) {
        changed = false;
        lookAt(text.size() + state_.Programs.size());
        for (const std::size_t index : ProgramsNamedIn(text, next)) {
            lookAt(text.size());
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
                    changed = ReplaceNamed(text, kExePrefix, name, program.ToolPath, limit, shell);
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

std::string ExpandLine(const SpecificationModel& state, const ScriptSettings& settings,
                       std::string_view line, ExpandMode mode) {
    return LineExpander(state, settings, mode).Expand(line);
}

}  // namespace kestrune
