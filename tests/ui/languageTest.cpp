// The windows in English and in their designed captions: every caption of the three windows
// has an English text, menus keep their mnemonics apart, "System" follows the desktop, and
// choosing a language in the options dialog changes every caption and accessible name at once.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <map>

#include "AboutBox.h"
#include "Language.h"
#include "OptionsDialog.h"
#include "UiHarness.h"

using kestrune::LanguageChoice;
using kestrune::WindowId;
using kestrune::testing::UiHarness;
using kestrune::ui::ShownLanguage;

Q_DECLARE_METATYPE(kestrune::LanguageChoice)
Q_DECLARE_METATYPE(kestrune::ui::ShownLanguage)

namespace {

struct Window {
    WindowId id;
    const char* context;
};
constexpr Window kWindows[] = {
    {WindowId::Main, "frmMain"}, {WindowId::Options, "frmOptions"}, {WindowId::About, "frmAbout"}};

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool HasChinese(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x2E80) {
            return true;
        }
    }
    return false;
}

// The letter Alt reaches in a caption: the one after a single "&".
QChar Mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            return caption[i + 1].toLower();
        }
    }
    return {};
}

// What a built control shows as its caption.
QString Shown(QObject* object, const kestrune::ControlRow& row, QWidget* root) {
    if (auto* action = qobject_cast<QAction*>(object)) {
        return action->text();
    }
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        return menu->title();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(object)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(object)) {
        return group->title();
    }
    if (row.kind == kestrune::ControlKind::Page) {
        auto* tabs = root->findChild<QTabWidget*>(Text(row.parent));
        return tabs->tabText(tabs->indexOf(static_cast<QWidget*>(object)));
    }
    return {};
}

QWidget* RootOf(const UiHarness& h, WindowId id) {
    switch (id) {
        case WindowId::Options:
            return h.window->Options();
        case WindowId::About:
            return h.window->About();
        case WindowId::Main:
            break;
    }
    return h.window.get();
}

QObject* Built(QWidget* root, const kestrune::ControlRow& row) {
    const QString name = Text(row.name);
    // Menus and their entries live in the window's menus, which Qt parents to the window.
    for (QObject* object : root->findChildren<QObject*>(name)) {
        if (qobject_cast<QMenu*>(object) != nullptr || qobject_cast<QWidget*>(object) != nullptr) {
            return object;
        }
    }
    return root->findChild<QAction*>(name);
}

// Every caption of the three windows that differs from what `expected` gives for it.
QStringList WrongCaptions(
    const UiHarness& h,
    const std::function<QString(const char*, const std::string&, std::string_view)>& expected) {
    QStringList wrong;
    for (const Window& window : kWindows) {
        QWidget* root = RootOf(h, window.id);
        for (const kestrune::PlacedRow& placed : h.core->Layout(window.id)) {
            const kestrune::ControlRow& row = *placed.row;
            if (row.caption.empty() || placed.state == nullptr ||
                row.kind == kestrune::ControlKind::Edit) {
                continue;
            }
            QObject* object = Built(root, row);
            if (object == nullptr) {
                wrong << QStringLiteral("%1.%2 not built").arg(window.context, Text(row.name));
                continue;
            }
            const QString want = expected(window.context, placed.state->text, row.name);
            if (const QString shown = Shown(object, row, root); shown != want) {
                wrong << QStringLiteral("%1.%2 shows '%3', not '%4'")
                             .arg(window.context, Text(row.name), shown, want);
            }
        }
    }
    return wrong;
}

// Every accessible name of the three windows' widgets with a Chinese character in it.
QStringList ChineseNames(const UiHarness& h) {
    QStringList names;
    for (const Window& window : kWindows) {
        for (QWidget* widget : RootOf(h, window.id)->findChildren<QWidget*>()) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            if (accessible == nullptr) {
                continue;
            }
            if (const QString name = accessible->text(QAccessible::Name); HasChinese(name)) {
                names << QStringLiteral("%1 '%2'").arg(widget->objectName(), name);
            }
        }
    }
    return names;
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { kestrune::ui::ApplyLanguage(ShownLanguage::Designed); }

    // Every caption a window declares has an English text in the compiled translation, and
    // that text is English. A row added without one is named here.
    void everyCaptionHasAnEnglishText() {
        kestrune::testing::SetUpTestApplication();
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/kestrune_en.qm")));
        QStringList missing;
        int checked = 0;
        for (const Window& window : kWindows) {
            for (const kestrune::ControlRow& row : kestrune::Kestrune::Table(window.id)) {
                if (row.caption.empty()) {
                    continue;
                }
                ++checked;
                const std::string caption(row.caption);
                const std::string name(row.name);
                const QString text =
                    english.translate(window.context, caption.c_str(), name.c_str());
                if (text.isEmpty() || HasChinese(text)) {
                    missing << QStringLiteral("%1.%2 '%3'")
                                   .arg(window.context, Text(row.name), Text(row.caption));
                }
            }
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("no English text: ") + missing.join(", ")));
        QVERIFY(checked > 60);
    }

    void englishCaptions_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("designed");
        QTest::addColumn<QString>("english");
        const char* rows[][4] = {
            {"frmMain", "cmdFileMenu", "文件", "&File"},
            {"frmMain", "cmdNewPreset", "新设置", "&New Preset"},
            {"frmMain", "cmdOpenPreset", "打开设置", "&Open Preset…"},
            {"frmMain", "cmdImportPreset", "导入设置", "&Import Preset…"},
            {"frmMain", "cmdRecentPresets", "使用过的设置", "Recent &Presets"},
            {"frmMain", "cmdSavePreset", "保存设置", "&Save Preset"},
            {"frmMain", "cmdSavePresetAs", "保存设置为...", "Save Preset &As…"},
            {"frmMain", "cmdCompileMenu", "编译", "&Compile"},
            {"frmMain", "cmdRunBatchFile", "编译地图", "&Run"},
            {"frmMain", "cmdSaveBatchAs", "储存为.bat文件", "Save Script &As…"},
            {"frmMain", "cmdSpecificationsMenu", "编译项目", "&Specifications"},
            {"frmMain", "cmdOptionsMenu", "设置", "&Options"},
            {"frmMain", "cmdSetup", "设置", "&Options…"},
            {"frmMain", "cmdShowDetails", "显示细节", "Show &Details"},
            {"frmMain", "cmdHelpMenu", "帮助", "&Help"},
            {"frmMain", "cmdAboutKestrune", "关于", "&About Kestrune"},
            {"frmMain", "lblStages", "步骤:", "Stages:"},
            {"frmMain", "cmdTrayRun", "&Run", "R&un"},
            // Already English: the same text.
            {"frmMain", "chkRememberFile", "Remember File", "Remember File"},
            {"frmOptions", "lblDisplayLanguage", "Language:", "Language:"},
            {"frmAbout", "grpSpecificationFile", "Specification File:", "Specification File:"},
            // A text the core composed is no caption of its own: shown as it is.
            {"frmMain", "cmdTrayCompile", "&Compile hello.c", "&Compile hello.c"},
            {"frmAbout", "lblVersion", "Version: 2.0.3.1", "Version: 2.0.3.1"},
        };
        for (const auto& row : rows) {
            QTest::addRow("%s.%s", row[0], row[1])
                << row[0] << row[1] << QString::fromUtf8(row[2]) << QString::fromUtf8(row[3]);
        }
    }
    void englishCaptions() {
        QFETCH(QString, context);
        QFETCH(QString, name);
        QFETCH(QString, designed);
        QFETCH(QString, english);
        kestrune::testing::SetUpTestApplication();
        const QByteArray window = context.toLatin1();
        const std::string control = name.toStdString();
        const std::string caption = designed.toStdString();
        kestrune::ui::ApplyLanguage(ShownLanguage::English);
        QCOMPARE(kestrune::ui::ShownCaption(window.constData(), control, caption, caption),
                 english);
        kestrune::ui::ApplyLanguage(ShownLanguage::Designed);
        QCOMPARE(kestrune::ui::ShownCaption(window.constData(), control, caption, caption),
                 designed);
    }

    // Within a menu, and among the menu bar's menus and the window's own buttons, no two
    // English captions share the letter Alt reaches them by.
    void englishMnemonicsDoNotClash() {
        kestrune::testing::SetUpTestApplication();
        kestrune::ui::ApplyLanguage(ShownLanguage::English);
        std::map<QString, std::map<QChar, QStringList>> letters;
        for (const Window& window : kWindows) {
            for (const kestrune::ControlRow& row : kestrune::Kestrune::Table(window.id)) {
                if (row.caption.empty()) {
                    continue;
                }
                const QString shown = kestrune::ui::ShownCaption(
                    window.context, row.name, std::string(row.caption), row.caption);
                const QChar letter = Mnemonic(shown);
                if (letter.isNull()) {
                    continue;
                }
                // Entries of one menu, or the controls of one window (or dialog page) that the
                // menu bar's Alt shares.
                QString scope =
                    QString::fromLatin1(window.context) + QLatin1Char('/') + Text(row.parent);
                if (row.parent.empty() && !row.IsMenu()) {
                    scope = QString::fromLatin1(window.context) + QLatin1Char('/');
                }
                letters[scope][letter] << Text(row.name);
            }
        }
        QStringList clashes;
        for (const auto& [scope, byLetter] : letters) {
            for (const auto& [letter, names] : byLetter) {
                if (names.size() > 1) {
                    clashes << QStringLiteral("%1 %2: %3").arg(scope, letter, names.join(", "));
                }
            }
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("; ")));
    }

    void systemFollowsTheDesktop_data() {
        QTest::addColumn<LanguageChoice>("choice");
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<ShownLanguage>("shown");
        const auto designed = ShownLanguage::Designed;
        const auto english = ShownLanguage::English;
        QTest::newRow("Chinese, China")
            << LanguageChoice::System << QStringList{"zh-CN"} << designed;
        QTest::newRow("Chinese, Taiwan")
            << LanguageChoice::System << QStringList{"zh-Hant-TW", "en"} << designed;
        QTest::newRow("Chinese alone") << LanguageChoice::System << QStringList{"zh"} << designed;
        QTest::newRow("English") << LanguageChoice::System << QStringList{"en-US", "en"} << english;
        QTest::newRow("German") << LanguageChoice::System << QStringList{"de-DE"} << english;
        QTest::newRow("Chinese second")
            << LanguageChoice::System << QStringList{"en-GB", "zh-CN"} << english;
        QTest::newRow("not zh but starting so")
            << LanguageChoice::System << QStringList{"zha"} << english;
        QTest::newRow("none") << LanguageChoice::System << QStringList{} << english;
        QTest::newRow("chose Chinese on an English desktop")
            << LanguageChoice::Chinese << QStringList{"en-US"} << designed;
        QTest::newRow("chose English on a Chinese desktop")
            << LanguageChoice::English << QStringList{"zh-CN"} << english;
    }
    void systemFollowsTheDesktop() {
        QFETCH(LanguageChoice, choice);
        QFETCH(QStringList, desktop);
        QFETCH(ShownLanguage, shown);
        QCOMPARE(kestrune::ui::ResolveLanguage(choice, desktop), shown);
    }

    // The options dialog's choice, made with the keyboard, changes every caption of the three
    // windows, their accessible names and Qt's own texts at once; Cancel takes it back.
    void choosingALanguageChangesEveryCaptionAtOnce() {
        kestrune::testing::SetUpTestApplication();
        UiHarness h;
        h.Start({h.Preset("HelloC.zrp")});
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        const auto designed = [](const char*, const std::string& text, std::string_view) {
            return QString::fromStdString(text);
        };
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/kestrune_en.qm")));
        const auto inEnglish = [&english](const char* context, const std::string& text,
                                          std::string_view name) {
            const QString found =
                english.translate(context, text.c_str(), std::string(name).c_str());
            return found.isEmpty() ? QString::fromStdString(text) : found;
        };
        // The tests run on a Chinese desktop: the designed window.
        QStringList wrong = WrongCaptions(h, designed);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        QCOMPARE(h.Find<QListWidget>("lstStages")->accessibleName(), QStringLiteral("步骤"));

        h.Trigger("cmdSetup");
        auto* choices = h.window->Options()->findChild<QComboBox*>("cboDisplayLanguage");
        QVERIFY(choices != nullptr);
        QCOMPARE(choices->accessibleName(), QStringLiteral("Language"));
        QStringList items;
        for (int i = 0; i < choices->count(); ++i) {
            items << choices->itemText(i);
        }
        QCOMPARE(items, QStringList({"System", "中文", "English"}));
        QCOMPARE(choices->currentIndex(), 0);

        choices->setFocus(Qt::TabFocusReason);
        QTest::keyClick(choices, Qt::Key_End);
        QCOMPARE(h.State().Language, LanguageChoice::English);
        wrong = WrongCaptions(h, inEnglish);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        QStringList menus;
        for (QAction* menu : h.window->menuBar()->actions()) {
            if (menu->isVisible()) {
                menus << menu->text();
            }
        }
        QCOMPARE(menus, QStringList({"&File", "&Compile", "&Specifications", "&Options", "&Links",
                                     "&Help"}));
        QCOMPARE(h.Find<QListWidget>("lstStages")->accessibleName(), QStringLiteral("Stages"));
        const QStringList chinese = ChineseNames(h);
        QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join(", ")));
        // Qt's own buttons speak English too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

        QTest::keyClick(choices, Qt::Key_Up);
        QCOMPARE(h.State().Language, LanguageChoice::Chinese);
        wrong = WrongCaptions(h, designed);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));

        // Cancel: the language the dialog opened with, and a settings file without the key.
        QTest::keyClick(choices, Qt::Key_End);
        QTest::keyClick(h.window->Options(), Qt::Key_Escape);
        QVERIFY(!h.window->Options()->isVisible());
        QCOMPARE(h.State().Language, LanguageChoice::System);
        wrong = WrongCaptions(h, designed);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        QVERIFY(h.core->frmMain.SettingsText().find("Language") == std::string::npos);
    }

    // The core's own captions are UTF-8; a text it composes from a specification file comes
    // from that file's bytes in the system's code page (what an editor on that desktop saves)
    // and is UTF-8 in the core too. Each reaches its widget exactly, also where the file's
    // encoding and the core's differ (Windows).
    void textOfFilesAndOwnCaptionsReachTheWidgets_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        const char* rows[][4] = {
            {"Setup = Hello C", "Setup = 你好 C", "lblSpecName", "Name: 你好 C"},
            {"Program = GCC", "Program = 编译器", "lblSpecProgram", "For: 编译器"},
            {"Author = Kestrune developers", "Author = 说明", "lblSpecAuthor", "By: 说明"},
            {"Name = Compile with gcc", "Name = 用 gcc 编译", "group", "用 gcc 编译:"},
            // Untouched file: the designed captions beside it.
            {"", "", "lblStages", "步骤:"},
            {"", "", "grpSpecificationFile", "Specification File:"},
        };
        for (const auto& row : rows) {
            QTest::addRow("%s", row[2]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1])
                                        << QString::fromUtf8(row[2]) << QString::fromUtf8(row[3]);
        }
    }
    void textOfFilesAndOwnCaptionsReachTheWidgets() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        kestrune::testing::SetUpTestApplication();
        UiHarness h;
        if (!from.isEmpty()) {
            const std::string path = h.home / "SpecFiles/HelloC.zrs";
            std::string text = h.home.Read(path);
            const std::string before = from.toStdString();
            const std::size_t at = text.find(before);
            QVERIFY(at != std::string::npos);
            const QByteArray after = to.toLocal8Bit();
            // The text must survive the code page, else the case checks nothing.
            QCOMPARE(QString::fromLocal8Bit(after), to);
            text.replace(at, before.size(), after.toStdString());
            h.home.Write("SpecFiles/HelloC.zrs", text);
        }
        h.Start({h.Preset("HelloC.zrp")});
        h.core->frmAbout.Open();
        h.window->Sync();
        QWidget* widget = nullptr;
        if (control == QLatin1String("group")) {
            widget = h.Tabs()->widget(0)->findChild<QGroupBox*>();
        } else {
            widget = h.window->findChild<QWidget*>(control);
            if (widget == nullptr) {
                widget = h.window->About()->findChild<QWidget*>(control);
            }
        }
        QVERIFY(widget != nullptr);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = group->title();
        }
        QCOMPARE(text.toUtf8().toHex(' '), shown.toUtf8().toHex(' '));
        h.core->frmAbout.cmdOKClick();
        h.window->Sync();
    }

    void okKeepsTheChoiceForTheSettings() {
        kestrune::testing::SetUpTestApplication();
        UiHarness h;
        h.Start({h.Preset("HelloC.zrp")});
        h.window->show();
        h.Trigger("cmdSetup");
        auto* choices = h.window->Options()->findChild<QComboBox*>("cboDisplayLanguage");
        choices->setFocus(Qt::TabFocusReason);
        QTest::keyClick(choices, Qt::Key_End);
        QTest::mouseClick(h.window->Options()->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!h.window->Options()->isVisible());
        QCOMPARE(h.State().Language, LanguageChoice::English);
        QCOMPARE(h.Find<QMenu>("cmdFileMenu")->title(), QStringLiteral("&File"));
        const std::string settings = h.core->frmMain.SettingsText();
        QVERIFY(settings.find("ShowDetails = True\r\nLanguage = English\r\n\r\n[Position]") !=
                std::string::npos);
        // Opened again, the dialog shows the choice.
        h.Trigger("cmdSetup");
        QCOMPARE(choices->currentText(), QStringLiteral("English"));
        QTest::keyClick(h.window->Options(), Qt::Key_Escape);
    }
};

QTEST_MAIN(LanguageTest)
#include "languageTest.moc"
