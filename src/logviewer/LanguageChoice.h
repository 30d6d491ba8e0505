#pragma once
// Which language REDA's window speaks. Kestrune's own choice wins, so the two windows a user
// works with agree: the Language key of Config/config.ini beside REDA's Config/REDA.ini.
// Without it the desktop's interface language decides.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace reda {

enum class WindowLanguage { English, Chinese };

enum class LanguageChoice { System, Chinese, English };

// The Language key of Kestrune's config.ini ("Chinese" or "English", any letter case);
// System when the file, the key or a known value is missing.
LanguageChoice readLanguageChoice(const std::filesystem::path& configIni);
LanguageChoice parseLanguageChoice(std::string_view iniBytes);

// What `choice` shows on a desktop whose interface languages are `uiLanguages`, most wanted
// first: a first language "zh", "zh-…" or "zh_…" reads Chinese, any other English.
WindowLanguage resolveLanguage(LanguageChoice choice, const std::vector<std::string>& uiLanguages);

}  // namespace reda
