// Bookmarks on lines and logs dropped on the window.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "LogView.h"
#include "MainWindow.h"

namespace reda {

namespace {

QString droppedLog(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

}  // namespace

void MainWindow::setCodePage(const CodePage* codePage) {
    codePage_ = codePage;
    view_->setCodePage(codePage);
    filterView_->setCodePage(codePage);
}

void MainWindow::setWrapLines(bool on) {
    settings_.wrapLines = on;
    view_->setWrapLines(on);
    filterView_->setWrapLines(on);
}

QString MainWindow::textOf(std::string_view bytes) const {
    if (codePage_ == nullptr) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b < 0x80 ? QChar(char16_t{b}) : QChar((*codePage_)[b - 0x80]));
    }
    return text;
}

void MainWindow::toggleBookmark() {
    if (log_.lineCount() == 0 || refuseWhileCounting()) {
        return;
    }
    const std::size_t line = view_->currentLine();
    if (!bookmarks_.erase(line)) {
        bookmarks_.insert(line);
    }
    view_->viewport()->update();
    filterView_->viewport()->update();
}

bool MainWindow::nextBookmark(bool forward) {
    if (bookmarks_.empty()) {
        showStatus(tr("No bookmarks; Ctrl+F2 sets one on the current line."));
        return false;
    }
    const std::size_t line = view_->currentLine();
    // Round the log: after the last comes the first again.
    auto it = forward ? bookmarks_.upper_bound(line) : bookmarks_.lower_bound(line);
    std::size_t target;
    if (forward) {
        target = it != bookmarks_.end() ? *it : *bookmarks_.begin();
    } else {
        target = it != bookmarks_.begin() ? *std::prev(it) : *bookmarks_.rbegin();
    }
    statusBar()->clearMessage();
    view_->clearSelection();
    view_->setCurrentLine(target);
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedLog(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = droppedLog(event->mimeData());
    if (!file.isEmpty()) {
        event->acceptProposedAction();
        openLog(file);
    }
}

}  // namespace reda
