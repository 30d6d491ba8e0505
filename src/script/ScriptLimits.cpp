#include "script/ScriptLimits.h"

#include <string>

namespace kestrune {

namespace {

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                  : std::to_string(bytes) + " bytes";
}

}  // namespace

ScriptTooLarge::ScriptTooLarge(std::size_t limit)
    : std::runtime_error("The script would be larger than " + SizeText(limit) + ".") {}

ScriptTooComplex::ScriptTooComplex()
    : std::runtime_error(
          "The layout is too complex to expand: its command lines name one another's programs "
          "too often.") {}

}  // namespace kestrune
