#include "Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTabBar>
#include <QToolButton>
#include <QTranslator>
#include <memory>

namespace kestrune::ui {

namespace {

struct Installed {
    ShownLanguage language = ShownLanguage::Designed;
    int generation = 0;
    std::unique_ptr<QTranslator> captions;
    std::unique_ptr<QTranslator> qt;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

// A translation beside an installed program (share/kestrune/translations) wins over the one
// built in, so a translator's update needs no rebuild.
std::unique_ptr<QTranslator> LoadOwn(const QString& name) {
    auto translator = std::make_unique<QTranslator>();
    const QString installed = QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/kestrune/translations/") + name;
    if (QFileInfo::exists(installed) && translator->load(installed)) {
        return translator;
    }
    if (translator->load(QStringLiteral(":/i18n/") + name)) {
        return translator;
    }
    return nullptr;
}

std::unique_ptr<QTranslator> LoadQt(const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    // Qt's own folder, else the program's translations folder, where a portable copy (the
    // Windows zip) keeps Qt's translations beside its own.
    for (const QString& folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            return translator;
        }
    }
    return nullptr;
}

}  // namespace

ShownLanguage ResolveLanguage(LanguageChoice choice, const QStringList& uiLanguages) {
    switch (choice) {
        case LanguageChoice::Chinese:
            return ShownLanguage::Designed;
        case LanguageChoice::English:
            return ShownLanguage::English;
        case LanguageChoice::System:
            break;
    }
    // The designed captions are Chinese; a desktop in any other language reads English best.
    const QString first = uiLanguages.value(0);
    const bool chinese = first.compare(QStringLiteral("zh"), Qt::CaseInsensitive) == 0 ||
                         first.startsWith(QStringLiteral("zh-"), Qt::CaseInsensitive) ||
                         first.startsWith(QStringLiteral("zh_"), Qt::CaseInsensitive);
    return chinese ? ShownLanguage::Designed : ShownLanguage::English;
}

ShownLanguage ResolveLanguage(LanguageChoice choice) {
    return ResolveLanguage(choice, QLocale::system().uiLanguages());
}

void ApplyLanguage(ShownLanguage language) {
    Installed& now = Current();
    if (now.language == language && now.generation > 0) {
        return;
    }
    if (now.captions) {
        QCoreApplication::removeTranslator(now.captions.get());
    }
    if (now.qt) {
        QCoreApplication::removeTranslator(now.qt.get());
    }
    now.captions.reset();
    now.qt.reset();
    if (language == ShownLanguage::English) {
        now.captions = LoadOwn(QStringLiteral("kestrune_en.qm"));
    } else {
        // Qt's own buttons and dialogs in Chinese beside the designed captions.
        now.qt = LoadQt(QLocale(QLocale::Chinese, QLocale::China));
    }
    if (now.captions) {
        QCoreApplication::installTranslator(now.captions.get());
    }
    if (now.qt) {
        QCoreApplication::installTranslator(now.qt.get());
    }
    now.language = language;
    ++now.generation;
}

ShownLanguage CurrentLanguage() {
    return Current().language;
}

int LanguageGeneration() {
    return Current().generation;
}

void RetranslateQtParts(QWidget* root) {
    for (QTabBar* bar : root->findChildren<QTabBar*>()) {
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            if (button->objectName() == QLatin1String("ScrollLeftButton")) {
                button->setAccessibleName(QTabBar::tr("Scroll Left"));
            } else if (button->objectName() == QLatin1String("ScrollRightButton")) {
                button->setAccessibleName(QTabBar::tr("Scroll Right"));
            }
        }
    }
}

QString ShownCaption(const char* context, std::string_view control, const std::string& caption,
                     std::string_view designed) {
    // Translations are looked up by the caption's UTF-8 text, which is how the core keeps it.
    (void)designed;
    const QByteArray key(caption.data(), static_cast<qsizetype>(caption.size()));
    if (context == nullptr || control.empty() || key.isEmpty()) {
        return QString::fromUtf8(key);
    }
    const std::string name(control);
    return QCoreApplication::translate(context, key.constData(), name.c_str());
}

}  // namespace kestrune::ui
