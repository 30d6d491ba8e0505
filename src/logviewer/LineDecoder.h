#pragma once
// Turns a line's bytes into what the view draws: UTF-16 text with one unit per column, tabs
// expanded, control bytes in caret notation ("^@" for NUL, as less shows them, since few
// fonts have the control pictures) and invalid UTF-8 as U+FFFD, with the column of every
// byte so selections and matches (byte ranges) map onto the screen.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Ansi.h"

namespace reda {

inline constexpr int kTabWidth = 8;

struct DisplayLine {
    std::u16string text;
    // columns[i] is the column where byte i begins; one more entry for the end of the
    // decoded bytes. Bytes inside a character share its column.
    std::vector<std::uint32_t> columns;
    // Bytes decoded; fewer than the line has when it was clipped.
    std::size_t decodedBytes = 0;
    bool clipped = false;
    // Column ranges [begin, end) that stand for bytes the log did not hold as text (control
    // bytes, invalid UTF-8), so the view can set them apart from the same characters written.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> marks;
    // Where the colours of escape sequences change: from this column on, this style. Escape
    // sequences themselves take no column.
    std::vector<std::pair<std::uint32_t, TextStyle>> styles;

    std::size_t columnOfByte(std::size_t byte) const;
    // The first byte whose column is at or after `column` (the decoded end when none is).
    std::size_t byteAtColumn(std::size_t column) const;
};

// A single-byte code page: the characters of the bytes 0x80 to 0xFF, U+FFFD for a byte the
// code page leaves undefined.
using CodePage = std::array<char16_t, 128>;

// Windows-1252, as tools on Windows with a Western locale write their logs.
const CodePage& windows1252();

// Decodes UTF-8, or the single-byte `codePage` when one is given.
DisplayLine decodeLine(std::string_view bytes, std::size_t maxColumns,
                       const CodePage* codePage = nullptr);

}  // namespace reda
