#include "draft/HelpReader.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "base/Text.h"

namespace kestrune {
namespace {

constexpr std::size_t kTabWidth = 8;
// Longer names than this are prose or garbage, not options.
constexpr std::size_t kLongestName = 64;
// A heading is a short line; anything longer is a sentence that happens to end with ":".
constexpr std::size_t kLongestHeading = 100;

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsNameChar(char c) {
    return IsAsciiLetterOrDigit(c) || c == '-' || c == '_' || c == '?' || c == '.';
}

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}

// A line with its indentation measured (tabs to the next multiple of eight) and its other
// control characters made blanks; a tab inside the text counts as a gap between columns.
struct Line {
    std::size_t indent = 0;
    std::string text;
};

Line MakeLine(std::string_view raw) {
    Line line;
    std::size_t i = 0;
    for (; i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'); ++i) {
        line.indent = raw[i] == '\t' ? (line.indent / kTabWidth + 1) * kTabWidth : line.indent + 1;
    }
    line.text.reserve(raw.size() - i);
    for (; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == '\t') {
            line.text.append("  ");
        } else if (c < 32 || c == 127) {
            line.text.push_back(' ');
        } else {
            line.text.push_back(static_cast<char>(c));
        }
    }
    while (!line.text.empty() && line.text.back() == ' ') {
        line.text.pop_back();
    }
    return line;
}

std::size_t CountBlanks(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && text[end] == ' ') {
        ++end;
    }
    return end - from;
}

// The end of a bracketed part starting at `from` ('<', '[' or '{'), nested brackets of the same
// kind included; npos when it does not close.
std::size_t ClosingBracket(std::string_view text, std::size_t from) {
    const char open = text[from];
    const char close = open == '<' ? '>' : open == '[' ? ']' : '}';
    int depth = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == open) {
            ++depth;
        } else if (text[i] == close && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

// An option name at `from`: "-x", "--long", "-long"; its length, or 0 when none starts there.
std::size_t NameLength(std::string_view text, std::size_t from) {
    if (from >= text.size() || text[from] != '-') {
        return 0;
    }
    std::size_t start = from + 1;
    if (start < text.size() && text[start] == '-') {
        ++start;
    }
    if (start >= text.size() || !(IsAsciiLetterOrDigit(text[start]) || text[start] == '?')) {
        return 0;
    }
    std::size_t end = start;
    while (end < text.size() && IsNameChar(text[end])) {
        ++end;
    }
    if (end - from > kLongestName || text[end - 1] == '-' || text[end - 1] == '.') {
        return 0;
    }
    return end - from;
}

// An argument written in capitals ("FILE", "MAJOR[.MINOR]", "KEY[:VALUE]").
std::size_t CapitalsLength(std::string_view text, std::size_t from) {
    if (from >= text.size() || !IsUpper(text[from])) {
        return 0;
    }
    std::size_t end = from;
    bool lower = false;
    while (end < text.size() && text[end] != ' ' && text[end] != ',') {
        if (text[end] == '[') {
            const std::size_t close = ClosingBracket(text, end);
            if (close == std::string_view::npos) {
                return 0;
            }
            end = close + 1;
            continue;
        }
        lower = lower || IsLower(text[end]);
        ++end;
    }
    // "Use", "Enable": a capitalised word starts the description.
    return lower ? 0 : end - from;
}

// The end of a glued argument ("=FILE", "=auto|none"): up to a blank or a comma outside brackets.
std::size_t GluedEnd(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && text[i] != ' ' && text[i] != ',') {
        if (text[i] == '<' || text[i] == '[' || text[i] == '{') {
            const std::size_t close = ClosingBracket(text, i);
            if (close == std::string_view::npos) {
                return text.size();
            }
            i = close + 1;
        } else {
            ++i;
        }
    }
    return i;
}

std::size_t WordCount(std::string_view text) {
    std::size_t words = 0;
    bool inWord = false;
    for (char c : text) {
        if (c == ' ') {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    return words;
}

void SetArgument(HelpOption& option, std::string_view argument) {
    if (option.argument.empty()) {
        option.argument = std::string(argument);
    }
}

struct ParsedLine {
    HelpOption option;
    std::size_t descriptionColumn = 0;  // 0: the description does not start on this line
};

// The argument after one blank: "<NUM>", "{a,b}", "[host]", "FILE", or "script, --long".
bool ReadSpacedArgument(std::string_view text, std::size_t& p, HelpOption& option) {
    const std::size_t q = p + 1;
    if (text[q] == '<' || text[q] == '{' ||
        (text[q] == '[' && text.size() > q + 1 && text[q + 1] != '-')) {
        if (ClosingBracket(text, q) == std::string_view::npos) {
            return false;
        }
        // The value goes on after its brackets: "<NUM>..." (clap),
        // "[protocol://]host[:port]" (curl).
        const std::size_t end = GluedEnd(text, q);
        SetArgument(option, text.substr(q, end - q));
        p = end;
    } else if (const std::size_t capitals = CapitalsLength(text, q); capitals > 0) {
        SetArgument(option, text.substr(q, capitals));
        p = q + capitals;
    } else if (const std::size_t comma = text.find(", -", q);
               comma != std::string_view::npos && IsLower(text[q]) &&
               text.substr(q, comma - q).find(' ') == std::string_view::npos) {
        // "-e script, --expression=script": a value in small letters before another name.
        SetArgument(option, text.substr(q, comma - q));
        p = comma;
    }
    return true;
}

// Reads the argument written right after a name at `p` (glued, in brackets or after one
// blank) and moves `p` past it. False when a bracket is left open: not an option line.
bool ReadNameArgument(std::string_view text, std::size_t& p, HelpOption& option) {
    if (p < text.size() && text[p] == '=') {
        const std::size_t end = GluedEnd(text, p + 1);
        SetArgument(option, text.substr(p + 1, end - p - 1));
        option.glued = true;
        p = end;
    } else if (p + 1 < text.size() && text[p] == '[' && text[p + 1] == '=') {
        const std::size_t close = ClosingBracket(text, p);
        if (close == std::string_view::npos) {
            return false;
        }
        SetArgument(option, text.substr(p + 2, close - p - 2));
        option.optionalArgument = true;
        p = close + 1;
    } else if (p < text.size() && (text[p] == '[' || text[p] == '<')) {
        const std::size_t close = ClosingBracket(text, p);
        if (close == std::string_view::npos) {
            return false;
        }
        SetArgument(option, text.substr(p + 1, close - p - 1));
        option.optionalArgument = text[p] == '[';
        option.glued = true;
        p = close + 1;
    } else if (p + 1 < text.size() && text[p] == ' ' && text[p + 1] != ' ') {
        return ReadSpacedArgument(text, p, option);
    }
    return true;
}

// Moves `p` to another name of the same option: "-x, --long", "-v|--volume", or pandoc's
// columns. False when none follows.
bool SkipToNextName(std::string_view text, std::size_t& p, const HelpOption& option) {
    if (p + 2 < text.size() && text[p] == ',' && text[p + 1] == ' ' && text[p + 2] == '-') {
        p += 2;
    } else if (p + 1 < text.size() && text[p] == '|' && text[p + 1] == '-') {
        p += 1;
    } else if (const std::size_t gap = CountBlanks(text, p);
               gap >= 1 && option.names.back().size() == 2 && text.compare(p + gap, 2, "--") == 0 &&
               NameLength(text, p + gap) > 0) {
        // "-s                    --standalone": a short name, then its long name.
        p += gap;
    } else {
        return false;
    }
    return true;
}

// Reads what follows the names from `p`: a value in small letters, then the description.
void ReadDescription(const Line& line, std::size_t p, ParsedLine& parsed) {
    std::string_view text = line.text;
    HelpOption& option = parsed.option;
    const std::size_t gap = CountBlanks(text, p);
    std::string_view rest = text.substr(std::min(text.size(), p + gap));
    if (option.argument.empty() && gap == 1 && !rest.empty() &&
        (IsLower(rest[0]) || rest[0] == '_')) {
        // A value named in small letters: "-h topic   show help", "-name value" (Go).
        const std::size_t next = rest.find("  ");
        if (next != std::string_view::npos) {
            const std::string_view candidate = rest.substr(0, next);
            if (WordCount(candidate) <= 3) {
                option.argument = std::string(candidate);
                const std::size_t skip = next + CountBlanks(rest, next);
                rest = rest.substr(skip);
            }
        } else if (rest.find(' ') == std::string_view::npos && rest.size() <= 24) {
            option.argument = std::string(rest);
            rest = {};
        }
    }
    option.description = std::string(rest);
    if (!rest.empty()) {
        parsed.descriptionColumn = line.indent + (text.size() - rest.size());
    }
}

// Reads an option line: names, their argument, and the description after them.
std::optional<ParsedLine> ReadOptionLine(const Line& line) {
    std::string_view text = line.text;
    ParsedLine parsed;
    HelpOption& option = parsed.option;
    std::size_t p = 0;
    while (true) {
        const std::size_t length = NameLength(text, p);
        if (length == 0) {
            break;
        }
        option.names.emplace_back(text.substr(p, length));
        p += length;
        if (!ReadNameArgument(text, p, option)) {
            return std::nullopt;
        }
        if (!SkipToNextName(text, p, option)) {
            break;
        }
    }
    if (option.names.empty()) {
        return std::nullopt;
    }
    if (p < text.size() && text[p] != ' ') {
        return std::nullopt;  // "-foo:bar", "-x." : not an option column
    }
    ReadDescription(line, p, parsed);
    return parsed;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsHeading(const Line& line) {
    const std::string_view text = line.text;
    if (text.size() < 2 || text.size() > kLongestHeading || text.back() != ':' || line.indent > 4 ||
        text[0] == '-' || StartsWithNoCase(text, "usage")) {
        return false;
    }
    return WordCount(text) <= 16;
}

std::string_view StripQuotes(std::string_view text) {
    text = TrimView(text);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

// "(default: X)", "(default X)", "[default: X]", "(default \"x\")", "(default=X)".
std::string FindDefault(std::string_view text) {
    std::size_t from = 0;
    while (true) {
        const std::size_t at = FindNoCase(text, "default", from);
        if (at == std::string_view::npos) {
            return {};
        }
        from = at + 7;
        if (at == 0 || (text[at - 1] != '(' && text[at - 1] != '[')) {
            continue;
        }
        const char close = text[at - 1] == '(' ? ')' : ']';
        std::size_t start = at + 7;
        if (start < text.size() && (text[start] == ':' || text[start] == '=')) {
            ++start;
        }
        if (start >= text.size() || (text[start] != ' ' && text[start - 1] == 'd')) {
            continue;  // "(defaults to ..." or "(default)"
        }
        const std::size_t end = text.find(close, start);
        if (end == std::string_view::npos) {
            return {};
        }
        const std::string_view value = StripQuotes(text.substr(start, end - start));
        if (!value.empty()) {
            return std::string(value);
        }
    }
}

std::vector<std::string> SplitChoices(std::string_view text, std::string_view separator) {
    std::vector<std::string> choices;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find(separator, from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view choice = TrimView(text.substr(from, end - from));
        if (!choice.empty()) {
            choices.emplace_back(choice);
        }
        from = end + separator.size();
    }
    return choices;
}

bool IsChoiceWord(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return IsLower(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
    });
}

// Choices from the argument ("{a,b}", "auto|none|preserve") or the description
// ("[possible values: a, b]").
void FindChoices(HelpOption& option) {
    const std::string_view argument = option.argument;
    if (argument.size() > 2 && argument.front() == '{' && argument.back() == '}') {
        option.choices = SplitChoices(argument.substr(1, argument.size() - 2), ",");
    } else if (argument.find('|') != std::string_view::npos) {
        std::vector<std::string> words = SplitChoices(argument, "|");
        if (words.size() >= 2 && std::all_of(words.begin(), words.end(),
                                             [](const auto& w) { return IsChoiceWord(w); })) {
            option.choices = std::move(words);
        }
    }
    const std::size_t at = FindNoCase(option.description, "[possible values: ");
    if (option.choices.empty() && at != std::string::npos) {
        const std::size_t start = at + 18;
        const std::size_t end = option.description.find(']', start);
        if (end != std::string::npos) {
            option.choices =
                SplitChoices(std::string_view(option.description).substr(start, end - start), ",");
        }
    }
}

void Finish(HelpOption& option) {
    option.description = std::string(TrimView(option.description));
    FindChoices(option);
    option.defaultValue = FindDefault(option.description);
}

// sox lists one option once per value ("--combine concatenate", "--combine sequence"): the
// values become the choices of the first.
void MergeRepeatedOptions(HelpText& help) {
    std::unordered_map<std::string, HelpOption*> seen;
    for (HelpSection& section : help.sections) {
        std::vector<HelpOption> kept;
        kept.reserve(section.options.size());
        for (HelpOption& option : section.options) {
            const auto found = seen.find(PreferredName(option));
            if (found == seen.end()) {
                // `kept` never grows past its reserve, so the pointer stays good; moving the
                // vector into the section keeps its elements where they are.
                kept.push_back(std::move(option));
                seen.emplace(PreferredName(kept.back()), &kept.back());
                continue;
            }
            HelpOption& first = *found->second;
            if (first.argument == option.argument) {
                continue;  // ffmpeg lists some options under two headings: the first place counts
            }
            if (IsChoiceWord(first.argument) && IsChoiceWord(option.argument)) {
                if (first.choices.empty()) {
                    first.choices.push_back(first.argument);
                }
                first.choices.push_back(option.argument);
                continue;
            }
            kept.push_back(std::move(option));
        }
        section.options = std::move(kept);
    }
}

}  // namespace

std::size_t HelpText::OptionCount() const {
    std::size_t count = 0;
    for (const HelpSection& section : sections) {
        count += section.options.size();
    }
    return count;
}

const std::string& PreferredName(const HelpOption& option) {
    for (const std::string& name : option.names) {
        if (name.size() > 2 && name[1] == '-') {
            return name;
        }
    }
    return option.names.front();
}

bool PrintsAndExits(const HelpOption& option) {
    for (const std::string& name : option.names) {
        const std::string lower = LowerAscii(name);
        // "--help-all", "--long-help", "--help-effect": every kind of help only prints.
        if (lower.starts_with("--help") || lower.starts_with("-help") || lower.ends_with("-help") ||
            lower == "--version" || lower == "--usage" || lower == "-version" || lower == "-?" ||
            lower == "-usage") {
            return true;
        }
    }
    // "-h  show help", "-V  print version": short names whose text says they only print.
    std::string lower = LowerAscii(option.description);
    lower.erase(0, lower.find_first_not_of("- "));
    const bool prints = lower.starts_with("show") || lower.starts_with("print") ||
                        lower.starts_with("display") || lower.starts_with("give") ||
                        lower.starts_with("output");
    const bool what = lower.find("help") != std::string::npos ||
                      lower.find("version") != std::string::npos ||
                      lower.find("usage") != std::string::npos;
    return option.names.size() == 1 && option.names.front().size() == 2 && prints && what &&
           lower.size() < 60;
}

HelpText ReadHelpText(std::string_view text) {
    HelpText help;
    help.sections.emplace_back();
    HelpOption* current = nullptr;  // the option whose description may go on
    std::size_t currentIndent = 0;
    std::size_t descriptionColumn = 0;
    std::size_t number = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++number;
        const Line line = MakeLine(text.substr(from, end - from));
        from = end + 1;
        if (line.text.empty()) {
            if (current != nullptr) {
                Finish(*current);  // a blank line ends a description
                current = nullptr;
            }
            continue;
        }
        const bool deeper = current != nullptr && line.indent > currentIndent;
        std::optional<ParsedLine> parsed = ReadOptionLine(line);
        if (deeper && (!parsed || (descriptionColumn > 0 && line.indent >= descriptionColumn))) {
            if (!current->description.empty()) {
                current->description.push_back(' ');
            }
            current->description.append(line.text);
            continue;
        }
        if (parsed) {
            HelpSection& section = help.sections.back();
            if (current != nullptr) {
                Finish(*current);
            }
            parsed->option.line = number;
            section.options.push_back(std::move(parsed->option));
            current = &section.options.back();
            currentIndent = line.indent;
            descriptionColumn = parsed->descriptionColumn;
            continue;
        }
        if (current != nullptr) {
            Finish(*current);
            current = nullptr;
        }
        if (help.usage.empty() && line.indent <= 4 && StartsWithNoCase(line.text, "usage")) {
            // "Usage: gzip [OPTION]...", "usage: ffmpeg ...", "Usage summary: [gopts] ..."
            const std::size_t colon = line.text.find(':');
            if (colon != std::string::npos && colon < 16) {
                help.usage = std::string(TrimView(std::string_view(line.text).substr(colon + 1)));
                continue;
            }
        }
        if (IsHeading(line)) {
            help.sections.push_back(HelpSection{
                std::string(TrimView(std::string_view(line.text).substr(0, line.text.size() - 1))),
                {}});
        }
    }
    if (current != nullptr) {
        Finish(*current);
    }
    MergeRepeatedOptions(help);
    return help;
}

}  // namespace kestrune
