#pragma once
// What every fuzz target shares: a program folder of its own for the files the readers are
// given, and a platform that answers nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/NullPlatform.h"

namespace kestrune::fuzz {

// A folder made once per process (with SpecFiles/ and Config/), removed at exit; ends with "/".
const std::string& ProgramFolder();

// Writes `bytes` to `relative` in the program folder and returns the full path.
std::string WriteInFolder(std::string_view relative, std::string_view bytes);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A specification with every field kind, stages, lending and a layout using every variable, so
// presets and settings have something to act on.
extern const char* const kRichSpecification;

}  // namespace kestrune::fuzz
