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

// One replacement of the program variables of a text in one pass, in its phases: finding the
// places, ordering the programs that own them, reading the shell's state where a path must be
// quoted, replacing program by program, checking that no replacement formed a new variable,
// and writing the result.
class LineExpander::OnePassRun {
  public:
    OnePassRun(const LineExpander& expander, std::string& text, const ShellReader& start,
               std::size_t limit)
        : expander_(expander),
          text_(text),
          start_(start),
          limit_(limit),
          shell_(expander.state_.Fields.Files.Shell),
          size_(text.size()) {}

    OnePass Run() {
        FindPlaces();
        OrderPrograms();
        if (!ReadShellStates()) {
            return OnePass::NotPossible;
        }
        ReplaceInProgramOrder();
        if (notNeutral_ || FormsNewVariable()) {
            return OnePass::NotPossible;
        }
        if (stop_ == Stop::Dropped) {
            return OnePass::Dropped;
        }
        if (stop_ == Stop::TooLarge) {
            throw ScriptTooLarge(limit_);
        }
        WriteResult();
        return OnePass::Done;
    }

  private:
    enum Kind : std::size_t { kExe, kParam };
    static constexpr std::string_view kKeywords[] = {kExePrefix, kParamPrefix};

    // A variable of the text that names a program.
    struct Place {
        std::size_t at;
        std::size_t length = 0;              // of the text replaced
        const std::string* value = nullptr;  // set once a program has replaced it
    };
    // The places one name could replace, by kind, unquoted [0] and quoted [1].
    struct Candidates {
        std::size_t end = 0;  // the name's run in names_ ends here
        std::vector<std::size_t> places[2][2];
    };
    enum class Stop { None, Dropped, TooLarge };

    // Every variable of the text that names a program, in text order.
    void FindPlaces() {
        std::vector<std::pair<std::size_t, Kind>> keywordsAt;
        for (const Kind kind : {kExe, kParam}) {
            for (std::size_t at = FindNoCase(text_, kKeywords[kind]); at != std::string::npos;
                 at = FindNoCase(text_, kKeywords[kind], at + kKeywords[kind].size())) {
                keywordsAt.emplace_back(at, kind);
            }
        }
        std::sort(keywordsAt.begin(), keywordsAt.end());
        for (const auto& [at, kind] : keywordsAt) {
            AddPlace(at, kind);
        }
    }

    void AddPlace(std::size_t at, Kind kind) {
        const std::size_t nameAt = at + kKeywords[kind].size();
        const bool quoted = nameAt < text_.size() && text_[nameAt] == '\'';
        bool named = false;
        expander_.ForEachNameAt(
            text_, nameAt + (quoted ? 1 : 0), [&](std::size_t begin, std::size_t end) {
                const std::size_t close = nameAt + 1 + expander_.names_[begin].lower.size();
                if (quoted && (close >= text_.size() || text_[close] != '\'')) {
                    return;
                }
                Candidates& candidates = byName_[begin];
                candidates.end = end;
                candidates.places[kind][quoted ? 1 : 0].push_back(places_.size());
                named = true;
            });
        if (named) {
            places_.push_back({at});
        }
    }

    // The programs those names belong to, in specification order.
    void OrderPrograms() {
        for (auto& [begin, candidates] : byName_) {
            for (std::size_t i = begin; i < candidates.end; ++i) {
                programs_.emplace_back(expander_.names_[i].program, &candidates);
            }
        }
        std::sort(programs_.begin(), programs_.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    // A tool path that must be quoted needs the shell's state at each of its places. Read from
    // the text as it stands, that state is the one the program by program replacement meets
    // as long as nothing inserted before a place changes the state differently from the
    // variable it replaces: names and inserted values must then be neutral. False when the
    // names are not.
    bool ReadShellStates() {
        for (const auto& [index, candidates] : programs_) {
            const TZRGroup& program = *expander_.state_.Programs[index];
            quoting_ = quoting_ || (program.RequireExe &&
                                    (expander_.mode_ == ExpandMode::SingleStage || program.Run) &&
                                    !IsPlainName(program.ToolPath, shell_));
        }
        if (!quoting_) {
            return true;
        }
        if (!expander_.neutralNames_) {
            return false;
        }
        contexts_.reserve(places_.size());
        ShellReader reader = start_;
        std::size_t done = 0;
        for (const Place& place : places_) {
            reader.Read(std::string_view(text_).substr(done, place.at - done));
            contexts_.push_back(reader.Here());
            done = place.at;
        }
        return true;
    }

    // Each program takes the places that no earlier program took, as replacing program by
    // program does.
    void ReplaceInProgramOrder() {
        for (const auto& [index, candidates] : programs_) {
            const TZRGroup& program = *expander_.state_.Programs[index];
            const std::size_t nameLength = program.Name.size();
            if (program.RequireExe) {
                if (expander_.mode_ == ExpandMode::WholeRun && !program.Run) {
                    if (AnyLeft(candidates->places[kExe][0]) ||
                        AnyLeft(candidates->places[kExe][1])) {
                        stop_ = Stop::Dropped;
                    }
                } else {
                    ReplaceNamed(*candidates, kExe, nameLength, program.ToolPath);
                }
            }
            if (stop_ == Stop::None) {
                ReplaceNamed(*candidates, kParam, nameLength, expander_.CommandLineOf(index));
            }
            if (stop_ != Stop::None) {
                return;
            }
        }
    }

    // A list loses the places others took as it is looked at.
    bool AnyLeft(std::vector<std::size_t>& list) const {
        std::erase_if(list, [this](std::size_t p) { return places_[p].value != nullptr; });
        return !list.empty();
    }

    void ReplaceNamed(Candidates& candidates, Kind kind, std::size_t nameLength,
                      const std::string& value) {
        const bool quoted = !AnyLeft(candidates.places[kind][0]);
        std::vector<std::size_t>& list = candidates.places[kind][quoted ? 1 : 0];
        if (!AnyLeft(list)) {
            return;
        }
        const bool path = kind == kExe && !IsPlainName(value, shell_);
        QuotedForms* forms = nullptr;
        if (path) {
            forms = &quotedPaths_.emplace_back(value);
        } else if (quoting_ && !IsNeutral(value, shell_)) {
            notNeutral_ = true;
        }
        const std::size_t pattern = kKeywords[kind].size() + nameLength + (quoted ? 2 : 0);
        const std::size_t rest = size_ - list.size() * pattern;
        values_.clear();
        std::size_t added = 0;
        for (const std::size_t p : list) {
            const std::string* inserted = path ? &forms->At(contexts_[p]) : &value;
            // As the replacement itself: only a text that grows can pass the limit.
            if (!inserted->empty() && (rest > limit_ || inserted->size() > limit_ - rest - added)) {
                stop_ = Stop::TooLarge;
                return;
            }
            added += inserted->size();
            values_.push_back(inserted);
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            places_[list[i]].length = pattern;
            places_[list[i]].value = values_[i];
        }
        list.clear();
        size_ = rest + added;
    }

    // Whatever was replaced must not have formed a new variable.
    bool FormsNewVariable() const {
        std::unordered_set<const std::string*> checked;
        const std::size_t reach = kParamPrefix.size() + 2 + expander_.longestName_;
        std::size_t previousEnd = 0;
        for (const Place& place : places_) {
            if (place.value == nullptr) {
                continue;
            }
            if (checked.insert(place.value).second && CouldFormVariable(*place.value)) {
                return true;
            }
            // Only the last "$" before the place could begin a variable that runs into it.
            const std::string_view before = std::string_view(text_).substr(0, place.at);
            const std::size_t from = std::max(previousEnd, place.at > reach ? place.at - reach : 0);
            for (std::size_t q = place.at; q > from; --q) {
                if (text_[q - 1] == '$') {
                    if (CouldBeginVariable(before, q - 1)) {
                        return true;
                    }
                    break;
                }
            }
            previousEnd = place.at + place.length;
        }
        return false;
    }

    void WriteResult() {
        std::string result;
        result.reserve(size_);
        std::size_t done = 0;
        for (const Place& place : places_) {
            if (place.value != nullptr) {
                result.append(text_, done, place.at - done).append(*place.value);
                done = place.at + place.length;
            }
        }
        result.append(text_, done, std::string::npos);
        text_ = std::move(result);
    }

    const LineExpander& expander_;
    std::string& text_;
    const ShellReader& start_;
    const std::size_t limit_;
    const ScriptShell shell_;
    std::vector<Place> places_;
    std::unordered_map<std::size_t, Candidates> byName_;  // by the run's beginning in names_
    std::vector<std::pair<std::size_t, Candidates*>> programs_;
    bool quoting_ = false;
    std::vector<ShellContext> contexts_;
    std::deque<QuotedForms> quotedPaths_;
    bool notNeutral_ = false;
    std::size_t size_;
    Stop stop_ = Stop::None;
    std::vector<const std::string*> values_;
};

LineExpander::OnePass LineExpander::ExpandProgramsInOnePass(std::string& text,
                                                            const ShellReader& start,
                                                            std::size_t limit) const {
    if (!plainNames_) {
        return OnePass::NotPossible;
    }
    return OnePassRun(*this, text, start, limit).Run();
}

}  // namespace kestrune
