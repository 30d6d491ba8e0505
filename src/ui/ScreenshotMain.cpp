// Renders Kestrune's windows into PNG files for the README, offscreen:
//   kestrune_screenshot HOME PRESET INPUT OUTFOLDER [POINTS NAME]
// HOME is a program folder with the samples, PRESET the preset the window opens at start and
// INPUT the input file chosen afterwards; the Presets page lists the two sample presets. Writes
// main.png, options-general.png, options-paths.png, options-presets.png and about.png. With
// POINTS, the desktop font is DejaVu Sans at that size (0: the design font) and only the main
// window is written, as NAME.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <string_view>
#include <vector>

#include "AboutBox.h"
#include "MainWindow.h"
#include "OptionsDialog.h"
#include "QtPlatform.h"
#include "UiSetup.h"
#include "app/Kestrune.h"
#include "base/NullPlatform.h"

namespace {

// Answers the file dialogs in turn from a list; everything else as without a desktop.
class ScriptedPlatform : public kestrune::NullPlatform {
  public:
    explicit ScriptedPlatform(std::vector<std::string> files) : files_(std::move(files)) {}
    std::optional<std::string> OpenFileDialog(const kestrune::FileDialogRequest&) override {
        if (next_ >= files_.size()) {
            return std::nullopt;
        }
        return files_[next_++];
    }
    std::string LocalDateTimeText() override { return "08.12.2026 10:00:00"; }
    bool HasNotificationArea() override { return true; }

  private:
    std::vector<std::string> files_;
    std::size_t next_ = 0;
};

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
    kestrune::ui::SetUpApplication(app);
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
    const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + '/';
    // The input file, then two favourites for the options dialog's Presets page.
    ScriptedPlatform platform({FromQt(QDir(QString::fromLocal8Bit(argv[3])).absolutePath()),
                               FromQt(home + "Presets/HelloC.zrp"),
                               FromQt(home + "Presets/ImageTools.zrp")});
    kestrune::Kestrune core(platform, FromQt(home));
    kestrune::ui::MainWindow window(core);
    core.Start({FromQt(QDir(QString::fromLocal8Bit(argv[2])).absolutePath())});
    window.Sync();
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
