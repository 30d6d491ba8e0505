#include "CliPlatform.h"

#include <clocale>
#include <ctime>
#include <ostream>

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
    // The user's locale decides the short date ("%x") and the time ("%X").
    std::setlocale(LC_TIME, "");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%x %X", &local);
    return std::string(buffer, n);
}

}  // namespace kestrune::cli
