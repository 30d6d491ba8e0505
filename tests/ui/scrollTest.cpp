// Program tabs whose fields need more room than the tab has: a page scrolls instead of cutting
// fields off, Tab brings every field into view, the wheel scrolls, and the rest of the window
// stays where it is. Pages whose fields fit show no scroll bar.

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <fstream>

#include "FieldPage.h"
#include "UiHarness.h"

using kestrune::testing::UiHarness;

namespace {

// A program of `checks` check boxes and, after them, two edit boxes: columns of ten rows
// each, so the later columns lie far beyond the tab's right edge.
void WriteManyFields(const std::string& path, int checks) {
    std::ofstream spec(path, std::ios::binary);
    spec << "Setup = Many\r\n{\r\n    Layout:\r\n    echo $ClassParam=Lots\r\n}\r\n";
    spec << "Group = Lots\r\n{\r\n    Name = Lots of options\r\n";
    for (int i = 1; i <= checks; ++i) {
        spec << "    CheckBox = Option " << i << "\r\n    {\r\n        Param = --option-" << i
             << "\r\n    }\r\n";
    }
    spec << "    EditBox = Last value\r\n    {\r\n        Param = --last #\r\n    }\r\n";
    spec << "}\r\n";
}

kestrune::ui::FieldPage* Page(const UiHarness& h, int tab) {
    return qobject_cast<kestrune::ui::FieldPage*>(h.Tabs()->widget(tab));
}

// Whether `widget` lies wholly inside the part of its page's scroll area that is shown.
bool Shown(QWidget* widget, QScrollArea* area) {
    const QRect inViewport(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
    return area->viewport()->rect().contains(inViewport);
}

void LoadSpecification(UiHarness& h, const QString& caption) {
    auto* menu = h.Find<QMenu>("cmdSpecificationsMenu");
    const QList<QAction*> entries = menu->actions();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i]->text() == caption) {
            h.window->ChooseItem("cmdSpecificationsMenu", static_cast<std::size_t>(i));
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no specification ") + caption));
}

}  // namespace

class ScrollTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QApplication::setFont(kestrune::ui::DesignFont()); }

    void everyFieldIsReachedByTabAndShown_data() {
        QTest::addColumn<int>("points");
        QTest::newRow("design font") << 0;
        QTest::newRow("12 pt") << 12;
    }
    void everyFieldIsReachedByTabAndShown() {
        QFETCH(int, points);
        kestrune::testing::SetUpTestApplication();
        if (points > 0) {
            QApplication::setFont(
                kestrune::ui::ApplicationFont(QFont(QStringLiteral("DejaVu Sans"), points)));
        }
        UiHarness h;
        WriteManyFields(h.home / "SpecFiles/Many.zrs", 60);
        h.Start();
        LoadSpecification(h, QStringLiteral("Many"));
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        kestrune::ui::FieldPage* page = Page(h, 0);
        QVERIFY(page != nullptr);
        QScrollArea* area = page->ScrollArea();
        QVERIFY(area->horizontalScrollBar()->isVisible());

        // Every field's controls that take input, reached one after another with Tab from the
        // first: 60 check boxes and the edit box's caption box (its edit is disabled until
        // ticked).
        std::vector<QWidget*> order;
        for (QWidget* widget : page->FocusOrder()) {
            if (widget->isEnabled()) {
                order.push_back(widget);
            }
        }
        QCOMPARE(order.size(), std::size_t(61));
        order.front()->setFocus(Qt::TabFocusReason);
        QStringList unseen;
        for (std::size_t i = 0; i < order.size(); ++i) {
            QWidget* focused = QApplication::focusWidget();
            if (focused != order[i]) {
                QFAIL(qPrintable(QStringLiteral("Tab %1 reached %2, not %3")
                                     .arg(i)
                                     .arg(focused ? focused->accessibleName() : QString("nothing"),
                                          order[i]->accessibleName())));
            }
            if (!Shown(focused, area)) {
                unseen << (qobject_cast<QCheckBox*>(focused)
                               ? qobject_cast<QCheckBox*>(focused)->text()
                               : focused->accessibleName());
            }
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen.join(", ")));
        // The last column is shown now, the first is scrolled away.
        QVERIFY(area->horizontalScrollBar()->value() > 0);
        QVERIFY(!Shown(order.front(), area));
    }

    void theWheelScrollsAndTheRestStays() {
        kestrune::testing::SetUpTestApplication();
        UiHarness h;
        WriteManyFields(h.home / "SpecFiles/Many.zrs", 60);
        h.Start();
        LoadSpecification(h, QStringLiteral("Many"));
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QScrollArea* area = Page(h, 0)->ScrollArea();
        QScrollBar* across = area->horizontalScrollBar();
        QCOMPARE(across->value(), 0);
        const QStringList others = {"lstStages", "txtFile", "cmdCompile", "txtDetails",
                                    "chkRememberFile"};
        QList<QRect> before;
        for (const QString& name : others) {
            before << h.window->findChild<QWidget*>(name)->geometry();
        }
        QWidget* viewport = area->viewport();
        const QPoint at = viewport->rect().center();
        // Two notches of an ordinary wheel, turned towards the user.
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QVERIFY(across->value() > 0);
        QList<QRect> after;
        for (const QString& name : others) {
            after << h.window->findChild<QWidget*>(name)->geometry();
        }
        QCOMPARE(after, before);
    }

    void fieldsKeepTheirDesignedPlaces() {
        kestrune::testing::SetUpTestApplication();
        UiHarness h;
        WriteManyFields(h.home / "SpecFiles/Many.zrs", 60);
        h.Start();
        LoadSpecification(h, QStringLiteral("Many"));
        // Every field where the core placed it: columns 180 apart, rows 25 apart.
        QCOMPARE(h.FieldCheck(0, "Option 1")->pos(), QPoint(8, 16));
        QCOMPARE(h.FieldCheck(0, "Option 2")->pos(), QPoint(8, 41));
        const auto& group = *h.State().Specification.Programs.front();
        QCOMPARE(group.CheckBoxes.size(), std::size_t(60));
        int columns = 0;
        for (const auto& field : group.CheckBoxes) {
            const QString caption = QString::fromStdString(field.Caption());
            QCheckBox* check = h.FieldCheck(0, caption);
            QVERIFY2(check != nullptr, qPrintable(caption));
            QCOMPARE(check->geometry(), kestrune::ui::Scaled(field.Core.CheckControl.bounds));
            columns = std::max(columns, (check->x() - 8) / 180 + 1);
        }
        QVERIFY(columns >= 5);
        // The box grew to hold the last column; it starts where it was designed.
        auto* box = Page(h, 0)->findChild<QGroupBox*>();
        QCOMPARE(box->pos(), QPoint(8, 8));
        QVERIFY(box->geometry().right() >= h.FieldCheck(0, "Option 60")->geometry().right());
    }

    void noScrollBarWhereEverythingFits_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<int>("points");
        for (const char* preset : {"HelloC.zrp", "ImageTools.zrp"}) {
            for (int points : {0, 10, 12}) {
                QTest::addRow("%s, %d pt", preset, points) << preset << points;
            }
        }
    }
    void noScrollBarWhereEverythingFits() {
        QFETCH(QString, preset);
        QFETCH(int, points);
        kestrune::testing::SetUpTestApplication();
        if (points > 0) {
            QApplication::setFont(
                kestrune::ui::ApplicationFont(QFont(QStringLiteral("DejaVu Sans"), points)));
        }
        UiHarness h;
        h.Start({h.Preset(preset.toLatin1().constData())});
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        for (int tab = 0; tab < h.Tabs()->count(); ++tab) {
            h.Tabs()->setCurrentIndex(tab);
            // The page takes its size once shown, as a person sees it.
            QApplication::processEvents();
            QScrollArea* area = Page(h, tab)->ScrollArea();
            QVERIFY2(!area->horizontalScrollBar()->isVisible(), qPrintable(h.Tabs()->tabText(tab)));
            QVERIFY2(!area->verticalScrollBar()->isVisible(), qPrintable(h.Tabs()->tabText(tab)));
            // The box has its designed size: the page less 8 on each side.
            auto* box = Page(h, tab)->findChild<QGroupBox*>();
            QCOMPARE(box->pos(), QPoint(kestrune::ui::Scaled(8), kestrune::ui::Scaled(8)));
        }
    }
};

QTEST_MAIN(ScrollTest)
#include "scrollTest.moc"
