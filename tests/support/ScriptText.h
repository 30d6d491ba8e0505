#pragma once
// Expected script text written once with CR LF line ends and turned into the platform's own.

#include <string>

#include "base/Paths.h"

namespace kestrune::testing {

inline std::string ScriptLines(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.append(kScriptLineEnd);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

inline const std::string kViewerName(kLogViewerFileName);

}  // namespace kestrune::testing
