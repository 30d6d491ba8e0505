// Renders Kestrune's windows into PNG files for the README, offscreen:
//   kestrune_screenshot HOME PRESET INPUT OUTFOLDER [POINTS NAME]
// HOME is a program folder with the samples, PRESET the preset the window opens at start and
// INPUT the input file chosen afterwards; the Presets page lists the two sample presets. Writes
// main.png, options-general.png, options-paths.png, options-presets.png and about.png. With
// POINTS, the desktop font is DejaVu Sans at that size (0: the design font) and only the main
// window is written, as NAME, and the options dialog's first page, as options-NAME. The
// captions' language is the desktop's (LANGUAGE=en for English, zh_CN for the designed ones).
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <string_view>

#include "AboutBox.h"
#include "DesktopSession.h"
#include "OptionsDialog.h"
#include "QtPlatform.h"
#include "UiSetup.h"
#include "base/ScriptedPlatform.h"

namespace {

bool Save(QWidget* widget, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "kestrune_screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kestrune::ui::SetUpDesktop(app);
    if (argc != 5 && argc != 7) {
        std::fprintf(stderr,
                     "usage: kestrune_screenshot HOME PRESET INPUT OUTFOLDER [POINTS NAME]\n");
        return 2;
    }
    const bool mainOnly = argc == 7;
    // 0 points keeps the design font.
    if (const int points = mainOnly ? QString::fromLocal8Bit(argv[5]).toInt() : 0; points > 0) {
        QApplication::setFont(
            kestrune::ui::ApplicationFont(QFont(QStringLiteral("DejaVu Sans"), points)));
    }
    using kestrune::ui::FromQt;
    // Paths as the system writes them, as a file dialog answers them ("\" on Windows).
    const auto native = [](const QString& path) { return FromQt(QDir::toNativeSeparators(path)); };
    const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    kestrune::ScriptedPlatform platform;
    // The input file, then two favourites for the options dialog's Presets page.
    platform.fileAnswers = {native(QDir(QString::fromLocal8Bit(argv[3])).absolutePath()),
                            native(home + QStringLiteral("Presets/HelloC.zrp")),
                            native(home + QStringLiteral("Presets/ImageTools.zrp"))};
    platform.dateTime = "08.12.2026 10:00:00";
    platform.workArea = {0, 0, 1920, 1080};
    kestrune::ProgramHome programHome;
    programHome.programFolder = native(home);
    kestrune::ui::DesktopSession session(platform, programHome);
    kestrune::Kestrune& core = session.Core();
    kestrune::ui::MainWindow& window = session.Window();
    session.Start({native(QDir(QString::fromLocal8Bit(argv[2])).absolutePath())});
    window.ClickControl("cmdBrowse");
    // The details pane shows the help of the field under the mouse.
    if (!core.frmMain.State().Specification.Programs.empty()) {
        auto& program = *core.frmMain.State().Specification.Programs.front();
        if (!program.CheckBoxes.empty()) {
            window.Event([&program] { program.CheckBoxes.front().MouseMove(); });
        }
    }
    const QString out = QString::fromLocal8Bit(argv[4]);
    bool ok = Save(&window, out, mainOnly ? argv[6] : "main.png");
    if (mainOnly) {
        // The options dialog's first page at the same font, as options-NAME.
        window.ClickControl("cmdSetup");
        const std::string name = std::string("options-") + argv[6];
        ok = Save(window.Options(), out, name.c_str()) && ok;
        window.ClickControl("cmdCancel");
        return ok ? 0 : 1;
    }

    window.ClickControl("cmdSetup");
    const char* const pages[][2] = {{"tabGeneral", "options-general.png"},
                                    {"tabPaths", "options-paths.png"},
                                    {"tabPresets", "options-presets.png"}};
    for (const auto& page : pages) {
        window.ClickControl(page[0]);
        if (std::string_view(page[0]) == "tabPresets") {
            window.ClickControl("cmdAddPreset");
            window.ClickControl("cmdAddPreset");
        }
        ok = Save(window.Options(), out, page[1]) && ok;
    }
    window.ClickControl("cmdCancel");
    window.ClickControl("cmdAboutKestrune");
    ok = Save(window.About(), out, "about.png") && ok;
    window.ClickControl("cmdOK");
    return ok ? 0 : 1;
}
