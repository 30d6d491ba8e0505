#pragma once
// Runs code in a child process whose files may not grow past a limit, the way a full disk
// stops a write (SIGXFSZ is ignored, so the write fails with EFBIG instead of killing it).

#include <cstddef>
#include <functional>
#include <string>

namespace kestrune::testing {

// The text `body` returned in the child, or a text starting with "child failed" when the child
// did not finish normally.
std::string WithFileSizeLimit(std::size_t limitBytes, const std::function<std::string()>& body);

}  // namespace kestrune::testing
