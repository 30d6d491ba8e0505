#pragma once
// The colour sequences build tools write (gcc -fdiagnostics-color, CMake, Ninja, test
// runners): ESC [ parameters final-byte. SGR sequences (final "m") set the colours and bold
// of what follows; every such sequence is left out of what is shown, searched and filtered.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace reda {

// A colour: 0 is the text's own colour, otherwise kRgb plus 0xRRGGBB.
inline constexpr std::uint32_t kRgb = 0x1000000;

struct TextStyle {
    std::uint32_t foreground = 0;
    std::uint32_t background = 0;
    bool bold = false;

    bool operator==(const TextStyle&) const = default;
};

// Bytes of the escape sequence that starts at `at`: ESC [ with parameter and intermediate
// bytes up to a final byte, or ESC and one more byte. A sequence cut off by the end of the
// bytes reaches to the end. 0 when no escape starts there.
std::size_t escapeLength(std::string_view bytes, std::size_t at);

// True when the bytes just before `at` end an escape sequence that began no more than a
// few dozen bytes earlier, so a word right after it starts a word.
bool escapeEndsAt(std::string_view bytes, std::size_t at);

// The bytes without escape sequences.
std::string stripEscapes(std::string_view bytes);

// Applies an SGR sequence (the whole escape, as escapeLength() measured it) to `style`;
// other sequences leave it as it is. Unknown and malformed parameters are skipped.
void applyEscape(std::string_view escape, TextStyle& style);

// The 256 colours of xterm: 16 named ones, a 6x6x6 cube and 24 greys.
std::uint32_t paletteColour(unsigned index);

}  // namespace reda
