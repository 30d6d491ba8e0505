#include "LanguageChoice.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "base/LineReader.h"
#include "base/Text.h"

namespace reda {

LanguageChoice parseLanguageChoice(std::string_view iniBytes) {
    LanguageChoice choice = LanguageChoice::System;
    // Read as Kestrune reads it: the last line with the key counts, whatever its section.
    kestrune::ForEachKeyLine(iniBytes, [&choice](const std::string& key, const std::string& value) {
        if (key != "language") {
            return;
        }
        const std::string folded = kestrune::LowerAscii(value);
        choice = folded == "chinese"   ? LanguageChoice::Chinese
                 : folded == "english" ? LanguageChoice::English
                                       : LanguageChoice::System;
    });
    return choice;
}

LanguageChoice readLanguageChoice(const std::filesystem::path& configIni) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(configIni, ec)) {
        return LanguageChoice::System;
    }
    std::ifstream in(configIni, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseLanguageChoice(bytes);
}

WindowLanguage resolveLanguage(LanguageChoice choice, const std::vector<std::string>& uiLanguages) {
    switch (choice) {
        case LanguageChoice::Chinese:
            return WindowLanguage::Chinese;
        case LanguageChoice::English:
            return WindowLanguage::English;
        case LanguageChoice::System:
            break;
    }
    if (uiLanguages.empty()) {
        return WindowLanguage::English;
    }
    const std::string first = kestrune::LowerAscii(uiLanguages.front());
    const bool chinese = first == "zh" || first.starts_with("zh-") || first.starts_with("zh_");
    return chinese ? WindowLanguage::Chinese : WindowLanguage::English;
}

}  // namespace reda
