#include "Translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string>
#include <vector>

#include "PathText.h"
#include "SettingsFolder.h"

namespace reda {

namespace {

// A translation installed beside the program (share/kestrune/translations) wins over the one
// built in, so a translator's update needs no rebuild.
bool loadOwn(QTranslator& translator, const QString& name) {
    const QString installed = QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/kestrune/translations/") + name;
    if (QFileInfo::exists(installed) && translator.load(installed)) {
        return true;
    }
    return translator.load(QStringLiteral(":/i18n/") + name);
}

}  // namespace

WindowLanguage startupLanguage(const QString& executableFolder) {
    const std::filesystem::path config = settingsFile(toPath(executableFolder)).parent_path();
    std::vector<std::string> languages;
    for (const QString& language : QLocale::system().uiLanguages()) {
        languages.push_back(language.toStdString());
    }
    return resolveLanguage(readLanguageChoice(config / "config.ini"), languages);
}

void installLanguage(WindowLanguage language) {
    if (language != WindowLanguage::Chinese) {
        return;
    }
    // Owned by the application, which lives as long as the window.
    auto* own = new QTranslator(QCoreApplication::instance());
    if (loadOwn(*own, QStringLiteral("reda_zh_CN.qm"))) {
        QCoreApplication::installTranslator(own);
    }
    auto* qt = new QTranslator(QCoreApplication::instance());
    // Qt's own folder, else the program's translations folder (the Windows zip's place).
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (qt->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qt->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/translations"))) {
        QCoreApplication::installTranslator(qt);
    }
}

}  // namespace reda
