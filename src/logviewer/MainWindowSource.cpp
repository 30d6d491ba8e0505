// From a problem in the log to the source: jumps between error and warning lines, and the
// file location a line names opened in the user's editor.

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStatusBar>
#include <QUrl>

#include "LogView.h"
#include "MainWindow.h"
#include "PathText.h"
#include "Report.h"
#include "SourceLocation.h"

namespace reda {

namespace {

// The editor's words and the file's path meet in one command as path text (NativePath.h): on
// Windows the environment is read wide and the path converted explicitly, where the ANSI code
// page would open a wrong file for a path beyond it.
std::string environment(const char* name) {
    return environmentText(name).value_or(std::string());
}

bool startDetached(const QString& program, const QStringList& arguments) {
    if (program.isEmpty()) {
        return !arguments.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(arguments[0]));
    }
    return QProcess::startDetached(program, arguments);
}

}  // namespace

bool MainWindow::jumpToProblem(bool forward, bool errorsOnly) {
    if (refuseWhileCounting()) {
        return false;
    }
    const std::optional<std::size_t> line =
        forward ? problems_.nextProblem(log_, view_->currentLine(), errorsOnly)
                : problems_.previousProblem(log_, view_->currentLine(), errorsOnly);
    updateCounts();
    if (!line) {
        showStatus(errorsOnly ? (forward ? tr("No further errors.") : tr("No earlier errors."))
                              : (forward ? tr("No further errors or warnings.")
                                         : tr("No earlier errors or warnings.")));
        return false;
    }
    statusBar()->clearMessage();
    view_->setCurrentLine(*line);
    return true;
}

bool MainWindow::nextProblem() {
    return jumpToProblem(true, false);
}

bool MainWindow::previousProblem() {
    return jumpToProblem(false, false);
}

bool MainWindow::nextError() {
    return jumpToProblem(true, true);
}

bool MainWindow::previousError() {
    return jumpToProblem(false, true);
}

bool MainWindow::openLocation(std::size_t line) {
    if (line >= log_.lineCount()) {
        return false;
    }
    const std::optional<SourceLocation> location = findLocation(log_.line(line));
    if (!location) {
        showStatus(tr("This line names no file location."));
        return false;
    }
    // Relative paths are taken the way the build took them: from the folder make or ninja
    // entered above the line, the log's folder and the folders above it.
    const std::filesystem::path file =
        resolveLocation(*location, linkContextAt(log_, line, sourceRoot()));
    const QString shown = fromPath(file);
    if (!QFileInfo(shown).isFile()) {
        showStatus(tr("The file %1 is not there.").arg(shown));
        return false;
    }
    const std::optional<EditorCommand> command = editorCommand(
        environment("VISUAL"), environment("EDITOR"), file, location->line, location->column);
    QString program;
    QStringList arguments;
    if (command) {
        program = fromPathText(command->program);
        for (const std::string& argument : command->arguments) {
            arguments << fromPathText(argument);
        }
    } else {
        arguments << shown;  // the desktop's opener, which knows no line
    }
    const bool started = opener_ ? opener_(program, arguments) : startDetached(program, arguments);
    showStatus(started ? tr("Opened %1 at line %2.").arg(shown).arg(location->line)
                       : tr("The editor could not be started: %1").arg(program));
    return started;
}

}  // namespace reda
