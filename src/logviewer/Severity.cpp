#include "Severity.h"

#include <re2/re2.h>
#include <re2/set.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "Ansi.h"

namespace reda {

namespace {

// A location that opens the line: "src/a.c:12:", "src/a.c:12:5:", "C:\x\a.c:3:"; the path
// holds no colon of its own, so "make: *** [Makefile:6: x]" is none.
#define REDA_LOCATION R"(^\s*(?:[A-Za-z]:)?[^\s:][^:]*:\d+(?::\d+)?:)"
// MSVC and its kin: "file.cpp(12):", "file.cpp(12,5) :".
#define REDA_MSVC_LOCATION R"(^\s*[^\s(][^(]*\(\d+(?:,\d+)?\)\s*:\s*)"
// An optional program name before the message: "collect2: ", "make[2]: ", "/usr/bin/ld: ".
#define REDA_PROGRAM R"(^(?:[\w.+/-]+(?:\[\d+\])?: )?)"

constexpr std::array kRules{
    // Lines that only look like problems.
    SeverityRule{"echoed source line", LineKind::Plain, R"(^\s*\d+\s+\|)"},
    SeverityRule{"caret line", LineKind::Plain, R"(^\s*\|)"},
    SeverityRule{"shell trace", LineKind::Plain, R"(^\++ )"},
    SeverityRule{"progress line", LineKind::Plain, R"(^\[\d+/\d+\] )"},
    SeverityRule{"echoed command", LineKind::Plain,
                 R"(^\s*(?:\S*/)?(?:ccache\s+)?(?:[\w.]+-)*(?:cc|gcc|g\+\+|c\+\+|clang|)"
                 R"(clang\+\+|ld|ar|as|javac|rustc|cmake|ninja|make|gmake|python3?|tar|)"
                 R"(install|rm|cp|mv|ln|mkdir|sh|bash|libtool)(?:-[\d.]+)?\s+-)"},
    SeverityRule{"warning count", LineKind::Plain, R"(^warning: .*\bgenerated \d+ warnings?\b)"},
    SeverityRule{"make waits", LineKind::Plain,
                 R"(^(?:\S*/)?g?make(?:\[\d+\])?: \*\*\* Waiting for unfinished jobs)"},

    // Errors.
    SeverityRule{"compiler error", LineKind::Error,
                 REDA_LOCATION
                 R"(\s*(?:internal compiler error|fatal error|error|ERROR|Error)(?:\[\w+\])?:)"},
    SeverityRule{"program error", LineKind::Error,
                 REDA_PROGRAM R"((?:fatal error|error|ERROR|fatal|FATAL)(?:\[\w+\])?:(?:\s|$))"},
    SeverityRule{"MSVC error", LineKind::Error, REDA_MSVC_LOCATION R"((?:fatal )?error\b)"},
    SeverityRule{"MSVC tool error", LineKind::Error, R"(\s:\s(?:fatal )?error [A-Z]+\d+\s*:)"},
    SeverityRule{"make", LineKind::Error, R"(^(?:\S*/)?g?make(?:\[\d+\])?: \*\*\*)"},
    SeverityRule{"ninja failed", LineKind::Error, R"(^FAILED: )"},
    SeverityRule{"pytest summary", LineKind::Error, R"(^(?:FAILED|ERROR) \S+::)"},
    SeverityRule{"pytest assertion", LineKind::Error, R"(^E {3})"},
    SeverityRule{"CMake error", LineKind::Error, R"(^CMake Error\b)"},
    SeverityRule{"CMake incomplete", LineKind::Error,
                 R"(^-- Configuring incomplete, errors occurred!)"},
    SeverityRule{"undefined reference", LineKind::Error, R"(\bundefined reference to )"},
    SeverityRule{"multiple definition", LineKind::Error, R"(\bmultiple definition of )"},
    SeverityRule{"linker cannot find", LineKind::Error, R"(^(?:\S*/)?ld(?:\.\w+)?: cannot find )"},
    SeverityRule{"traceback", LineKind::Error, R"(^Traceback \(most recent call last\):)"},
    SeverityRule{"exception", LineKind::Error,
                 R"(^(?:[\w.]+\.)?[A-Z]\w*(?:Error|Exception)(?::\s|:?$))"},
    SeverityRule{"located exception", LineKind::Error,
                 REDA_LOCATION R"(\s*(?:[\w.]+\.)?[A-Z]\w*(?:Error|Exception)\b)"},
    SeverityRule{"Java exception", LineKind::Error, R"(^Exception in thread )"},
    SeverityRule{"ctest", LineKind::Error, R"(\*\*\*(?:Failed|Exception|Timeout)\b)"},
    SeverityRule{"missing file", LineKind::Error, R"(No such file or directory)"},
    SeverityRule{"permission", LineKind::Error, R"(: Permission denied$)"},
    SeverityRule{"command not found", LineKind::Error, R"(: (?:command )?not found$)"},
    SeverityRule{"parse error", LineKind::Error,
                 R"(\b(?:[Pp]arse|[Ss]yntax) (?:error|exception)\b)"},
    SeverityRule{"unknown codec", LineKind::Error, R"(^Unknown (?:encoder|decoder) ')"},
    SeverityRule{"Go error", LineKind::Error, R"(^(?:vet: )?\S+\.go:\d+:\d+: )"},
    SeverityRule{"crash", LineKind::Error,
                 R"(\b(?:Segmentation fault|Aborted|Bus error)(?: \(core dumped\))?\s*$)"},
    SeverityRule{"bracketed error", LineKind::Error, R"(^\[(?:ERROR|FATAL)\] )"},

    // Warnings.
    SeverityRule{"compiler warning", LineKind::Warning,
                 REDA_LOCATION R"(\s*(?:warning|WARNING|Warning)(?:\[\w+\])?:)"},
    SeverityRule{"program warning", LineKind::Warning,
                 REDA_PROGRAM R"((?:warning|WARNING)(?:\[\w+\])?:(?:\s|$))"},
    SeverityRule{"MSVC warning", LineKind::Warning, REDA_MSVC_LOCATION R"(warning\b)"},
    SeverityRule{"MSVC tool warning", LineKind::Warning, R"(\s:\swarning [A-Z]+\d+\s*:)"},
    SeverityRule{"CMake warning", LineKind::Warning, R"(^CMake (?:Deprecation )?Warning\b)"},
    SeverityRule{"Python warning", LineKind::Warning,
                 R"(^\s*(?:\S.*:\d+: )?(?:[\w.]+\.)?[A-Z]\w*Warning: )"},
    SeverityRule{"bracketed warning", LineKind::Warning, R"(^\[(?:WARNING|WARN)\] )"},
};

#undef REDA_LOCATION
#undef REDA_MSVC_LOCATION
#undef REDA_PROGRAM

// The table's DFA must stay within REDA's memory; beyond it, the rules run one by one.
constexpr std::int64_t kSetMemory = 16 << 20;

re2::RE2::Options tableOptions() {
    re2::RE2::Options options;
    // Any bytes: a line with invalid UTF-8 is still matched by its ASCII parts.
    options.set_encoding(re2::RE2::Options::EncodingLatin1);
    options.set_log_errors(false);
    options.set_max_mem(kSetMemory);
    return options;
}

re2::RE2::Options userOptions() {
    re2::RE2::Options options;
    options.set_log_errors(false);
    options.set_max_mem(kSetMemory);
    return options;
}

// Patterns matched together in one pass, with each one also compiled alone for the rare
// line on which the combined automaton runs out of memory.
struct PatternSet {
    explicit PatternSet(const re2::RE2::Options& setOptions)
        : set(setOptions, re2::RE2::UNANCHORED), options(setOptions) {}

    bool add(const std::string& pattern, LineKind kind, std::string* error) {
        auto single = std::make_unique<re2::RE2>(pattern, options);
        if (!single->ok()) {
            if (error != nullptr) {
                *error = single->error();
            }
            return false;
        }
        if (set.Add(pattern, error) < 0) {
            return false;
        }
        singles.push_back(std::move(single));
        kinds.push_back(kind);
        return true;
    }

    void compile() { compiled = !kinds.empty() && set.Compile(); }

    // Calls hit(kind) for every pattern that matches.
    template <class Hit>
    void match(std::string_view text, Hit&& hit) const {
        if (kinds.empty()) {
            return;
        }
        thread_local std::vector<int> found;
        found.clear();
        re2::RE2::Set::ErrorInfo info{};
        if (compiled && set.Match(re2::StringPiece(text.data(), text.size()), &found, &info)) {
            for (const int i : found) {
                hit(kinds[static_cast<std::size_t>(i)]);
            }
            return;
        }
        if (compiled && info.kind == re2::RE2::Set::kNoError) {
            return;  // nothing matched
        }
        for (std::size_t i = 0; i < singles.size(); ++i) {
            if (re2::RE2::PartialMatch(re2::StringPiece(text.data(), text.size()), *singles[i])) {
                hit(kinds[i]);
            }
        }
    }

    re2::RE2::Set set;
    re2::RE2::Options options;
    std::vector<std::unique_ptr<re2::RE2>> singles;
    std::vector<LineKind> kinds;
    bool compiled = false;
};

// Whether any rule of the table can match: nearly all of them need a ':' or a '*', and the
// few that do not start or hold one of these. Most lines of a build are commands and progress
// and pass here at the cost of a memchr, not of the automaton.
bool mayMatchTable(std::string_view text) {
    if (std::memchr(text.data(), ':', text.size()) != nullptr ||
        std::memchr(text.data(), '*', text.size()) != nullptr) {
        return true;
    }
    static constexpr std::string_view kStarts[] = {"E ",
                                                   "FAILED",
                                                   "ERROR",
                                                   "[ERROR]",
                                                   "[FATAL]",
                                                   "[WARN",
                                                   "Exception in thread",
                                                   "-- Configuring incomplete",
                                                   "Unknown encoder",
                                                   "Unknown decoder",
                                                   "CMake "};
    for (const std::string_view start : kStarts) {
        if (text.substr(0, start.size()) == start) {
            return true;
        }
    }
    static constexpr std::string_view kInside[] = {"rror",
                                                   "xception",
                                                   "Aborted",
                                                   "Segmentation fault",
                                                   "No such file",
                                                   "undefined reference",
                                                   "multiple definition"};
    for (const std::string_view inside : kInside) {
        if (text.find(inside) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

LineKind worse(LineKind a, LineKind b) {
    return a > b ? a : b;
}

}  // namespace

std::span<const SeverityRule> severityRules() {
    return kRules;
}

struct SeverityRules::Compiled {
    PatternSet table{tableOptions()};
    std::unique_ptr<PatternSet> user = std::make_unique<PatternSet>(userOptions());
};

SeverityRules::SeverityRules() : compiled_(std::make_unique<Compiled>()) {
    for (const SeverityRule& rule : kRules) {
        compiled_->table.add(rule.pattern, rule.kind, nullptr);
    }
    compiled_->table.compile();
}

SeverityRules::~SeverityRules() = default;

std::vector<std::string> SeverityRules::setUserPatterns(const std::vector<std::string>& errors,
                                                        const std::vector<std::string>& warnings) {
    auto user = std::make_unique<PatternSet>(userOptions());
    std::vector<std::string> problems;
    for (const auto& [list, kind] :
         {std::pair{&errors, LineKind::Error}, std::pair{&warnings, LineKind::Warning}}) {
        for (const std::string& pattern : *list) {
            std::string error;
            if (!pattern.empty() && !user->add(pattern, kind, &error)) {
                problems.push_back("\u201c" + pattern + "\u201d: " + error);
            }
        }
    }
    user->compile();
    compiled_->user = std::move(user);
    return problems;
}

LineKind SeverityRules::classifyText(std::string_view text) const {
    LineKind user = LineKind::Plain;
    compiled_->user->match(text, [&](LineKind kind) { user = worse(user, kind); });
    if (user == LineKind::Error) {
        return user;
    }
    if (!mayMatchTable(text)) {
        return user;
    }
    bool excluded = false;
    LineKind table = LineKind::Plain;
    compiled_->table.match(text, [&](LineKind kind) {
        excluded = excluded || kind == LineKind::Plain;
        table = worse(table, kind);
    });
    return excluded ? user : worse(user, table);
}

LineKind SeverityRules::classify(std::string_view line) const {
    const std::string_view head = line.substr(0, kSeverityReach);
    if (std::memchr(head.data(), 0x1b, head.size()) == nullptr) {
        return classifyText(head);
    }
    return classifyText(stripEscapes(head));
}

bool ruleMatches(const SeverityRule& rule, std::string_view text) {
    const re2::RE2 regex(rule.pattern, tableOptions());
    return regex.ok() && re2::RE2::PartialMatch(re2::StringPiece(text.data(), text.size()), regex);
}

std::string patternError(const std::string& pattern) {
    const re2::RE2 regex(pattern, userOptions());
    return regex.ok() ? std::string() : regex.error();
}

}  // namespace reda
