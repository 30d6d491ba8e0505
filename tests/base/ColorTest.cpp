#include "base/Color.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kestrune {
namespace {

struct ColorCase {
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
    std::uint32_t word;
};

// Words that differ in one byte only, so a component in the wrong place shows.
const ColorCase kColors[] = {
    {0, 0, 0, 0x000000},       {255, 0, 0, 0x0000FF},   {0, 255, 0, 0x00FF00},
    {0, 0, 255, 0xFF0000},     {1, 2, 3, 0x030201},     {0x12, 0x34, 0x56, 0x563412},
    {255, 255, 255, 0xFFFFFF}, {128, 64, 32, 0x204080},
};

TEST(Color, PacksRedLowestThenGreenThenBlue) {
    for (const ColorCase& c : kColors) {
        EXPECT_EQ(PackColor(c.red, c.green, c.blue), c.word)
            << c.red << ' ' << c.green << ' ' << c.blue;
    }
}

TEST(Color, UnpacksTheSameComponents) {
    for (const ColorCase& c : kColors) {
        const ColorComponents parts = UnpackColor(c.word);
        EXPECT_EQ(parts.red, c.red) << std::hex << c.word;
        EXPECT_EQ(parts.green, c.green) << std::hex << c.word;
        EXPECT_EQ(parts.blue, c.blue) << std::hex << c.word;
    }
}

struct StrayBitsCase {
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
    std::uint32_t packed;
};

// A component above 255 keeps its lowest byte and never spills into its neighbour.
const StrayBitsCase kStrayBits[] = {
    {0x100, 0, 0, 0x000000},      {0x1FF, 0, 0, 0x0000FF},         {0, 0x1AB, 0, 0x00AB00},
    {0, 0, 0xFFFFFFFF, 0xFF0000}, {0x301, 0x302, 0x303, 0x030201},
};

TEST(Color, PackingKeepsTheLowestByteOfEachComponent) {
    for (const StrayBitsCase& c : kStrayBits) {
        EXPECT_EQ(PackColor(c.red, c.green, c.blue), c.packed)
            << std::hex << c.red << ' ' << c.green << ' ' << c.blue;
    }
}

struct HighByteCase {
    std::uint32_t word;
    ColorComponents parts;
};

const HighByteCase kHighBytes[] = {
    {0xFF000000, {0, 0, 0}},
    {0x01030201, {1, 2, 3}},
    {0xFFFFFFFF, {255, 255, 255}},
};

TEST(Color, UnpackingIgnoresTheHighestByte) {
    for (const HighByteCase& c : kHighBytes) {
        EXPECT_EQ(UnpackColor(c.word), c.parts) << std::hex << c.word;
    }
}

}  // namespace
}  // namespace kestrune
