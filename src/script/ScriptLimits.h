#pragma once
// How large a script and how much work its expansion may grow to, and the errors that say so.

#include <cstddef>
#include <stdexcept>

namespace kestrune {

// Expanded text may insert one program's command line into another's again and again, so its
// size is not bounded by the files it comes from. No real script comes near this.
inline constexpr std::size_t kMaxScriptBytes = std::size_t{64} << 20;

// Replacing program by program looks at the whole line again after every replacement that may
// have formed a new variable. Lines whose programs keep inserting variables could take hours;
// this many bytes looked at take a second or two, and no real layout line comes near it.
inline constexpr std::size_t kMaxExpansionWork = std::size_t{256} << 20;

// Thrown instead of building a text longer than the limit asked for; says the limit.
class ScriptTooLarge : public std::runtime_error {
  public:
    explicit ScriptTooLarge(std::size_t limit);
};

// Thrown when expanding a line would take longer than its work limit allows.
class ScriptTooComplex : public std::runtime_error {
  public:
    ScriptTooComplex();
};

}  // namespace kestrune
