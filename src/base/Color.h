#pragma once
// A colour travels as one word with red in the lowest byte, green in the next and blue in the
// third (0x00BBGGRR), as the presets store it and the colour dialogs take and give it.

#include <cstdint>

namespace kestrune {

struct ColorComponents {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const ColorComponents&, const ColorComponents&) = default;
};

// Each component keeps its lowest eight bits; the word's highest byte is zero.
constexpr std::uint32_t PackColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

// The highest byte of the word is ignored.
constexpr ColorComponents UnpackColor(std::uint32_t color) {
    return {static_cast<std::uint8_t>(color & 0xFFu),
            static_cast<std::uint8_t>((color >> 8) & 0xFFu),
            static_cast<std::uint8_t>((color >> 16) & 0xFFu)};
}

}  // namespace kestrune
