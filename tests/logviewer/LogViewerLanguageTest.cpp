// REDA's window in Chinese beside the same window in English: every text a user reads is
// translated and the Chinese Alt letters do not clash within a menu.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "MainWindow.h"
#include "Translation.h"
#include "WordsDialog.h"

using reda::MainWindow;

namespace {

struct Texts {
    QStringList menus;    // "menu path: action text", in order
    QStringList widgets;  // every label, button, tooltip, accessible name, placeholder, item
};

void collectMenu(const QMenu* menu, const QString& path, bool distinctLetters, Texts& texts) {
    QSet<QChar> letters;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        const QString text = action->text();
        texts.menus << path + QStringLiteral(": ") + text;
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (distinctLetters && amp >= 0 && amp + 1 < text.size()) {
            const QChar letter = text.at(amp + 1).toLower();
            QVERIFY2(!letters.contains(letter),
                     qPrintable(QStringLiteral("Alt+%1 twice in %2").arg(letter).arg(path)));
            letters.insert(letter);
        }
        if (action->menu() != nullptr) {
            collectMenu(action->menu(), path + QStringLiteral(" > ") + text, distinctLetters,
                        texts);
        }
    }
}

void collectWidgets(const QWidget& root, Texts& texts) {
    const auto add = [&texts](const QString& text) {
        // A close cross or a number reads the same in any language.
        if (text.contains(QRegularExpression(QStringLiteral("[A-Za-z\\x{4e00}-\\x{9fff}]")))) {
            texts.widgets << text;
        }
    };
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        add(widget->accessibleName());
        add(widget->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            add(label->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            add(button->text());
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            add(edit->placeholderText());
        } else if (const auto* box = qobject_cast<const QComboBox*>(widget)) {
            for (int i = 0; i < box->count(); ++i) {
                add(box->itemText(i));
            }
        }
    }
}

Texts textsOf(const QString& settings, bool distinctLetters) {
    Texts texts;
    MainWindow window(settings.toStdString());
    window.resize(800, 400);
    window.show();
    window.showQuickFilter(reda::KindFilter::Problems);
    for (QAction* menu : window.menuBar()->actions()) {
        texts.menus << menu->text();
        collectMenu(menu->menu(), menu->text(), distinctLetters, texts);
    }
    collectWidgets(window, texts);
    reda::WordsDialog words(reda::HighlightWords{}, &window);
    texts.widgets << words.windowTitle();
    collectWidgets(words, texts);
    return texts;
}

}  // namespace

class LogViewerLanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void everyTextIsTranslatedAndAltLettersDoNotClash() {
        QTemporaryDir dir;
        const QString settings = QDir(dir.path()).filePath(QStringLiteral("REDA.ini"));
        const Texts english = textsOf(settings, false);
        QVERIFY(english.menus.contains(QStringLiteral("&File: &Open…")));
        QVERIFY(english.menus.contains(QStringLiteral("&View > E&ncoding: &UTF-8")));
        QVERIFY(english.widgets.contains(QStringLiteral("Hi&de matching")));

        reda::installLanguage(reda::WindowLanguage::Chinese);
        const Texts chinese = textsOf(settings, true);
        QVERIFY(chinese.menus.contains(QStringLiteral("文件(&F): 打开(&O)…")));
        QVERIFY(chinese.menus.contains(QStringLiteral("查看(&V) > 编码(&C): &UTF-8")));
        QVERIFY(chinese.widgets.contains(QStringLiteral("隐藏匹配行(&D)")));
        QCOMPARE(chinese.menus.size(), english.menus.size());
        QCOMPARE(chinese.widgets.size(), english.widgets.size());
        // The encodings' own names stay as they are.
        const QSet<QString> same{QStringLiteral("&UTF-8"), QStringLiteral("&Windows-1252")};
        for (qsizetype i = 0; i < english.menus.size(); ++i) {
            const QString english_action = english.menus.at(i).section(QStringLiteral(": "), -1);
            const QString chinese_action = chinese.menus.at(i).section(QStringLiteral(": "), -1);
            if (!same.contains(english_action)) {
                QVERIFY2(english_action != chinese_action,
                         qPrintable(QStringLiteral("untranslated: ") + english.menus.at(i)));
            }
        }
        for (qsizetype i = 0; i < english.widgets.size(); ++i) {
            QVERIFY2(english.widgets.at(i) != chinese.widgets.at(i),
                     qPrintable(QStringLiteral("untranslated: ") + english.widgets.at(i)));
        }
    }
};

QTEST_MAIN(LogViewerLanguageTest)
#include "LogViewerLanguageTest.moc"
