// Searching from the search bar: on a worker thread, with its progress in the bar, so the
// window keeps answering and Esc can stop a search of a huge log.

#include <QStatusBar>

#include "FindBar.h"
#include "LogView.h"
#include "MainWindow.h"
#include "SearchJob.h"

namespace reda {

void MainWindow::updateHighlight() {
    if (findBar_->isHidden() || findBar_->text().isEmpty()) {
        view_->setHighlight(Pattern{});
        return;
    }
    const Pattern pattern = findBar_->pattern();
    if (!pattern.valid()) {
        findBar_->setStatus(
            tr("Invalid expression: %1").arg(QString::fromStdString(pattern.error())));
    }
    view_->setHighlight(pattern);
}

bool MainWindow::refuseWhileCounting() {
    if (log_.indexComplete()) {
        return false;
    }
    showStatus(tr("Still counting the lines of the log; try again in a moment."));
    return true;
}

bool MainWindow::find(bool forward) {
    if (findBar_->isHidden() || findBar_->text().isEmpty()) {
        findBar_->activate(QString());
        updateHighlight();
        if (findBar_->text().isEmpty()) {
            return false;
        }
    }
    if (refuseWhileCounting()) {
        return false;
    }
    stopSearch();
    const Pattern pattern = findBar_->pattern();
    if (!pattern.valid()) {
        findBar_->setStatus(
            tr("Invalid expression: %1").arg(QString::fromStdString(pattern.error())));
        return false;
    }
    std::shared_ptr<const Matcher> matcher = pattern.matcher();
    // Without a selection the search starts at the current line, in either direction.
    const std::size_t current = std::min(view_->currentLine(), log_.lineCount());
    const std::uint64_t from = forward ? (view_->hasSelection() ? view_->selectionStart() + 1
                                                                : log_.index().lineStart(current))
                                       : (view_->hasSelection() ? view_->selectionStart()
                                                                : log_.index().lineLimit(current));
    SearchSource source{log_.pin(), log_.bytes(), log_.isMapped()};
    searchForward_ = forward;
    search_ =
        std::make_unique<SearchJob>(std::move(source), std::move(matcher), forward,
                                    static_cast<std::size_t>(from), SearchJob::kPiece, searchHold_);
    findBar_->setBusy(true);
    searchProgress();
    if (search_) {
        searchTimer_.start();
    }
    return true;
}

void MainWindow::searchProgress() {
    if (!search_) {
        return;
    }
    switch (search_->state()) {
        case SearchJob::State::Running:
            findBar_->setStatus(
                tr("Searching… %1%").arg(static_cast<int>(search_->progress() * 100)));
            return;
        case SearchJob::State::Stopped:
            findBar_->setStatus(tr("Search stopped"));
            break;
        case SearchJob::State::NotFound:
            findBar_->setStatus(tr("Not found"));
            break;
        case SearchJob::State::Found: {
            const Match match = search_->match();
            findBar_->setStatus(search_->wrapped()
                                    ? (searchForward_ ? tr("Continued from the top")
                                                      : tr("Continued from the bottom"))
                                    : QString());
            view_->setSelection(match.at + match.length, match.at);
            break;
        }
    }
    searchTimer_.stop();
    search_.reset();
    findBar_->setBusy(false);
    Q_EMIT searchFinished();
}

void MainWindow::stopSearch() {
    if (search_) {
        search_->stop();
        searchTimer_.stop();
        search_.reset();
        findBar_->setBusy(false);
        findBar_->setStatus(tr("Search stopped"));
    }
}

bool MainWindow::findNext() {
    return find(true);
}

bool MainWindow::findPrevious() {
    return find(false);
}

}  // namespace reda
