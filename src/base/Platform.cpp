#include "base/Platform.h"

namespace kestrune {

const char* MessageTitle(MessageKind kind) {
    switch (kind) {
        case MessageKind::SyntaxError:
            return "Kestrune Error";
        case MessageKind::Error:
            return "Error";
        case MessageKind::Information:
            return "Information";
    }
    return "Error";
}

}  // namespace kestrune
