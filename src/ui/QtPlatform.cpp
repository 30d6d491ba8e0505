#include "QtPlatform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QOperatingSystemVersion>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QUrl>

#include "RunProcesses.h"
#include "ShellCommands.h"
#include "app/RunRecord.h"
#include "base/Color.h"
#include "base/DateTimeText.h"
#include "base/Paths.h"
#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif

namespace kestrune::ui {

QString ToQt(const std::string& text) {
#ifdef _WIN32
    // The core keeps UTF-8 on Windows too; the code page is only the files' business.
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
#else
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
#endif
}

QString ViewToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
#ifdef _WIN32
    const QByteArray bytes = text.toUtf8();
#else
    const QByteArray bytes = text.toLocal8Bit();
#endif
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

namespace {

// Message texts use CR LF between lines; a Qt label breaks at LF only.
QString MessageText(const std::string& text) {
    QString result = ToQt(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

}  // namespace

int MessageTitleRoom(const QString& title) {
    // Title bars commonly set the title in bold; beside it stand the window's icon, its close
    // button and the frame's margins, each about a title bar's height.
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 4 * (metrics.height() + 8);
}

void FitTitle(QMessageBox& box) {
    // A message box is as wide as its text, so a short text would cut its own title off:
    // a spacer across the whole grid keeps room for the title too.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int room = MessageTitleRoom(box.windowTitle());
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

void QtPlatform::ShowMessage(MessageKind kind, const std::string& text) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (kind == MessageKind::Error) {
        icon = QMessageBox::Critical;
    } else if (kind == MessageKind::Information) {
        icon = QMessageBox::Information;
    }
    QMessageBox box(icon, QString::fromLatin1(MessageTitle(kind)), MessageText(text),
                    QMessageBox::Ok, owner_);
    FitTitle(box);
    box.exec();
}

ConfirmAnswer QtPlatform::Confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kConfirmationTitle),
                    MessageText(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    owner_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    FitTitle(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return ConfirmAnswer::Yes;
        case QMessageBox::No:
            return ConfirmAnswer::No;
        default:
            return ConfirmAnswer::Cancel;
    }
}

std::optional<std::string> QtPlatform::FileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(owner_, ToQt(request.title), ToQt(request.initialFolder));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The core reports a missing file itself; a typed name that does not exist yet is allowed.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (save) {
        // Saving replaces an existing file without a question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!request.filter.empty()) {
        dialog.setNameFilters(QtNameFilters(ToQt(request.filter)));
    }
    if (!request.defaultExtension.empty()) {
        QString suffix = ToQt(request.defaultExtension);
        if (suffix.startsWith(QLatin1Char('.'))) {
            suffix.remove(0, 1);
        }
        dialog.setDefaultSuffix(suffix);
    }
    if (!request.fileName.empty()) {
        dialog.selectFile(ToQt(request.fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return FromQt(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

std::optional<std::string> QtPlatform::OpenFileDialog(const FileDialogRequest& request) {
    return FileDialog(request, false);
}

std::optional<std::string> QtPlatform::SaveFileDialog(const FileDialogRequest& request) {
    return FileDialog(request, true);
}

std::string QtPlatform::ChooseFolder(const std::string& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner_, ToQt(title));
    return folder.isEmpty() ? std::string() : FromQt(QDir::toNativeSeparators(folder));
}

std::optional<std::uint32_t> QtPlatform::ChooseColor(std::uint32_t initial) {
    const ColorComponents parts = UnpackColor(initial);
    const QColor chosen =
        QColorDialog::getColor(QColor(parts.red, parts.green, parts.blue), owner_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return PackColor(static_cast<std::uint32_t>(chosen.red()),
                     static_cast<std::uint32_t>(chosen.green()),
                     static_cast<std::uint32_t>(chosen.blue()));
}

void QtPlatform::StartScript(const QString& given) {
    const QString workingFolder = QDir::currentPath();
    // Beside the script the window writes the wrapper that records the run; with it, the run
    // can be followed and stopped.
    const QString wrapper = QFileInfo(given).dir().filePath(QString::fromLatin1(kRunWrapperName));
    const QString script = QFileInfo::exists(wrapper) ? wrapper : given;
    const auto find = [](const QString& name) { return QStandardPaths::findExecutable(name); };
    if (const auto terminal = TerminalCommand(script, qEnvironmentVariable("TERMINAL"), find)) {
        if (QProcess::startDetached(terminal->program, terminal->arguments, workingFolder)) {
            return;
        }
    }
    // No terminal to show it: the script still runs, and its output is kept beside it.
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({script});
    process.setWorkingDirectory(workingFolder);
    process.setStandardOutputFile(DetachedOutputPath(given));
    process.setStandardErrorFile(DetachedOutputPath(given), QIODevice::Append);
    process.startDetached();
}

void QtPlatform::ShellOpen(const std::string& target, const std::string& parameters) {
#ifdef _WIN32
    // compile.bat, REDA.exe with its one quoted log path, links and the help page: the shell's
    // own "open", as a double click would; a failure shows nothing.
    windows::ShellOpen(target, parameters, FromQt(QDir::toNativeSeparators(QDir::currentPath())));
    return;
#endif
    const QString path = ToQt(target);
    const std::string_view name = FileNamePart(target);
    if (name == kScriptFileName) {
        StartScript(path);
        return;
    }
    if (name == kLogViewerFileName) {
        QStringList arguments;
        if (!parameters.empty()) {
            arguments << StripSurroundingQuotes(ToQt(parameters));
        }
        QProcess::startDetached(path, arguments, QDir::currentPath());
        return;
    }
    // Web addresses and other files go to the desktop's opener; a failure shows nothing.
    const QUrl url = QFileInfo::exists(path) ? QUrl::fromLocalFile(path) : QUrl(path);
    QDesktopServices::openUrl(url);
}

std::string QtPlatform::LocalDateTimeText() {
    return kestrune::LocalDateTimeText(std::time(nullptr));
}

ScreenRect QtPlatform::WorkArea() {
#ifdef _WIN32
    return windows::WorkArea();
#endif
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {0, 0, 1024, 768};
    }
    const QRect area = screen->availableGeometry();
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

std::pair<int, int> QtPlatform::OsVersion() {
#ifdef _WIN32
    return windows::OsVersion();
#else
    // Every system this runs on counts as a current one for the window's heights.
    return {10, 0};
#endif
}

std::string QtPlatform::LongPathName(const std::string& path) {
#ifdef _WIN32
    return windows::LongPathName(path);
#endif
    return AbsoluteNormalPath(path);
}

bool QtPlatform::HasNotificationArea() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::string QtPlatform::UserDataFolder() {
    return FromQt(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

int QtPlatform::RunTool(const std::string& program, const std::vector<std::string>& arguments) {
    const QString path = QStandardPaths::findExecutable(ToQt(program));
    if (path.isEmpty()) {
        return kToolNotFound;
    }
    QStringList list;
    for (const std::string& argument : arguments) {
        list << ToQt(argument);
    }
    QProcess process;
    process.start(path, list);
    // The database refreshes take well under a second; a hung tool must not hang the window.
    if (!process.waitForStarted(5000)) {
        return kToolNotFound;
    }
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(1000);
        return 1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
}

int QtPlatform::Ask(const std::string& title, const std::string& text,
                    const std::vector<std::string>& buttons) {
    QMessageBox box(QMessageBox::Question, ToQt(title), MessageText(text), QMessageBox::NoButton,
                    owner_);
    std::vector<QPushButton*> added;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // The last button declines, so Esc and the close box choose it; it is also the
        // default, so a Return pressed out of habit neither runs a stranger's commands nor
        // starts a second run.
        const bool last = i + 1 == buttons.size() && buttons.size() > 1;
        added.push_back(box.addButton(ToQt(buttons[i]),
                                      last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!added.empty()) {
        box.setDefaultButton(added.back());
    }
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i]) {
            return static_cast<int>(i);
        }
    }
    return kQuestionClosed;
}

bool QtPlatform::ProcessAlive(int pid) {
    return ui::ProcessAlive(pid);
}

bool QtPlatform::StopProcessGroup(int group) {
    return ui::StopProcessGroup(group);
}

}  // namespace kestrune::ui
