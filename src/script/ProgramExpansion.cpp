// The program variables of a line, "$ClassEXE=<name>" and "$ClassParam=<name>": finding the
// programs a text names, and replacing them all in one pass where that gives what replacing
// program by program gives.
#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "base/Text.h"
#include "script/Expansion.h"
#include "script/Replacement.h"

namespace kestrune {

using namespace expansion;

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
        for (std::size_t at = FindNoCase(text, prefix); at != std::string::npos;
             at = FindNoCase(text, prefix, at + prefix.size())) {
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
                                                            const ShellReader& start,
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
        for (std::size_t at = FindNoCase(text, keywords[kind]); at != std::string::npos;
             at = FindNoCase(text, keywords[kind], at + keywords[kind].size())) {
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
        ShellReader reader = start;
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
            replaceNamed(*candidates, kParam, nameLength, CommandLineOf(index));
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

}  // namespace kestrune
