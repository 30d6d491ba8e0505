// The window's menus and the commands behind them: opening, copying, saving, jumping.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringDecoder>
#include <climits>

#include "Ansi.h"
#include "FindBar.h"
#include "LogView.h"
#include "MainWindow.h"
#include "PathText.h"
#include "WordsDialog.h"
#include "base/FileIo.h"

#ifndef REDA_VERSION
#define REDA_VERSION ""
#endif

namespace reda {

namespace {

// A menu entry with its shortcut, calling `slot` on `window` when chosen.
template <class Slot>
QAction* add(MainWindow* window, QMenu* menu, const QString& text, const QKeySequence& key,
             Slot slot) {
    QAction* action = menu->addAction(text);
    action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, window, slot);
    return action;
}

}  // namespace

void MainWindow::createActions() {
    createFileMenu();
    createEditMenu();
    QMenu* view = createViewMenu();
    createEncodingMenu(view);
    view->addSeparator();
    // Alt+Z, as editors that wrap on request have it.
    QAction* wrap = add(this, view, tr("Wra&p Long Lines"), QKeySequence(Qt::ALT | Qt::Key_Z),
                        [this](bool on) { setWrapLines(on); });
    wrap->setObjectName(QStringLiteral("wrapLines"));
    wrap->setCheckable(true);
    wrap->setChecked(settings_.wrapLines);
    add(this, view, tr("Go to &Top"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        [this] { view_->scrollToTop(); });
    add(this, view, tr("Go to &End and Follow"), QKeySequence(Qt::CTRL | Qt::Key_End),
        [this] { view_->scrollToEnd(); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(this, help, tr("&About REDA"), QKeySequence(Qt::Key_F1), [this] {
        QMessageBox::about(this, tr("About REDA"),
                           tr("<b>REDA</b> %1<br>The log viewer of Kestrune: it follows a log "
                              "while the tools write it and finds errors and warnings.")
                               .arg(QStringLiteral(REDA_VERSION)));
    });
    rebuildRecentMenu();
}

void MainWindow::createFileMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(this, file, tr("&Open…"), QKeySequence::Open, [this] { openFromDialog(); });
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    reloadAction_ = add(this, file, tr("Re&load"), QKeySequence(Qt::Key_F5), [this] {
        if (!log_.path().empty()) {
            openLog(fromPath(log_.path()));
        }
    });
    file->addSeparator();
    saveSelectionAction_ = add(this, file, tr("&Save Selection As…"), QKeySequence::Save,
                               [this] { saveSelectionFromDialog(); });
    file->addSeparator();
    closeAction_ = add(this, file, tr("&Close Log"), QKeySequence(Qt::CTRL | Qt::Key_W),
                       [this] { closeLog(); });
    add(this, file, tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
}

void MainWindow::createEditMenu() {
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    copyAction_ = add(this, edit, tr("&Copy"), QKeySequence::Copy, [this] { copySelection(); });
    add(this, edit, tr("Select &All"), QKeySequence::SelectAll, [this] { view_->selectAll(); });
    QAction* keep =
        add(this, edit, tr("Copy With Colour C&odes"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this](bool on) { keepEscapes_ = on; });
    keep->setObjectName(QStringLiteral("keepEscapes"));
    keep->setCheckable(true);
    keep->setToolTip(tr("Copy and Save Selection keep the colour sequences of the log"));
    edit->addSeparator();
    add(this, edit, tr("&Find…"), QKeySequence::Find, [this] {
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
    add(this, edit, tr("Find &Next"), QKeySequence(Qt::Key_F3), [this] { findNext(); });
    add(this, edit, tr("Find &Previous"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
        [this] { findPrevious(); });
    edit->addSeparator();
    add(this, edit, tr("&Go to Line…"), QKeySequence(Qt::CTRL | Qt::Key_G),
        [this] { goToLineFromDialog(); });
    add(this, edit, tr("&Highlight Words…"), QKeySequence(Qt::CTRL | Qt::Key_H),
        [this] { editWords(); });
}

// Jumps, bookmarks, links and filters; the encodings and wrapping follow.
QMenu* MainWindow::createViewMenu() {
    QMenu* view = menuBar()->addMenu(tr("&View"));
    add(this, view, tr("&Next Error or Warning"), QKeySequence(Qt::Key_F8),
        [this] { nextProblem(); });
    add(this, view, tr("&Previous Error or Warning"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
        [this] { previousProblem(); });
    add(this, view, tr("Next E&rror"), QKeySequence(Qt::CTRL | Qt::Key_F8),
        [this] { nextError(); });
    add(this, view, tr("Previous Err&or"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F8),
        [this] { previousError(); });
    add(this, view, tr("Toggle &Bookmark"), QKeySequence(Qt::CTRL | Qt::Key_F2),
        [this] { toggleBookmark(); });
    add(this, view, tr("Next Boo&kmark"), QKeySequence(Qt::Key_F2), [this] { nextBookmark(true); });
    add(this, view, tr("Previous Bookm&ark"), QKeySequence(Qt::SHIFT | Qt::Key_F2),
        [this] { nextBookmark(false); });
    add(this, view, tr("&Open the Location in the Editor"), QKeySequence(Qt::Key_F4),
        [this] { openLocation(view_->currentLine()); });
    add(this, view, tr("&Source Folder…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), [this] {
        chooseSourceRoot();
    })->setObjectName(QStringLiteral("sourceFolder"));
    view->addSeparator();
    add(this, view, tr("&Filter…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
        [this] { showFilter(); });
    add(this, view, tr("Filter &Errors"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
        [this] { showQuickFilter(KindFilter::Errors); });
    add(this, view, tr("Filter &Warnings"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W),
        [this] { showQuickFilter(KindFilter::Warnings); });
    add(this, view, tr("Filter Errors &and Warnings"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
        [this] { showQuickFilter(KindFilter::Problems); });
    view->addSeparator();
    return view;
}

void MainWindow::createEncodingMenu(QMenu* view) {
    // The local code page, read from the system once: usable here when it is a single-byte
    // one (a Western or Cyrillic Windows); a UTF-8 system's is UTF-8.
    QStringDecoder probe(QStringDecoder::System);
    const QString accent = probe(QByteArray("\xc3\xa9"));
    const bool localIsUtf8 = accent == QString(QChar(0xE9));
    int single = 0;
    for (int b = 0x80; b < 0x100; ++b) {
        QStringDecoder decoder(QStringDecoder::System);
        const QString one = decoder(QByteArray(1, static_cast<char>(b)));
        localCodePage_[static_cast<std::size_t>(b - 0x80)] =
            one.size() == 1 ? static_cast<char16_t>(one[0].unicode()) : char16_t{0xFFFD};
        single += one.size() == 1 ? 1 : 0;
    }
    // A code page of lead bytes (GBK, Shift JIS) leaves most single high bytes undecoded.
    localIsSingleByte_ = single >= 100;
    QMenu* encoding = view->addMenu(tr("E&ncoding"));
    auto* encodings = new QActionGroup(this);
    auto choice = [&](const QString& text, const QKeySequence& key, const CodePage* page) {
        QAction* action = add(this, encoding, text, key, [this, page] { setCodePage(page); });
        action->setCheckable(true);
        action->setChecked(page == nullptr);
        encodings->addAction(action);
        return action;
    };
    choice(tr("&UTF-8"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_U), nullptr);
    choice(tr("&Windows-1252"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W), &windows1252());
    QAction* local = choice(localIsUtf8 ? tr("&Local Code Page (UTF-8)") : tr("&Local Code Page"),
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L),
                            localIsUtf8 || !localIsSingleByte_ ? nullptr : &localCodePage_);
    local->setObjectName(QStringLiteral("localCodePage"));
    if (!localIsUtf8 && !localIsSingleByte_) {
        local->setEnabled(false);
        local->setToolTip(tr("The local code page takes more than one byte a character"));
    }
}

void MainWindow::rebuildRecentMenu() {
    recentMenu_->clear();
    int number = 1;
    for (const std::string& entry : settings_.recentLogs) {
        const QString path = fromPathText(entry);
        // The path as the system writes it; an "&" of a name is shown, not taken for a mnemonic.
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1  %2").arg(number).arg(shown));
        action->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_0 + number)));
        connect(action, &QAction::triggered, this, [this, path] { openLog(path); });
        ++number;
    }
    if (settings_.recentLogs.empty()) {
        recentMenu_->addAction(tr("(no recent logs)"))->setEnabled(false);
    }
}

void MainWindow::goToLine(std::size_t line) {
    if (line >= 1 && !refuseWhileCounting()) {
        view_->clearSelection();
        view_->setCurrentLine(line - 1);
    }
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
    QApplication::clipboard()->setText(textOf(selectedBytes()));
}

std::string MainWindow::selectedBytes() const {
    if (!view_->hasSelection()) {
        return {};
    }
    const std::string_view bytes = log_.bytes().substr(
        static_cast<std::size_t>(view_->selectionStart()),
        static_cast<std::size_t>(view_->selectionEnd() - view_->selectionStart()));
    // Colour sequences go with the text only when asked; without them it reads as shown.
    return keepEscapes_ ? std::string(bytes) : stripEscapes(bytes);
}

bool MainWindow::saveSelection(const QString& file) {
    try {
        kestrune::WriteFileReplacing(toPathText(file), selectedBytes());
    } catch (const kestrune::IoError& error) {
        lastError_ = QString::fromUtf8(error.what());
        return false;
    }
    lastError_.clear();
    return true;
}

void MainWindow::openFromDialog() {
    const QString folder =
        log_.path().empty() ? QDir::homePath() : QFileInfo(fromPath(log_.path())).absolutePath();
    const QString file = QFileDialog::getOpenFileName(
        this, tr("Open Log"), folder, tr("Logs (*.log *.log.gz *.gz);;All files (*)"));
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
    if (count == 0 || refuseWhileCounting()) {
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

void MainWindow::chooseSourceRoot() {
    if (log_.path().empty()) {
        showStatus(tr("Open a log first: the source folder is kept for the log's folder."));
        return;
    }
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Source Folder for the Logs in %1").arg(fromPath(logFolder())),
        sourceRoot().empty() ? fromPath(logFolder()) : fromPath(sourceRoot()));
    if (!chosen.isEmpty()) {
        setSourceRoot(chosen);
    }
}

void MainWindow::editWords() {
    WordsDialog dialog(settings_.words, this);
    if (dialog.exec() == QDialog::Accepted) {
        setHighlightWords(dialog.words());
    }
}

}  // namespace reda
