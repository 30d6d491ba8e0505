#include "CliPlatform.h"

#include <ctime>
#include <ostream>

#include "base/DateTimeText.h"

namespace kestrune::cli {

std::string MessageBlock(std::string_view title, std::string_view text) {
    std::string block(title);
    block += ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;  // CR LF is written as a single line feed
        }
        block += text[i];
    }
    block += '\n';
    return block;
}

void CliPlatform::ShowMessage(MessageKind kind, const std::string& text) {
    ++messages_;
    err_ << MessageBlock(MessageTitle(kind), text) << std::flush;
}

std::string CliPlatform::LocalDateTimeText() {
    return kestrune::LocalDateTimeText(std::time(nullptr));
}

}  // namespace kestrune::cli
