#pragma once
// The language the windows speak. The core keeps the designed captions; this is the one place
// that turns a control's caption into the text shown: the designed caption itself, or its
// English text from the compiled translation (context: the window, disambiguation: the
// control's name). Qt's own texts (dialog buttons, file and colour dialogs) follow the same
// choice.

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

class QWidget;

#include "app/AppState.h"

namespace kestrune::ui {

enum class ShownLanguage { Designed, English };

// What `choice` shows on a desktop whose interface languages are `uiLanguages` (most wanted
// first, as QLocale::uiLanguages gives them): "System" shows the designed captions to a
// Chinese desktop and English to every other.
ShownLanguage ResolveLanguage(LanguageChoice choice, const QStringList& uiLanguages);
// The same for this desktop.
ShownLanguage ResolveLanguage(LanguageChoice choice);

// Installs the translations of `language` for Kestrune's captions and Qt's own texts. Does
// nothing when it is already shown.
void ApplyLanguage(ShownLanguage language);
ShownLanguage CurrentLanguage();
// Grows with every change of language, so views know to show their captions again.
int LanguageGeneration();

// Qt's own texts that its widgets take only when they are made (the tab bars' scroll buttons),
// in the language now shown, for the widgets under `root`.
void RetranslateQtParts(QWidget* root);

// The text control `control` of window `context` ("frmMain", "frmOptions", "frmAbout") shows
// for the core's caption `caption` (UTF-8, as every text of the core). A caption without a
// translation (a file name the core put in, a specification's own text) is shown as it is.
// `designed`, the control's declared caption, is the same text when nothing replaced it.
QString ShownCaption(const char* context, std::string_view control, const std::string& caption,
                     std::string_view designed);

}  // namespace kestrune::ui
