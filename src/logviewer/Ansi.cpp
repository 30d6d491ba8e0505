#include "Ansi.h"

#include <algorithm>
#include <array>
#include <vector>

namespace reda {

namespace {

constexpr char kEscape = '\x1b';
constexpr std::size_t kLongestEscape = 64;  // longer ones are left as text

bool isFinal(unsigned char c) {
    return c >= 0x40 && c <= 0x7E;
}

bool isParameter(unsigned char c) {
    return c >= 0x20 && c <= 0x3F;  // digits, ";", ":", "?" and the intermediate bytes
}

// The numbers of "1;38;5;196", empty ones as 0; ":" separates like ";".
std::vector<unsigned> parameters(std::string_view text) {
    std::vector<unsigned> out{0};
    for (const char c : text) {
        if (c == ';' || c == ':') {
            out.push_back(0);
        } else if (c >= '0' && c <= '9') {
            unsigned& n = out.back();
            n = n > 100000 ? n : n * 10 + static_cast<unsigned>(c - '0');
        }
    }
    return out;
}

}  // namespace

std::size_t escapeLength(std::string_view bytes, std::size_t at) {
    if (at >= bytes.size() || bytes[at] != kEscape) {
        return 0;
    }
    if (at + 1 >= bytes.size()) {
        return 1;
    }
    if (bytes[at + 1] != '[') {
        // ESC ( B and ESC ) 0 pick a character set; ESC and one byte from "0" to "~" is a
        // command of its own. Either is shown as nothing, like a terminal does.
        const auto next = static_cast<unsigned char>(bytes[at + 1]);
        if (next == '(' || next == ')') {
            return std::min<std::size_t>(3, bytes.size() - at);
        }
        return next >= 0x30 && next <= 0x7E ? 2 : 0;
    }
    for (std::size_t i = at + 2; i < bytes.size() && i - at < kLongestEscape; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (isFinal(c)) {
            return i + 1 - at;
        }
        if (!isParameter(c)) {
            return 0;  // broken: shown as the bytes it is
        }
    }
    return bytes.size() - at < kLongestEscape ? bytes.size() - at : 0;
}

bool escapeEndsAt(std::string_view bytes, std::size_t at) {
    if (at < 2 || at > bytes.size() || !isFinal(static_cast<unsigned char>(bytes[at - 1]))) {
        return false;
    }
    for (std::size_t i = at - 1; i-- > 0 && at - i <= kLongestEscape;) {
        if (bytes[i] == kEscape) {
            return escapeLength(bytes, i) == at - i;
        }
        if (!isParameter(static_cast<unsigned char>(bytes[i])) && bytes[i] != '[') {
            return false;
        }
    }
    return false;
}

std::string stripEscapes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = escapeLength(bytes, i);
        if (length > 0) {
            i += length;
        } else {
            out.push_back(bytes[i++]);
        }
    }
    return out;
}

std::uint32_t paletteColour(unsigned index) {
    static constexpr std::array<std::uint32_t, 16> named{
        0x000000, 0xcd0000, 0x00cd00, 0xcdcd00, 0x0000ee, 0xcd00cd, 0x00cdcd, 0xe5e5e5,
        0x7f7f7f, 0xff0000, 0x00ff00, 0xffff00, 0x5c5cff, 0xff00ff, 0x00ffff, 0xffffff};
    if (index < 16) {
        return kRgb | named[index];
    }
    if (index < 232) {
        const unsigned n = index - 16;
        auto level = [](unsigned v) { return v == 0 ? 0u : 55 + v * 40; };
        return kRgb | (level(n / 36) << 16) | (level(n / 6 % 6) << 8) | level(n % 6);
    }
    const unsigned grey = 8 + (std::min(index, 255u) - 232) * 10;
    return kRgb | (grey << 16) | (grey << 8) | grey;
}

void applyEscape(std::string_view escape, TextStyle& style) {
    if (escape.size() < 3 || escape[1] != '[' || escape.back() != 'm') {
        return;
    }
    const std::vector<unsigned> p = parameters(escape.substr(2, escape.size() - 3));
    for (std::size_t i = 0; i < p.size(); ++i) {
        const unsigned n = p[i];
        if (n == 0) {
            style = TextStyle{};
        } else if (n == 1) {
            style.bold = true;
        } else if (n == 22) {
            style.bold = false;
        } else if (n >= 30 && n <= 37) {
            style.foreground = paletteColour(n - 30);
        } else if (n >= 90 && n <= 97) {
            style.foreground = paletteColour(n - 90 + 8);
        } else if (n >= 40 && n <= 47) {
            style.background = paletteColour(n - 40);
        } else if (n >= 100 && n <= 107) {
            style.background = paletteColour(n - 100 + 8);
        } else if (n == 39) {
            style.foreground = 0;
        } else if (n == 49) {
            style.background = 0;
        } else if (n == 38 || n == 48) {
            std::uint32_t& target = n == 38 ? style.foreground : style.background;
            if (i + 2 < p.size() && p[i + 1] == 5) {
                target = paletteColour(std::min(p[i + 2], 255u));
                i += 2;
            } else if (i + 4 < p.size() && p[i + 1] == 2) {
                target = kRgb | (std::min(p[i + 2], 255u) << 16) | (std::min(p[i + 3], 255u) << 8) |
                         std::min(p[i + 4], 255u);
                i += 4;
            } else {
                return;  // cut short: the rest means nothing
            }
        }
    }
}

}  // namespace reda
