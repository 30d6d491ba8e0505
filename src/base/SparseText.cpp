#include "base/SparseText.h"

#include <ostream>

namespace kestrune {

std::ostream& operator<<(std::ostream& out, const SparseText& text) {
    return out << text.str();
}

}  // namespace kestrune
