// Text that fits any desktop font: every control of the three windows and every generated
// field of both samples, at the design font and at 10 and 12 points of a wide desktop font,
// measured with the font's metrics against the room the control gives its text.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include "AboutBox.h"
#include "FieldPage.h"
#include "Language.h"
#include "OptionsDialog.h"
#include "UiHarness.h"

using kestrune::testing::UiHarness;

namespace {

QString Where(const QWidget* widget, const QString& text) {
    return QStringLiteral("%1 %2 '%3' (%4x%5)")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), text)
        .arg(widget->width())
        .arg(widget->height());
}

// Every text of `root` that does not fit its control.
QStringList Clipped(QWidget* root) {
    QStringList clipped;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        // Hidden ones, and the dialogs the main window owns, which are walked on their own.
        if (widget->isHidden() || widget->window() != root->window()) {
            continue;
        }
        const QFontMetrics metrics = widget->fontMetrics();
        if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            const int box = check->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                            check->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            const QString text = check->text().remove(QLatin1Char('&'));
            if (box + metrics.horizontalAdvance(text) > check->width() ||
                metrics.height() > check->height()) {
                clipped << Where(check, text);
            }
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const QString text = button->text().remove(QLatin1Char('&'));
            // The frame and the smallest margin the style leaves on each side.
            if (metrics.horizontalAdvance(text) + 4 > button->width() ||
                metrics.height() > button->height()) {
                clipped << Where(button, text);
            }
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty()) {
                continue;
            }
            const QRect room = label->contentsRect();
            if (metrics.horizontalAdvance(label->text()) > room.width() ||
                metrics.height() > room.height()) {
                clipped << Where(label, label->text());
            }
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            if (group->title().isEmpty()) {
                continue;
            }
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, group);
            if (metrics.horizontalAdvance(group->title()) > title.width() ||
                title.right() > group->width()) {
                clipped << Where(group, group->title());
            }
        } else if (qobject_cast<QLineEdit*>(widget) != nullptr &&
                   qobject_cast<QComboBox*>(widget->parentWidget()) == nullptr) {
            auto* edit = qobject_cast<QLineEdit*>(widget);
            if (metrics.height() + 4 > edit->height()) {
                clipped << Where(edit, edit->text());
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            if (metrics.height() + 4 > combo->height()) {
                clipped << Where(combo, combo->currentText());
            }
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            const int box = list->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8;
            for (int i = 0; i < list->count(); ++i) {
                const bool checkable = list->item(i)->flags() & Qt::ItemIsUserCheckable;
                if ((checkable ? box : 4) + metrics.horizontalAdvance(list->item(i)->text()) >
                    list->viewport()->width()) {
                    clipped << Where(list, list->item(i)->text());
                }
            }
        } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            QHeaderView* header = tree->header();
            for (int column = 0; column < tree->columnCount(); ++column) {
                const QString text = tree->headerItem()->text(column);
                if (metrics.horizontalAdvance(text) + 8 > header->sectionSize(column)) {
                    clipped << Where(tree, text);
                }
            }
        }
    }
    return clipped;
}

// A value control whose text is wider than its room must show the whole text in its tooltip.
QStringList HiddenValues(QWidget* page) {
    QStringList hidden;
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            text = combo->currentText();
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget);
                   edit != nullptr && qobject_cast<QComboBox*>(edit->parentWidget()) == nullptr) {
            text = edit->text();
        } else {
            continue;
        }
        if (widget->fontMetrics().horizontalAdvance(text) > kestrune::ui::TextRoom(widget) &&
            !widget->toolTip().startsWith(text)) {
            hidden << Where(widget, text);
        }
    }
    return hidden;
}

}  // namespace

class FitTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        QApplication::setFont(kestrune::ui::DesignFont());
        kestrune::ui::ApplyLanguage(kestrune::ui::ShownLanguage::Designed);
    }

    void everyTextFits_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("preset");
        QTest::addColumn<bool>("english");
        for (const bool english : {false, true}) {
            const char* language = english ? "English" : "designed";
            for (const char* preset : {"HelloC.zrp", "ImageTools.zrp"}) {
                QTest::addRow("%s, design font, %s", language, preset)
                    << QString() << 0 << preset << english;
                for (const char* family : {"DejaVu Sans", "Nimbus Sans"}) {
                    for (int points : {10, 12}) {
                        QTest::addRow("%s, %s %d pt, %s", language, family, points, preset)
                            << family << points << preset << english;
                    }
                }
            }
        }
    }
    void everyTextFits() {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(QString, preset);
        QFETCH(bool, english);
        kestrune::testing::SetUpTestApplication();
        const QFont font = family.isEmpty() ? kestrune::ui::DesignFont()
                                            : kestrune::ui::ApplicationFont(QFont(family, points));
        QApplication::setFont(font);
        if (family.isEmpty()) {
            QCOMPARE(kestrune::ui::LayoutScale(), 1.0);
        } else {
            QVERIFY(kestrune::ui::LayoutScale() > 1.1);
        }
        UiHarness h;
        if (english) {
            h.State().Language = kestrune::LanguageChoice::English;
        }
        h.Start({h.Preset(preset.toLatin1().constData())});
        h.platform.fileAnswers.push_back(h.home / "Inputs/hello.c");
        h.Trigger("cmdOpenFile");
        h.window->show();
        h.Trigger("cmdSetup");
        // The longest caption the tool-path label takes.
        auto* options = h.window->Options();
        auto* tools = options->findChild<QTreeWidget*>("lstToolPaths");
        tools->setCurrentItem(tools->topLevelItem(0));
        h.Trigger("cmdAboutKestrune");

        QStringList clipped =
            Clipped(h.window.get()) + Clipped(options) + Clipped(h.window->About());
        for (int tab = 0; tab < h.Tabs()->count(); ++tab) {
            QWidget* page = h.Tabs()->widget(tab);
            clipped << HiddenValues(page);
            // The page below the tabs holds its group box.
            auto* group = page->findChild<QGroupBox*>();
            const int pageHeight = h.Tabs()->height() - h.Tabs()->tabBar()->height();
            if (group->geometry().bottom() > pageHeight) {
                clipped << Where(group, QStringLiteral("below the page"));
            }
        }
        // The window's controls inside its client area, the client area on the screen.
        for (QWidget* child : h.window->centralWidget()->findChildren<QWidget*>(
                 QString(), Qt::FindDirectChildrenOnly)) {
            if (child->objectName() != QLatin1String("txtDetails") &&
                !h.window->centralWidget()->rect().contains(child->geometry())) {
                clipped << Where(child, QStringLiteral("outside the window"));
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        QTest::keyClick(h.window->About(), Qt::Key_Escape);
        QTest::keyClick(options, Qt::Key_Escape);
    }

    // The layout keeps its proportions: every place grows by one ratio.
    void theLayoutGrowsWithTheFont() {
        kestrune::testing::SetUpTestApplication();
        QApplication::setFont(kestrune::ui::ApplicationFont(QFont("DejaVu Sans", 12)));
        const double scale = kestrune::ui::LayoutScale();
        UiHarness h;
        h.Start({h.Preset("HelloC.zrp")});
        const auto near = [scale](int actual, int designed) {
            return std::abs(actual - designed * scale) <= 1.0;
        };
        QVERIFY(near(h.window->width(), 704));
        QVERIFY(near(h.window->centralWidget()->height(), 528));
        auto* run = h.Find<QPushButton>("cmdCompile");
        QVERIFY(near(run->x(), 623) && near(run->width(), 75));
        QCheckBox* warnings = h.FieldCheck(0, "Warnings");
        QVERIFY(near(warnings->y(), 91) && near(warnings->width(), 176));
        QVERIFY(near(h.window->Options()->width(), 304));
        QVERIFY(near(h.window->About()->height(), 264));
    }
};

QTEST_MAIN(FitTest)
#include "fitTest.moc"
