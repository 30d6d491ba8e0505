#include <exception>

#include "FileSizeLimit.h"

namespace kestrune::testing {

// Windows has neither fork nor a file size limit: the body runs in the test's own process, and
// a check that needs the limit reports that it could not be made.
std::string RunInChild(const ChildLimits& limits, const std::function<std::string()>& body) {
    if (limits.fileSizeLimit != 0) {
        return "child failed: no file size limit on Windows";
    }
    try {
        return body();
    } catch (const std::exception& error) {
        return std::string("child failed: ") + error.what();
    }
}

std::string WithFileSizeLimit(std::size_t limitBytes, const std::function<std::string()>& body) {
    return RunInChild({.fileSizeLimit = limitBytes}, body);
}

}  // namespace kestrune::testing
