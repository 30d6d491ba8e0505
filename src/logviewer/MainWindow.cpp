#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "FilterBar.h"
#include "FindBar.h"
#include "LogView.h"
#include "PathText.h"
#include "SearchJob.h"
#include "base/FileIo.h"

// The resources of a static library are registered by hand, outside any namespace.
static void initRedaResources() {
    Q_INIT_RESOURCE(reda);
}

namespace reda {

namespace {

QIcon redaIcon() {
    initRedaResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/reda/reda-32.png"));
    icon.addFile(QStringLiteral(":/reda/reda-256.png"));
    return icon;
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path settingsFile, QWidget* parent,
                       LogFile::Backing backing)
    : QMainWindow(parent),
      settingsFile_(std::move(settingsFile)),
      settings_(readSettings(settingsFile_)),
      log_(backing),
      problems_(settings_.words) {
    setObjectName(QStringLiteral("redaWindow"));
    setWindowTitle(QStringLiteral("REDA"));
    setWindowIcon(redaIcon());
    setAcceptDrops(true);

    buildCentralWidget();
    buildStatusBar();
    createActions();
    connectFindBar();
    connectPanes();
    setUpTimers();

    if (settings_.geometry.empty() ||
        !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(settings_.geometry)))) {
        resize(960, 640);
    }
    updateCounts();
    updateActions();
    view_->setFocus();
}

void MainWindow::buildCentralWidget() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    view_ = new LogView(central);
    findBar_ = new FindBar(central);
    findBar_->setOptions(FindOptions{settings_.matchCase, settings_.wholeWord});
    findBar_->setMode(settings_.regex ? PatternMode::Regex : PatternMode::Plain);
    findBar_->hide();
    // The filtered view sits under the log in a splitter, hidden until asked for.
    auto* splitter = new QSplitter(Qt::Vertical, central);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(view_);
    filterPane_ = new QWidget(splitter);
    filterPane_->setObjectName(QStringLiteral("filterPane"));
    auto* paneLayout = new QVBoxLayout(filterPane_);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);
    filterBar_ = new FilterBar(filterPane_);
    filterView_ = new LogView(filterPane_);
    filterView_->setObjectName(QStringLiteral("filterView"));
    filterView_->setAccessibleName(tr("Filtered lines"));
    paneLayout->addWidget(filterBar_);
    paneLayout->addWidget(filterView_, 1);
    splitter->addWidget(filterPane_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    filterPane_->hide();
    view_->setWrapLines(settings_.wrapLines);
    filterView_->setWrapLines(settings_.wrapLines);
    layout->addWidget(splitter, 1);
    layout->addWidget(findBar_);
    setCentralWidget(central);
    view_->setModel(&log_, &problems_);
    view_->setAccessibleName(tr("Log"));
    view_->setBookmarks(&bookmarks_);
    filterView_->setModel(&log_, &problems_);
    filterView_->setRows(&filtered_);
    filterView_->setBookmarks(&bookmarks_);
}

void MainWindow::buildStatusBar() {
    linesLabel_ = new QLabel(this);
    linesLabel_->setObjectName(QStringLiteral("linesLabel"));
    errorsLabel_ = new QLabel(this);
    errorsLabel_->setObjectName(QStringLiteral("errorsLabel"));
    warningsLabel_ = new QLabel(this);
    warningsLabel_->setObjectName(QStringLiteral("warningsLabel"));
    followLabel_ = new QLabel(this);
    followLabel_->setObjectName(QStringLiteral("followLabel"));
    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("progressLabel"));
    progressLabel_->hide();
    statusBar()->addPermanentWidget(progressLabel_);
    statusBar()->addPermanentWidget(linesLabel_);
    statusBar()->addPermanentWidget(errorsLabel_);
    statusBar()->addPermanentWidget(warningsLabel_);
    statusBar()->addPermanentWidget(followLabel_);
}

void MainWindow::connectFindBar() {
    connect(findBar_, &FindBar::findNext, this, &MainWindow::findNext);
    connect(findBar_, &FindBar::findPrevious, this, &MainWindow::findPrevious);
    connect(findBar_, &FindBar::changed, this, &MainWindow::updateHighlight);
    connect(findBar_, &FindBar::stopRequested, this, &MainWindow::stopSearch);
    connect(findBar_, &FindBar::closed, this, [this] {
        view_->setHighlight(Pattern{});
        view_->setFocus();
    });
    connect(view_, &LogView::selectionChanged, this, &MainWindow::updateActions);
    connect(view_, &LogView::followingChanged, this, [this] { updateCounts(); });
}

// The filtered pane, and the links and lines picked in either view.
void MainWindow::connectPanes() {
    connect(filterBar_, &FilterBar::changed, this, &MainWindow::applyFilter);
    connect(filterBar_, &FilterBar::closed, this, [this] {
        filterPane_->hide();
        view_->setFocus();
    });
    // A line picked in the filtered view is shown in the whole log.
    auto showInLog = [this](std::size_t line) {
        view_->clearSelection();
        view_->setCurrentLine(line);
    };
    connect(filterView_, &LogView::lineClicked, this, showInLog);
    connect(filterView_, &LogView::lineEntered, this, showInLog);
    connect(filterView_, &LogView::linkClicked, this, &MainWindow::openLocation);
    connect(view_, &LogView::lineEntered, this, &MainWindow::openLocation);
    connect(view_, &LogView::linkClicked, this, &MainWindow::openLocation);
}

// Polling the log, classifying and filtering it in slices, and the search's progress.
void MainWindow::setUpTimers() {
    searchTimer_.setInterval(kProgressMilliseconds);
    connect(&searchTimer_, &QTimer::timeout, this, &MainWindow::searchProgress);
    progressTimer_.setInterval(kProgressMilliseconds);
    connect(&progressTimer_, &QTimer::timeout, this, &MainWindow::pollNow);
    filterTimer_.setSingleShot(true);
    filterTimer_.setInterval(0);
    connect(&filterTimer_, &QTimer::timeout, this, &MainWindow::filterSlice);
    pollTimer_.setInterval(kPollMilliseconds);
    connect(&pollTimer_, &QTimer::timeout, this, &MainWindow::pollNow);
    classifyTimer_.setSingleShot(true);
    classifyTimer_.setInterval(0);
    connect(&classifyTimer_, &QTimer::timeout, this, &MainWindow::classifySlice);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &MainWindow::schedulePoll);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &MainWindow::schedulePoll);
}

MainWindow::~MainWindow() {
    search_.reset();
}

void MainWindow::openLog(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    log_.setPath(toPath(absolute));
    problems_.reset();
    view_->setModel(&log_, &problems_);
    filterLogChanged(true);
    setWindowTitle(tr("%1 — REDA").arg(QFileInfo(absolute).fileName()));
    statusBar()->clearMessage();
    rememberLog(settings_, toPathText(absolute));
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
    filterLogChanged(true);
    setWindowTitle(tr("standard input — REDA"));
    statusBar()->clearMessage();
    pollNow();
    pollTimer_.start();
}

void MainWindow::closeLog() {
    stopSearch();
    findBar_->setStatus(QString());
    pollTimer_.stop();
    progressTimer_.stop();
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
    filterLogChanged(true);
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
    for (bool again = true; again;) {
        again = false;
        const LogFile::Change change = log_.poll();
        if (change == LogFile::Change::Appeared || change == LogFile::Change::Reloaded ||
            change == LogFile::Change::Failed) {
            stopSearch();  // its offsets belong to bytes that are gone
            findBar_->setStatus(QString());
        }
        switch (change) {
            case LogFile::Change::None:
                break;
            case LogFile::Change::Appeared:
                problems_.reset();
                view_->logUpdated(true);
                filterLogChanged(true);
                statusBar()->clearMessage();
                if (log_.isCompressed()) {
                    showStatus(tr("A compressed log: shown unpacked, not followed."));
                }
                break;
            case LogFile::Change::Appended:
                view_->logUpdated(false);
                filterLogChanged(false);
                break;
            case LogFile::Change::Reloaded:
                problems_.reset();
                view_->logUpdated(true);
                filterLogChanged(true);
                showStatus(tr("The log was truncated or replaced; reloaded from the start."));
                break;
            case LogFile::Change::Vanished:
                showStatus(tr("The log was removed; waiting for it to appear again…"));
                break;
            case LogFile::Change::Failed:
                problems_.reset();
                view_->logUpdated(true);
                filterLogChanged(true);
                showStatus(tr("Cannot read the log: %1").arg(QString::fromStdString(log_.error())));
                break;
            case LogFile::Change::Indexed:
                view_->logIndexed(log_.linesJoined());
                filterLogChanged(true);
                again = true;  // what was appended meanwhile
                break;
        }
    }
    watchLog();
    // A large log's lines are counted on a worker; the status bar shows how far it got.
    if (log_.indexComplete()) {
        progressTimer_.stop();
    } else if (!progressTimer_.isActive()) {
        progressTimer_.start();
    }
    if (log_.indexComplete() && !problems_.finished(log_) && !classifyTimer_.isActive()) {
        classifyTimer_.start();
    }
    updateCounts();
    updateActions();
}

void MainWindow::classifySlice() {
    const std::size_t before = problems_.classifiedLines();
    if (!problems_.advance(log_, kClassifySlice)) {
        classifyTimer_.start();
    }
    // The classified pages are not needed again soon: they leave resident memory.
    log_.release(log_.index().lineStart(before),
                 log_.index().lineStart(problems_.classifiedLines()));
    view_->refreshMarks();
    updateCounts();
}

void MainWindow::updateCounts() {
    const bool counting = !problems_.finished(log_);
    const QString more = counting ? QStringLiteral("…") : QString();
    if (log_.indexComplete()) {
        linesLabel_->setText(tr("Lines: %1").arg(static_cast<qulonglong>(log_.lineCount())));
        progressLabel_->hide();
    } else {
        const std::uint64_t total = std::max<std::uint64_t>(log_.headBytes(), 1);
        linesLabel_->setText(tr("Lines: …"));
        progressLabel_->setText(
            tr("Counting lines… %1%").arg(static_cast<int>(log_.headIndexed() * 100 / total)));
        progressLabel_->show();
    }
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

void MainWindow::showStatus(const QString& text) {
    statusBar()->showMessage(text);
}

std::vector<std::string> MainWindow::setHighlightWords(const HighlightWords& words) {
    settings_.words = words;
    std::vector<std::string> problems = problems_.setWords(words);
    saveSettings();
    pollNow();
    classifyTimer_.start();
    view_->refreshMarks();
    // The filtered pane's kinds changed with the words: its lines are found again at once.
    filtered_.reset();
    filterView_->rowsUpdated(true);
    if (!filterPane_->isHidden()) {
        filterSlice();
    }
    return problems;
}

std::filesystem::path MainWindow::logFolder() const {
    if (log_.path().empty()) {
        return {};
    }
    std::error_code ec;
    return std::filesystem::absolute(log_.path(), ec).lexically_normal().parent_path();
}

std::filesystem::path MainWindow::sourceRoot() const {
    return pathOfText(sourceRootFor(settings_, textOfPath(logFolder())));
}

void MainWindow::setSourceRoot(const QString& folder) {
    if (log_.path().empty()) {
        return;
    }
    // Kept in the form the log's folder has beside it: on Windows with backslashes, as shown.
    const std::filesystem::path root = toPath(folder).lexically_normal();
    reda::setSourceRoot(settings_, textOfPath(logFolder()),
                        folder.isEmpty() ? std::string() : textOfPath(root));
    saveSettings();
    showStatus(folder.isEmpty() ? tr("No source folder for these logs.")
                                : tr("Links are also looked for in %1.").arg(fromPath(root)));
}

bool MainWindow::saveSettings() {
    try {
        writeSettings(settingsFile_, settings_);
    } catch (const kestrune::IoError& error) {
        // The core's messages are UTF-8 text, the paths in them path text.
        showStatus(tr("Settings not saved: %1").arg(QString::fromUtf8(error.what())));
        return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    settings_.geometry = saveGeometry().toBase64().toStdString();
    const FindOptions options = findBar_->options();
    settings_.matchCase = options.matchCase;
    settings_.wholeWord = options.wholeWord;
    settings_.regex = findBar_->mode() == PatternMode::Regex;
    saveSettings();
    event->accept();
}

}  // namespace reda
