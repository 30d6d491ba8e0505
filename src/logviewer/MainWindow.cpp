#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "FindBar.h"
#include "LogView.h"
#include "WordsDialog.h"
#include "base/FileIo.h"

#ifndef REDA_VERSION
#define REDA_VERSION ""
#endif

// The resources of a static library are registered by hand, outside any namespace.
static void initRedaResources() {
    Q_INIT_RESOURCE(reda);
}

namespace reda {

namespace {

std::filesystem::path toPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString fromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

QIcon redaIcon() {
    initRedaResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/reda/reda-32.png"));
    icon.addFile(QStringLiteral(":/reda/reda-256.png"));
    return icon;
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path settingsFile, QWidget* parent)
    : QMainWindow(parent),
      settingsFile_(std::move(settingsFile)),
      settings_(readSettings(settingsFile_)),
      problems_(settings_.words) {
    setObjectName(QStringLiteral("redaWindow"));
    setWindowTitle(QStringLiteral("REDA"));
    setWindowIcon(redaIcon());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    view_ = new LogView(central);
    findBar_ = new FindBar(central);
    findBar_->setOptions(FindOptions{settings_.matchCase, settings_.wholeWord});
    findBar_->hide();
    layout->addWidget(view_, 1);
    layout->addWidget(findBar_);
    setCentralWidget(central);
    view_->setModel(&log_, &problems_);

    linesLabel_ = new QLabel(this);
    linesLabel_->setObjectName(QStringLiteral("linesLabel"));
    errorsLabel_ = new QLabel(this);
    errorsLabel_->setObjectName(QStringLiteral("errorsLabel"));
    warningsLabel_ = new QLabel(this);
    warningsLabel_->setObjectName(QStringLiteral("warningsLabel"));
    followLabel_ = new QLabel(this);
    followLabel_->setObjectName(QStringLiteral("followLabel"));
    statusBar()->addPermanentWidget(linesLabel_);
    statusBar()->addPermanentWidget(errorsLabel_);
    statusBar()->addPermanentWidget(warningsLabel_);
    statusBar()->addPermanentWidget(followLabel_);

    createActions();

    connect(findBar_, &FindBar::findNext, this, &MainWindow::findNext);
    connect(findBar_, &FindBar::findPrevious, this, &MainWindow::findPrevious);
    connect(findBar_, &FindBar::changed, this, &MainWindow::updateHighlight);
    connect(findBar_, &FindBar::closed, this, [this] {
        view_->setHighlight(TextFinder{});
        view_->setFocus();
    });
    connect(view_, &LogView::selectionChanged, this, &MainWindow::updateActions);
    connect(view_, &LogView::followingChanged, this, [this] { updateCounts(); });

    pollTimer_.setInterval(kPollMilliseconds);
    connect(&pollTimer_, &QTimer::timeout, this, &MainWindow::pollNow);
    classifyTimer_.setSingleShot(true);
    classifyTimer_.setInterval(0);
    connect(&classifyTimer_, &QTimer::timeout, this, &MainWindow::classifySlice);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &MainWindow::schedulePoll);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &MainWindow::schedulePoll);

    if (settings_.geometry.empty() ||
        !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(settings_.geometry)))) {
        resize(960, 640);
    }
    updateCounts();
    updateActions();
    view_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions() {
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, tr("&Open…"), QKeySequence::Open, [this] { openFromDialog(); });
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    reloadAction_ = add(file, tr("Re&load"), QKeySequence(Qt::Key_F5), [this] {
        if (!log_.path().empty()) {
            openLog(fromPath(log_.path()));
        }
    });
    file->addSeparator();
    saveSelectionAction_ = add(file, tr("&Save Selection As…"), QKeySequence::Save,
                               [this] { saveSelectionFromDialog(); });
    file->addSeparator();
    closeAction_ =
        add(file, tr("&Close Log"), QKeySequence(Qt::CTRL | Qt::Key_W), [this] { closeLog(); });
    add(file, tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    copyAction_ = add(edit, tr("&Copy"), QKeySequence::Copy, [this] { copySelection(); });
    add(edit, tr("Select &All"), QKeySequence::SelectAll, [this] { view_->selectAll(); });
    edit->addSeparator();
    add(edit, tr("&Find…"), QKeySequence::Find, [this] {
        QString seed;
        if (view_->hasSelection() && view_->selectionEnd() - view_->selectionStart() < 200) {
            const std::string_view bytes = log_.bytes().substr(
                view_->selectionStart(), view_->selectionEnd() - view_->selectionStart());
            if (bytes.find_first_of("\r\n") == std::string_view::npos) {
                seed = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
            }
        }
        findBar_->activate(seed);
        updateHighlight();
    });
    add(edit, tr("Find &Next"), QKeySequence(Qt::Key_F3), [this] { findNext(); });
    add(edit, tr("Find &Previous"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
        [this] { findPrevious(); });
    edit->addSeparator();
    add(edit, tr("&Go to Line…"), QKeySequence(Qt::CTRL | Qt::Key_G),
        [this] { goToLineFromDialog(); });
    add(edit, tr("&Highlight Words…"), QKeySequence(Qt::CTRL | Qt::Key_H), [this] { editWords(); });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    add(view, tr("&Next Error or Warning"), QKeySequence(Qt::Key_F8), [this] { nextProblem(); });
    add(view, tr("&Previous Error or Warning"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
        [this] { previousProblem(); });
    view->addSeparator();
    add(view, tr("Go to &Top"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        [this] { view_->scrollToTop(); });
    add(view, tr("Go to &End and Follow"), QKeySequence(Qt::CTRL | Qt::Key_End),
        [this] { view_->scrollToEnd(); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(help, tr("&About REDA"), QKeySequence(Qt::Key_F1), [this] {
        QMessageBox::about(this, tr("About REDA"),
                           tr("<b>REDA</b> %1<br>The log viewer of Kestrune: it follows a log "
                              "while the tools write it and finds errors and warnings.")
                               .arg(QStringLiteral(REDA_VERSION)));
    });
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    recentMenu_->clear();
    int number = 1;
    for (const std::string& entry : settings_.recentLogs) {
        const QString path = QString::fromStdString(entry);
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1  %2").arg(number).arg(path));
        action->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_0 + number)));
        connect(action, &QAction::triggered, this, [this, path] { openLog(path); });
        ++number;
    }
    if (settings_.recentLogs.empty()) {
        recentMenu_->addAction(tr("(no recent logs)"))->setEnabled(false);
    }
}

void MainWindow::openLog(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    log_.setPath(toPath(absolute));
    problems_.reset();
    view_->setModel(&log_, &problems_);
    setWindowTitle(tr("%1 — REDA").arg(QFileInfo(absolute).fileName()));
    statusBar()->clearMessage();
    rememberLog(settings_, absolute.toStdString());
    rebuildRecentMenu();
    saveSettings();
    pollNow();
    if (!log_.isOpen() && log_.error().empty()) {
        showStatus(tr("Waiting for the log to appear…"));
    }
    pollTimer_.start();
}

void MainWindow::openStandardInput(const QString& copy) {
    const QString absolute = QFileInfo(copy).absoluteFilePath();
    log_.setPath(toPath(absolute));
    problems_.reset();
    view_->setModel(&log_, &problems_);
    setWindowTitle(tr("standard input — REDA"));
    statusBar()->clearMessage();
    pollNow();
    pollTimer_.start();
}

void MainWindow::closeLog() {
    pollTimer_.stop();
    classifyTimer_.stop();
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    log_.setPath({});
    problems_.reset();
    view_->setModel(&log_, &problems_);
    setWindowTitle(QStringLiteral("REDA"));
    statusBar()->clearMessage();
    updateCounts();
    updateActions();
}

void MainWindow::schedulePoll() {
    // A busy tool fires the watcher for every write; one poll per burst is enough.
    if (!pollPending_) {
        pollPending_ = true;
        QTimer::singleShot(kWatchCoalesceMilliseconds, this, &MainWindow::pollNow);
    }
}

void MainWindow::watchLog() {
    const QString file = fromPath(log_.path());
    const QString folder = QFileInfo(file).absolutePath();
    // Watchers drop a file that was replaced, so it is added again whenever it is there.
    if (QFileInfo::exists(file) && !watcher_.files().contains(file)) {
        watcher_.addPath(file);
    }
    if (QFileInfo::exists(folder) && !watcher_.directories().contains(folder)) {
        watcher_.addPath(folder);
    }
}

void MainWindow::pollNow() {
    pollPending_ = false;
    if (log_.path().empty()) {
        return;
    }
    switch (log_.poll()) {
        case LogFile::Change::None:
            break;
        case LogFile::Change::Appeared:
            problems_.reset();
            view_->logUpdated(true);
            statusBar()->clearMessage();
            break;
        case LogFile::Change::Appended:
            view_->logUpdated(false);
            break;
        case LogFile::Change::Reloaded:
            problems_.reset();
            view_->logUpdated(true);
            showStatus(tr("The log was truncated or replaced; reloaded from the start."));
            break;
        case LogFile::Change::Vanished:
            showStatus(tr("The log was removed; waiting for it to appear again…"));
            break;
        case LogFile::Change::Failed:
            problems_.reset();
            view_->logUpdated(true);
            showStatus(tr("Cannot read the log: %1").arg(QString::fromStdString(log_.error())));
            break;
    }
    watchLog();
    if (!problems_.finished(log_) && !classifyTimer_.isActive()) {
        classifyTimer_.start();
    }
    updateCounts();
    updateActions();
}

void MainWindow::classifySlice() {
    if (!problems_.advance(log_, kClassifySlice)) {
        classifyTimer_.start();
    }
    view_->refreshMarks();
    updateCounts();
}

void MainWindow::updateCounts() {
    const bool counting = !problems_.finished(log_);
    const QString more = counting ? QStringLiteral("…") : QString();
    linesLabel_->setText(tr("Lines: %1").arg(static_cast<qulonglong>(log_.lineCount())));
    errorsLabel_->setText(
        tr("Errors: %1").arg(static_cast<qulonglong>(problems_.errorCount(log_))) + more);
    warningsLabel_->setText(
        tr("Warnings: %1").arg(static_cast<qulonglong>(problems_.warningCount(log_))) + more);
    followLabel_->setText(view_->isAtEnd() ? tr("Following") : tr("Paused"));
}

void MainWindow::updateActions() {
    const bool open = !log_.path().empty();
    reloadAction_->setEnabled(open);
    closeAction_->setEnabled(open);
    copyAction_->setEnabled(view_->hasSelection());
    saveSelectionAction_->setEnabled(view_->hasSelection());
}

void MainWindow::updateHighlight() {
    const QByteArray needle = findBar_->text().toUtf8();
    if (findBar_->isHidden() || needle.isEmpty()) {
        view_->setHighlight(TextFinder{});
        return;
    }
    view_->setHighlight(
        TextFinder(std::string_view(needle.constData(), static_cast<std::size_t>(needle.size())),
                   findBar_->options()));
}

void MainWindow::showStatus(const QString& text) {
    statusBar()->showMessage(text);
}

bool MainWindow::find(bool forward) {
    if (findBar_->isHidden() || findBar_->text().isEmpty()) {
        findBar_->activate(QString());
        updateHighlight();
        if (findBar_->text().isEmpty()) {
            return false;
        }
    }
    const QByteArray needle = findBar_->text().toUtf8();
    const TextFinder finder(
        std::string_view(needle.constData(), static_cast<std::size_t>(needle.size())),
        findBar_->options());
    const std::string_view bytes = log_.bytes();
    std::size_t at;
    bool wrapped = false;
    // Without a selection the search starts at the current line, in either direction.
    const std::size_t current = std::min(view_->currentLine(), log_.lineCount());
    if (forward) {
        const std::uint64_t from =
            view_->hasSelection() ? view_->selectionStart() + 1 : log_.index().lineStart(current);
        at = finder.next(bytes, static_cast<std::size_t>(from));
        if (at == TextFinder::npos) {
            at = finder.next(bytes, 0);
            wrapped = true;
        }
    } else {
        const std::uint64_t before =
            view_->hasSelection() ? view_->selectionStart() : log_.index().lineLimit(current);
        at = finder.previous(bytes, static_cast<std::size_t>(before));
        if (at == TextFinder::npos) {
            at = finder.previous(bytes);
            wrapped = true;
        }
    }
    if (at == TextFinder::npos) {
        findBar_->setStatus(tr("Not found"));
        return false;
    }
    findBar_->setStatus(
        wrapped ? (forward ? tr("Continued from the top") : tr("Continued from the bottom"))
                : QString());
    view_->setSelection(at + finder.size(), at);
    return true;
}

bool MainWindow::findNext() {
    return find(true);
}

bool MainWindow::findPrevious() {
    return find(false);
}

void MainWindow::goToLine(std::size_t line) {
    if (line >= 1) {
        view_->clearSelection();
        view_->setCurrentLine(line - 1);
    }
}

bool MainWindow::nextProblem() {
    const std::optional<std::size_t> line = problems_.nextProblem(log_, view_->currentLine());
    updateCounts();
    if (!line) {
        showStatus(tr("No further errors or warnings."));
        return false;
    }
    statusBar()->clearMessage();
    view_->setCurrentLine(*line);
    return true;
}

bool MainWindow::previousProblem() {
    const std::optional<std::size_t> line = problems_.previousProblem(log_, view_->currentLine());
    updateCounts();
    if (!line) {
        showStatus(tr("No earlier errors or warnings."));
        return false;
    }
    statusBar()->clearMessage();
    view_->setCurrentLine(*line);
    return true;
}

void MainWindow::copySelection() {
    if (!view_->hasSelection()) {
        return;
    }
    const std::uint64_t length = view_->selectionEnd() - view_->selectionStart();
    if (length > kMaxClipboardBytes) {
        showStatus(
            tr("The selection is too large for the clipboard; save it with Save Selection As."));
        return;
    }
    const std::string_view bytes = log_.bytes().substr(
        static_cast<std::size_t>(view_->selectionStart()), static_cast<std::size_t>(length));
    QApplication::clipboard()->setText(
        QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool MainWindow::saveSelection(const QString& file) {
    const std::uint64_t start = view_->hasSelection() ? view_->selectionStart() : 0;
    const std::uint64_t end = view_->hasSelection() ? view_->selectionEnd() : 0;
    try {
        kestrune::WriteFileReplacing(toPath(file).string(),
                                     log_.bytes().substr(static_cast<std::size_t>(start),
                                                         static_cast<std::size_t>(end - start)));
    } catch (const kestrune::IoError& error) {
        lastError_ = QString::fromLocal8Bit(error.what());
        return false;
    }
    lastError_.clear();
    return true;
}

void MainWindow::setHighlightWords(const HighlightWords& words) {
    settings_.words = words;
    problems_.setWords(words);
    saveSettings();
    pollNow();
    classifyTimer_.start();
    view_->refreshMarks();
}

bool MainWindow::saveSettings() {
    try {
        writeSettings(settingsFile_, settings_);
    } catch (const kestrune::IoError& error) {
        showStatus(tr("Settings not saved: %1").arg(QString::fromLocal8Bit(error.what())));
        return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    settings_.geometry = saveGeometry().toBase64().toStdString();
    const FindOptions options = findBar_->options();
    settings_.matchCase = options.matchCase;
    settings_.wholeWord = options.wholeWord;
    saveSettings();
    event->accept();
}

void MainWindow::openFromDialog() {
    const QString folder =
        log_.path().empty() ? QDir::homePath() : QFileInfo(fromPath(log_.path())).absolutePath();
    const QString file = QFileDialog::getOpenFileName(this, tr("Open Log"), folder,
                                                      tr("Logs (*.log);;All files (*)"));
    if (!file.isEmpty()) {
        openLog(file);
    }
}

void MainWindow::saveSelectionFromDialog() {
    if (!view_->hasSelection()) {
        return;
    }
    const QString file = QFileDialog::getSaveFileName(this, tr("Save Selection As"), QString(),
                                                      tr("Logs (*.log);;All files (*)"));
    if (!file.isEmpty() && !saveSelection(file)) {
        QMessageBox::critical(this, tr("Save Selection As"), lastError_);
    }
}

void MainWindow::goToLineFromDialog() {
    const std::size_t count = log_.lineCount();
    if (count == 0) {
        return;
    }
    const int maximum = static_cast<int>(std::min<std::size_t>(count, INT_MAX));
    bool ok = false;
    const int line = QInputDialog::getInt(
        this, tr("Go to Line"), tr("Line (1 to %1):").arg(maximum),
        static_cast<int>(std::min<std::size_t>(view_->currentLine() + 1, INT_MAX)), 1, maximum, 1,
        &ok);
    if (ok) {
        goToLine(static_cast<std::size_t>(line));
    }
}

void MainWindow::editWords() {
    WordsDialog dialog(settings_.words, this);
    if (dialog.exec() == QDialog::Accepted) {
        setHighlightWords(dialog.words());
    }
}

}  // namespace reda
