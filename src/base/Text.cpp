#include "base/Text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace kestrune {

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return text.substr(text.size());
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = LowerAscii(c);
    }
    return result;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= haystack.size() ? from : std::string_view::npos;
    }
    if (haystack.size() < needle.size()) {
        return std::string_view::npos;
    }
    const char first = LowerAscii(needle[0]);
    const std::size_t last = haystack.size() - needle.size();
    if (first == needle[0] && !(first >= 'a' && first <= 'z')) {
        // Not a letter: only the byte itself can begin a match.
        while (from <= last) {
            const void* hit = std::memchr(haystack.data() + from, first, last - from + 1);
            if (hit == nullptr) {
                return std::string_view::npos;
            }
            const auto at =
                static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
            if (EqualsNoCase(haystack.substr(at + 1, needle.size() - 1), needle.substr(1))) {
                return at;
            }
            from = at + 1;
        }
        return std::string_view::npos;
    }
    for (std::size_t i = from; i <= last; ++i) {
        if (LowerAscii(haystack[i]) == first &&
            EqualsNoCase(haystack.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    return FindNoCase(haystack, needle) != std::string_view::npos;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view pattern,
                             std::string_view replacement) {
    if (pattern.empty()) {
        return std::string(text);
    }
    std::string result;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = FindNoCase(text, pattern, pos);
        if (hit == std::string_view::npos) {
            break;
        }
        result.append(text.substr(pos, hit - pos));
        result.append(replacement);
        pos = hit + pattern.size();
    }
    result.append(text.substr(pos));
    return result;
}

bool IsTrueFlag(std::string_view value) {
    return EqualsNoCase(value, "true");
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const char* begin = text.data() + pos;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, magnitude, base);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal text names the 32 bits directly, as "$FFFFFFFF" does -1.
        if (magnitude > 0xFFFFFFFFull) {
            return std::nullopt;
        }
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative) {
            bits = 0u - bits;
        }
        return static_cast<std::int32_t>(bits);
    }
    const std::uint64_t limit =
        negative ? 2147483648ull
                 : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    if (magnitude > limit) {
        return std::nullopt;
    }
    const auto signedValue = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

std::int32_t IntegerOr(std::string_view text, std::int32_t fallback) {
    return ParseInteger(text).value_or(fallback);
}

std::optional<double> ParseReal(std::string_view text) {
    std::size_t pos = 0;
    if (!text.empty() && text[0] == '+') {
        pos = 1;  // from_chars takes "-" but not "+"
        if (text.size() > 1 && text[1] == '-') {
            return std::nullopt;
        }
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    // Only plain decimal notation: no "inf", "nan" or hexadecimal floats.
    for (std::size_t i = pos; i < text.size(); ++i) {
        const char c = text[i];
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed) {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const char* begin = text.data() + pos;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ptr != end) {
        return std::nullopt;
    }
    if (ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FormatReal(double value) {
    if (value == 0.0) {
        return "0";  // also for -0.0
    }
    // to_chars ignores the C locale, which a GUI toolkit may have switched to one with ",".
    char buffer[64];
    const auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string();
}

std::optional<bool> ParseBoolean(std::string_view text) {
    if (auto number = ParseInteger(text); number && text.find('$') == std::string_view::npos) {
        return *number != 0;
    }
    if (auto real = ParseReal(text)) {
        return *real != 0.0;
    }
    if (EqualsNoCase(text, "true")) {
        return true;
    }
    if (EqualsNoCase(text, "false")) {
        return false;
    }
    return std::nullopt;
}

bool SplitAtEquals(std::string_view line, std::string& key, std::string& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = LowerAscii(TrimView(line.substr(0, eq)));
    value = Trim(line.substr(eq + 1));
    return true;
}

std::string QuotedLine(std::string_view line) {
    if (line.size() <= kQuotedLineBytes) {
        return std::string(line);
    }
    auto continuation = [&line](std::size_t at) {
        return (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80;
    };
    // Never ends inside a UTF-8 sequence: a character that spans the cut goes as a whole. Bytes
    // that are no UTF-8 are cut where the limit falls.
    std::size_t cut = kQuotedLineBytes;
    while (cut > kQuotedLineBytes - 3 && continuation(cut)) {
        --cut;
    }
    if (continuation(cut)) {
        cut = kQuotedLineBytes;
    }
    return std::string(line.substr(0, cut)) + std::string(kEllipsis);
}

}  // namespace kestrune
