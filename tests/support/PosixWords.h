#pragma once
// Splits one simple command into its words the way /bin/sh does, without running anything:
// quotes and escaping backslashes are removed, blanks separate words. Whatever would make the
// shell do more than hand over literal words (an expansion, a command substitution, an operator,
// a pattern, an unfinished quote, a second command after a comment) is reported instead, so a
// test can tell that text inserted into a line stayed data.

#include <string>
#include <string_view>
#include <vector>

namespace kestrune::testing {

struct PosixWords {
    std::vector<std::string> words;
    std::string problem;  // empty when the line is only literal words
};

inline PosixWords SplitPosixWords(std::string_view line) {
    PosixWords result;
    std::string word;
    bool inWord = false;
    auto fail = [&result](std::string text, std::size_t at) {
        result.problem = text + " at byte " + std::to_string(at);
        return result;
    };
    auto expandsAfterDollar = [&line](std::size_t at) {
        if (at + 1 >= line.size()) {
            return false;
        }
        const char next = line[at + 1];
        return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') ||
               (next >= '0' && next <= '9') ||
               std::string_view("_{(@*#?-$!").find(next) != std::string_view::npos;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inWord) {
                result.words.push_back(word);
                word.clear();
                inWord = false;
            }
            continue;
        }
        if (c == '\\') {
            if (i + 1 >= line.size()) {
                return fail("backslash at the end", i);
            }
            ++i;
            if (line[i] != '\n') {  // a backslash and a line end join two lines
                word.push_back(line[i]);
                inWord = true;
            }
            continue;
        }
        if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == std::string_view::npos) {
                return fail("unfinished single quote", i);
            }
            word.append(line.substr(i + 1, close - i - 1));
            inWord = true;
            i = close;
            continue;
        }
        if (c == '"') {
            inWord = true;
            for (++i;; ++i) {
                if (i >= line.size()) {
                    return fail("unfinished double quote", i);
                }
                const char d = line[i];
                if (d == '"') {
                    break;
                }
                if (d == '`') {
                    return fail("command substitution", i);
                }
                if (d == '$' && expandsAfterDollar(i)) {
                    return fail("expansion", i);
                }
                if (d == '\\' && i + 1 < line.size() &&
                    std::string_view("$`\"\\\n").find(line[i + 1]) != std::string_view::npos) {
                    ++i;
                    if (line[i] != '\n') {
                        word.push_back(line[i]);
                    }
                    continue;
                }
                word.push_back(d);
            }
            continue;
        }
        if (c == '$' && expandsAfterDollar(i)) {
            return fail("expansion", i);
        }
        if (c == '`') {
            return fail("command substitution", i);
        }
        if (std::string_view(";&|<>()\n").find(c) != std::string_view::npos) {
            return fail("operator", i);
        }
        if (std::string_view("*?[").find(c) != std::string_view::npos) {
            return fail("pattern", i);
        }
        if (!inWord && c == '#') {
            // A comment ends the command; after its line end only more comments may follow.
            for (;;) {
                i = line.find('\n', i);
                if (i == std::string_view::npos) {
                    break;
                }
                const std::size_t next = line.find_first_not_of(" \t\n", i);
                if (next == std::string_view::npos) {
                    break;
                }
                if (line[next] != '#') {
                    return fail("a command after a comment", next);
                }
                i = next;
            }
            break;
        }
        if (!inWord && c == '~') {
            return fail("tilde", i);
        }
        word.push_back(c);
        inWord = true;
    }
    if (inWord) {
        result.words.push_back(word);
    }
    return result;
}

}  // namespace kestrune::testing
