#pragma once
// Puts REDA's window in a language: its own texts from reda_zh_CN.qm and Qt's (file dialog,
// message box buttons) from Debian's qtbase translation. English is the source text and needs
// no file.

#include <QString>

#include "LanguageChoice.h"

namespace reda {

// The language the window takes when started from `executableFolder`'s program folder:
// Kestrune's Language setting, else this desktop's interface language.
WindowLanguage startupLanguage(const QString& executableFolder);

// Installs the translations of `language` into the application; call once, before the
// window is made. A missing translation file leaves those texts in English.
void installLanguage(WindowLanguage language);

}  // namespace reda
