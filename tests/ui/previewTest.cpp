// The script preview window: hidden at first and kept in the settings only while shown; its
// text is the bytes Run writes, for the whole run and for one stage; the lines a run leaves
// out are greyed; and it follows real clicks and typing in the main window.

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTextBlock>

#include "ScriptPreviewPane.h"
#include "UiHarness.h"
#include "base/Paths.h"

using namespace kestrune;
using kestrune::testing::UiHarness;

namespace {

// Where a person clicks a caption check box: on its drawn box.
QPoint CheckIndicatorOf(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
}

// The lines of the view that are not greyed, each ended as the script ends its lines.
QString WrittenLines(const ui::ScriptPreviewPane& pane) {
    const auto* text = pane.findChild<QPlainTextEdit*>("txtScriptPreview");
    QString lines;
    for (int i = 0; i < text->document()->blockCount(); ++i) {
        if (!pane.IsGreyed(i)) {
            lines += text->document()->findBlockByNumber(i).text() +
                     QString::fromLatin1(kScriptLineEnd.data(), kScriptLineEnd.size());
        }
    }
    return lines;
}

QStringList GreyedLines(const ui::ScriptPreviewPane& pane) {
    const auto* text = pane.findChild<QPlainTextEdit*>("txtScriptPreview");
    QStringList lines;
    for (int i = 0; i < text->document()->blockCount(); ++i) {
        if (pane.IsGreyed(i)) {
            lines << text->document()->findBlockByNumber(i).text();
        }
    }
    return lines;
}

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<UiHarness> h;
    ui::ScriptPreviewPane* pane() const { return h->window->Preview(); }
    void Open(const char* preset, const char* input) {
        h = std::make_unique<UiHarness>();
        h->Start({h->Preset(preset)});
        h->window->Event([&] { h->core->frmMain.SetInputFile(h->home / input); });
    }
    QString ScriptFile() const {
        return QString::fromStdString(h->home.Read(std::string(kScriptFileName)));
    }

  private slots:
    void cleanup() { h.reset(); }

    void hiddenAtFirstAndKeptOnlyWhileShown() {
        Open("HelloC.zrp", "Inputs/hello.c");
        QVERIFY(!pane()->isVisible());
        const std::string before = h->core->frmMain.SettingsText();
        QVERIFY(before.find("ShowScriptPreview") == std::string::npos);
        h->Trigger("cmdShowScriptPreview");
        QVERIFY(pane()->isVisible());
        QCOMPARE(pane()->windowTitle(), QStringLiteral("Script Preview"));
        QCOMPARE(pane()->findChild<QPlainTextEdit*>("txtScriptPreview")->accessibleName(),
                 QStringLiteral("Script Preview"));
        const std::string shown = h->core->frmMain.SettingsText();
        QVERIFY(shown.find("ShowDetails = True\r\nShowScriptPreview = True\r\n\r\n[Position]") !=
                std::string::npos);
        // The close box hides it as the menu does.
        pane()->close();
        QVERIFY(!pane()->isVisible());
        QVERIFY(!h->Find<QAction>("cmdShowScriptPreview")->isChecked());
        QCOMPARE(h->core->frmMain.SettingsText(), before);
    }

    void shownAtStartWhenTheSettingsSaySo() {
        h = std::make_unique<UiHarness>();
        h->home.Write("Config/config.ini", "[Kestrune]\r\nShowScriptPreview = True\r\n");
        h->Start({h->Preset("HelloC.zrp")});
        QVERIFY(pane()->isVisible());
        QVERIFY(h->Find<QAction>("cmdShowScriptPreview")->isChecked());
        QVERIFY(h->core->frmMain.SettingsText().find("ShowScriptPreview = True\r\n") !=
                std::string::npos);
    }

    void previewIsWhatRunWrites_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("input");
        QTest::newRow("HelloC") << "HelloC.zrp"
                                << "Inputs/hello.c";
        QTest::newRow("ImageTools") << "ImageTools.zrp"
                                    << "Inputs/kestrel.png";
    }
    void previewIsWhatRunWrites() {
        QFETCH(QString, preset);
        QFETCH(QString, input);
        Open(preset.toUtf8().constData(), input.toUtf8().constData());
        h->Trigger("cmdShowScriptPreview");
        const QString shown = pane()->ScriptText();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(WrittenLines(*pane()), shown);
        QTest::mouseClick(pane()->findChild<QPushButton*>("cmdCopyScript"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), shown);
        QTest::mouseClick(h->Find<QWidget>("cmdCompile"), Qt::LeftButton);
        QCOMPARE(h->platform.shellCalls.size(), size_t{1});
        QCOMPARE(ScriptFile(), shown);
    }

    void followsClicksAndTypingAndGreysLeftOutLines() {
        Open("HelloC.zrp", "Inputs/hello.c");
        h->Trigger("cmdShowScriptPreview");
        QVERIFY(!pane()->ScriptText().contains("LOUD"));

        // Tick Define and type a value into it, as a person does.
        QCheckBox* define = h->FieldCheck(0, QStringLiteral("Define"));
        QVERIFY(define != nullptr);
        QTest::mouseClick(define, Qt::LeftButton, {}, CheckIndicatorOf(define));
        QVERIFY(define->isChecked());
        QLineEdit* value = nullptr;
        for (QLineEdit* edit : h->Tabs()->widget(0)->findChildren<QLineEdit*>()) {
            if (edit->accessibleName() == QStringLiteral("Define")) {
                value = edit;
            }
        }
        QVERIFY(value != nullptr);
        value->selectAll();
        QTest::keyClicks(value, QStringLiteral("GREETING"));
        QVERIFY2(pane()->ScriptText().contains(QStringLiteral("-D GREETING ")),
                 qPrintable(pane()->ScriptText()));

        // Untick the Strip stage with the keyboard: its line is greyed, no longer written.
        auto* stages = h->Find<QListWidget>("lstStages");
        const QString strip = QStringLiteral("\"/usr/bin/strip\"");
        QVERIFY(pane()->ScriptText().contains(strip));
        QVERIFY(GreyedLines(*pane()).filter(strip).isEmpty());
        stages->setFocus();
        stages->setCurrentRow(1);
        QTest::keyClick(stages, Qt::Key_Space);
        QVERIFY(!h->State().Specification.Stages[1].checked);
        QVERIFY(!pane()->ScriptText().contains(strip));
        QCOMPARE(GreyedLines(*pane()).filter(strip).size(), 1);
        QCOMPARE(WrittenLines(*pane()), pane()->ScriptText());
    }

    void stageListAndTheRunDropDownShowAStagesScript() {
        Open("ImageTools.zrp", "Inputs/kestrel.png");
        h->Trigger("cmdShowScriptPreview");
        const QString whole = pane()->ScriptText();
        auto* stagesBox = pane()->findChild<QComboBox*>("cboPreviewStage");
        QVERIFY(stagesBox->count() >= 2);
        QCOMPARE(stagesBox->itemText(0), QStringLiteral("Whole run"));
        stagesBox->setCurrentIndex(1);
        const QString stage = pane()->ScriptText();
        QVERIFY(stage != whole);
        h->window->ChooseItem("mnuRunStages", 0);
        QCOMPARE(ScriptFile(), stage);

        // Back to the whole run; the drop-down's hovered entry shows its stage meanwhile.
        stagesBox->setCurrentIndex(0);
        QCOMPARE(pane()->ScriptText(), whole);
        QMenu* dropDown = h->window->findChild<QMenu*>("mnuRunStages");
        QVERIFY(dropDown != nullptr);
        dropDown->popup(QPoint(0, 0));
        dropDown->setActiveAction(dropDown->actions().at(0));
        QCOMPARE(pane()->ScriptText(), stage);
        dropDown->hide();
        QCOMPARE(pane()->ScriptText(), whole);
    }
};

QTEST_MAIN(PreviewTest)
#include "previewTest.moc"
