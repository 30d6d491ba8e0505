// The Qt platform's boxes and dialogs as a person meets them: titles, texts, icons, buttons,
// filters, default extensions and starting folders, each answered by a click the test makes
// once the modal window is open.

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "QtPlatform.h"
#include "UiSetup.h"

using kestrune::ConfirmAnswer;
using kestrune::FileDialogRequest;
using kestrune::MessageKind;
using kestrune::ui::QtPlatform;

Q_DECLARE_METATYPE(kestrune::MessageKind)
Q_DECLARE_METATYPE(kestrune::ConfirmAnswer)

namespace {

// Runs `act` on the modal window of type T once it is open; the call that opens it follows.
template <typename T>
void WhenOpen(const std::function<void(T*)>& act) {
    QTimer::singleShot(0, [act] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY2(window != nullptr, "no modal window of the expected kind");
        act(window);
    });
}

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

  private slots:
    void message_data() {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("syntax error")
            << MessageKind::SyntaxError << "Kestrune Error" << int(QMessageBox::NoIcon);
        QTest::newRow("error") << MessageKind::Error << "Error" << int(QMessageBox::Critical);
        QTest::newRow("information")
            << MessageKind::Information << "Information" << int(QMessageBox::Information);
    }
    void message() {
        QFETCH(MessageKind, kind);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QString seenTitle, seenText;
        int seenIcon = -1;
        QMessageBox::StandardButtons buttons;
        WhenOpen<QMessageBox>([&](QMessageBox* box) {
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        platform_.ShowMessage(kind, "Expected \"=\"\r\nLine: 7");
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenText, QStringLiteral("Expected \"=\"\nLine: 7"));
        QCOMPARE(seenIcon, icon);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    // A box is wide enough for its title (in the bold a title bar commonly uses, beside the
    // window's icon and close button), each line of its text and its buttons, at the design
    // font and at 10 and 12 points; a short text no longer decides the width alone.
    void boxesFitTitleTextAndButtons_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QString>("text");
        for (int points : {0, 10, 12}) {
            QTest::addRow("%d pt, syntax error", points)
                << points << false << MessageKind::SyntaxError << "x\r\nLine: 3";
            QTest::addRow("%d pt, short error", points)
                << points << false << MessageKind::Error << "a not found.";
            QTest::addRow("%d pt, two lines", points)
                << points << false << MessageKind::Information
                << "Association complete.\r\nThe desktop opens presets with Kestrune now.";
            QTest::addRow("%d pt, confirmation", points)
                << points << true << MessageKind::Error << "Save?";
        }
    }
    void boxesFitTitleTextAndButtons() {
        QFETCH(int, points);
        QFETCH(bool, confirm);
        QFETCH(MessageKind, kind);
        QFETCH(QString, text);
        const QFont before = QApplication::font();
        QApplication::setFont(points == 0 ? kestrune::ui::DesignFont()
                                          : kestrune::ui::ApplicationFont(
                                                QFont(QStringLiteral("DejaVu Sans"), points)));
        QStringList faults;
        WhenOpen<QMessageBox>([&](QMessageBox* box) {
            QFont bold = box->font();
            bold.setBold(true);
            const QFontMetrics title(bold);
            // The title, and an icon and a close button about as wide as the title bar is high.
            if (box->width() < title.horizontalAdvance(box->windowTitle()) + 2 * title.height()) {
                faults
                    << QStringLiteral("title '%1' in %2").arg(box->windowTitle()).arg(box->width());
            }
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            // A line wider than the box may be (on a small screen) is wrapped, never cut.
            for (const QString& line : box->text().split(QLatin1Char('\n'))) {
                if (label->fontMetrics().horizontalAdvance(line) > label->width() &&
                    (!label->wordWrap() ||
                     label->heightForWidth(label->width()) > label->height())) {
                    faults << QStringLiteral("line '%1' in %2").arg(line).arg(label->width());
                }
            }
            for (QAbstractButton* button : box->buttons()) {
                const QRect inBox(button->mapTo(box, QPoint(0, 0)), button->size());
                if (!box->rect().contains(inBox) ||
                    button->fontMetrics().horizontalAdvance(button->text().remove('&')) >
                        button->width()) {
                    faults << QStringLiteral("button '%1'").arg(button->text());
                }
            }
            box->buttons().constFirst()->click();
        });
        if (confirm) {
            platform_.Confirm(text.toStdString());
        } else {
            platform_.ShowMessage(kind, text.toStdString());
        }
        QApplication::setFont(before);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
    }

    void confirm_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes) << ConfirmAnswer::Yes;
        QTest::newRow("no") << int(QMessageBox::No) << ConfirmAnswer::No;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << ConfirmAnswer::Cancel;
        QTest::newRow("escape") << -1 << ConfirmAnswer::Cancel;
    }
    void confirm() {
        QFETCH(int, button);
        QFETCH(ConfirmAnswer, answer);
        QString title, text;
        WhenOpen<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            QCOMPARE(box->standardButtons(),
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(box->icon(), QMessageBox::Question);
            if (button < 0) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(QMessageBox::StandardButton(button))->click();
            }
        });
        QCOMPARE(platform_.Confirm("Save changes to night.zrp?"), answer);
        QCOMPARE(title, QStringLiteral("Confirm"));
        QCOMPARE(text, QStringLiteral("Save changes to night.zrp?"));
    }

    void fileDialogs_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("open adds the default extension") << false << "night"
                                                         << "night.zrp";
        QTest::newRow("save keeps a given extension") << true << "day.zrp"
                                                      << "day.zrp";
        QTest::newRow("cancelled") << false << ""
                                   << "";
    }
    void fileDialogs() {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        const FileDialogRequest request{"Open Preset File", "Preset Files (*.zrp)|*.zrp|All (*)|*",
                                        folder.path().toStdString(), "", ".zrp"};
        WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Open Preset File"));
            QCOMPARE(dialog->nameFilters(), QStringList({QStringLiteral("Preset Files (*.zrp)"),
                                                         QStringLiteral("All (*)")}));
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("zrp"));
            QCOMPARE(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
            QCOMPARE(dialog->acceptMode(),
                     save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            // Saving replaces a file without a question.
            QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), save);
            if (typed.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(typed);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        const auto result =
            save ? platform_.SaveFileDialog(request) : platform_.OpenFileDialog(request);
        if (chosen.isEmpty()) {
            QVERIFY(!result.has_value());
        } else {
            QVERIFY(result.has_value());
            QCOMPARE(QString::fromStdString(*result),
                     QDir::toNativeSeparators(folder.filePath(chosen)));
        }
    }

    void colourDialogKeepsRedInTheLowByte() {
        QColor start;
        WhenOpen<QColorDialog>([&](QColorDialog* dialog) {
            start = dialog->currentColor();
            dialog->setCurrentColor(QColor(1, 2, 3));
            dialog->accept();
        });
        QCOMPARE(platform_.ChooseColor(0x00C08040), std::optional<std::uint32_t>(0x030201));
        QCOMPARE(start, QColor(0x40, 0x80, 0xC0));
        WhenOpen<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
        QCOMPARE(platform_.ChooseColor(0), std::nullopt);
    }

    void workAreaAndVersion() {
        const kestrune::ScreenRect area = platform_.WorkArea();
        QVERIFY(area.right > area.left);
        QVERIFY(area.bottom > area.top);
        // Counts as a current system, so hidden details give the 460 height.
        QVERIFY(platform_.OsVersion() >= std::make_pair(5, 1));
#ifdef Q_OS_WIN
        // GetLongPathName's own cases are the platform layer's (test_windows); an existing
        // folder in its long form comes back as it is.
        const std::string temp = QDir::toNativeSeparators(QDir::tempPath()).toStdString();
        QCOMPARE(platform_.LongPathName(temp), temp);
#else
        QCOMPARE(platform_.LongPathName("/a/b/../c"), std::string("/a/c"));
#endif
    }

    // Starting files for real, with the search path pointing at a folder the test fills: the
    // script in a terminal (a stand-in that runs what it is given with no keyboard), the script
    // without any terminal, and the log viewer with its quotes removed.
    void startingFiles_data() {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QString>("outputFile");
        QTest::addColumn<QString>("output");
        QTest::newRow("in a terminal")
            << true << "terminal.out"
            << "ran in " + QDir::currentPath() +
                   "\n\n[exit status 0] Press any key to close this window.\n";
        QTest::newRow("no terminal: output beside the script")
            << false << "compile.out"
            << "ran in " + QDir::currentPath() + "\n";
    }
    void startingFiles() {
        QFETCH(bool, terminal);
        QFETCH(QString, outputFile);
        QFETCH(QString, output);
        QTemporaryDir dir;
        const auto write = [&dir](const QString& name, const QByteArray& text) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        };
        // The stand-ins name their output files in full: the search path holds only `dir`.
        const QByteArray out = dir.path().toLocal8Bit() + '/';
        write("compile.sh", "echo ran in \"$(pwd)\"\n");
        write("REDA", "#!/bin/sh\nprintf '%s|' \"$@\" > " + out + "reda.out\n");
        if (terminal) {
            write("x-terminal-emulator",
                  "#!/bin/sh\nPATH=/usr/bin:/bin\n[ \"$1\" = -e ] && shift\n\"$@\" "
                  "</dev/null >" +
                      out + "terminal.out 2>&1\n");
        }
        const QByteArray path = qgetenv("PATH");
        const QByteArray terminalVariable = qgetenv("TERMINAL");
        qputenv("PATH", dir.path().toLocal8Bit());
        qunsetenv("TERMINAL");
        platform_.ShellOpen(dir.filePath("compile.sh").toStdString(), "");
        platform_.ShellOpen(dir.filePath("REDA").toStdString(), "\"/work/my maps/a.log\"");
        qputenv("PATH", path);
        qputenv("TERMINAL", terminalVariable);
        const auto read = [&dir](const QString& name) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll())
                                                  : QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(read(outputFile), output, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(read("reda.out"), QStringLiteral("/work/my maps/a.log|"), 10000);
    }

  private:
    QtPlatform platform_;
};

QTEST_MAIN(PlatformTest)
#include "platformTest.moc"
