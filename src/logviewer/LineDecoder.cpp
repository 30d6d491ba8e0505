#include "LineDecoder.h"

#include <algorithm>

namespace reda {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence at `p`, 0 when the bytes there are not one. Rejects
// overlong forms, surrogates and code points beyond U+10FFFF.
std::size_t sequenceLength(const unsigned char* p, std::size_t left, char32_t& cp) {
    const unsigned char b0 = p[0];
    auto cont = [&](std::size_t i) { return i < left && (p[i] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF && cont(1)) {
        cp = static_cast<char32_t>(((b0 & 0x1F) << 6) | (p[1] & 0x3F));
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF && cont(1) && cont(2)) {
        if ((b0 == 0xE0 && p[1] < 0xA0) || (b0 == 0xED && p[1] >= 0xA0)) {
            return 0;
        }
        cp = static_cast<char32_t>(((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4 && cont(1) && cont(2) && cont(3)) {
        if ((b0 == 0xF0 && p[1] < 0x90) || (b0 == 0xF4 && p[1] >= 0x90)) {
            return 0;
        }
        cp = static_cast<char32_t>(((b0 & 0x07) << 18) | ((p[1] & 0x3F) << 12) |
                                   ((p[2] & 0x3F) << 6) | (p[3] & 0x3F));
        return 4;
    }
    return 0;
}

}  // namespace

std::size_t DisplayLine::columnOfByte(std::size_t byte) const {
    if (columns.empty()) {
        return 0;
    }
    return columns[std::min(byte, columns.size() - 1)];
}

std::size_t DisplayLine::byteAtColumn(std::size_t column) const {
    const auto it = std::lower_bound(columns.begin(), columns.end(), column);
    if (it == columns.end()) {
        return decodedBytes;
    }
    // Columns never decrease, so this is the first byte of its character.
    return std::min(static_cast<std::size_t>(it - columns.begin()), decodedBytes);
}

const CodePage& windows1252() {
    static const CodePage table = [] {
        // 0x80 to 0x9F differ from Latin-1; five of them are undefined.
        static constexpr char16_t low[32] = {
            0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
            0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
        CodePage out{};
        for (int i = 0; i < 128; ++i) {
            out[static_cast<std::size_t>(i)] = i < 32 ? low[i] : static_cast<char16_t>(0x80 + i);
        }
        return out;
    }();
    return table;
}

DisplayLine decodeLine(std::string_view bytes, std::size_t maxColumns, const CodePage* codePage) {
    DisplayLine out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const std::size_t reserve = std::min(n, maxColumns) + 1;
    out.text.reserve(reserve);
    out.columns.reserve(reserve);
    std::size_t i = 0;
    TextStyle style;
    while (i < n) {
        if (out.text.size() >= maxColumns) {
            out.clipped = true;
            break;
        }
        const auto column = static_cast<std::uint32_t>(out.text.size());
        const unsigned char b = p[i];
        std::size_t length = 1;
        if (const std::size_t escape = escapeLength(bytes, i); escape > 0) {
            const TextStyle before = style;
            applyEscape(bytes.substr(i, escape), style);
            if (!(style == before)) {
                if (!out.styles.empty() && out.styles.back().first == column) {
                    out.styles.back().second = style;
                } else {
                    out.styles.emplace_back(column, style);
                }
            }
            length = escape;
        } else if (b == '\t') {
            out.text.append(kTabWidth - out.text.size() % kTabWidth, u' ');
        } else if (b < 0x20 || b == 0x7F) {
            out.text.push_back(u'^');
            out.text.push_back(static_cast<char16_t>(b ^ 0x40));
            out.marks.emplace_back(column, column + 2);
        } else if (b < 0x80) {
            out.text.push_back(static_cast<char16_t>(b));
        } else if (codePage != nullptr) {
            const char16_t c = (*codePage)[b - 0x80];
            out.text.push_back(c);
            if (c == kReplacement) {
                out.marks.emplace_back(column, column + 1);
            }
        } else {
            char32_t cp = 0;
            length = sequenceLength(p + i, n - i, cp);
            if (length == 0 || cp < 0xA0) {
                // Invalid, or a C1 control that draws as nothing useful.
                length = std::max<std::size_t>(length, 1);
                out.text.push_back(kReplacement);
                out.marks.emplace_back(column, column + 1);
            } else if (cp >= 0x10000) {
                const char32_t v = cp - 0x10000;
                out.text.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
                out.text.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
            } else {
                out.text.push_back(static_cast<char16_t>(cp));
            }
        }
        out.columns.insert(out.columns.end(), length, column);
        i += length;
    }
    out.decodedBytes = i;
    out.columns.push_back(static_cast<std::uint32_t>(out.text.size()));
    return out;
}

}  // namespace reda
