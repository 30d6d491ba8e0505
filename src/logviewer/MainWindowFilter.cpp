// The filtered view: the lines that pass the filter bar's filters, found in slices so a large
// log does not stop the window, and kept up to date while the log grows.

#include <QStatusBar>

#include "FilterBar.h"
#include "LogView.h"
#include "MainWindow.h"

namespace reda {

void MainWindow::showFilter() {
    filterPane_->show();
    filterBar_->activate();
    applyFilter();
}

void MainWindow::showQuickFilter(KindFilter kinds) {
    filterPane_->show();
    filterBar_->setKinds(kinds);  // applies through the bar's change
    applyFilter();
    filterView_->setFocus();
}

void MainWindow::applyFilter() {
    const std::string error = filterBar_->typedError();
    filterBar_->setStatus(error.empty()
                              ? QString()
                              : tr("Invalid expression: %1").arg(QString::fromStdString(error)));
    filtered_.setFilter(filterBar_->filter());
    filterView_->clearSelection();
    filterView_->rowsUpdated(true);
    filterTimer_.start();
}

void MainWindow::filterLogChanged(bool reloaded) {
    if (reloaded) {
        // Line numbers start over: what was bound to them goes.
        bookmarks_.clear();
        filtered_.reset();
        filterView_->rowsUpdated(true);
    }
    if (!filterPane_->isHidden() && !filterTimer_.isActive()) {
        filterTimer_.start();
    }
}

void MainWindow::filterSlice() {
    if (filterPane_->isHidden()) {
        return;
    }
    const bool done = filtered_.advance(log_, problems_, kFilterSlice);
    filterView_->rowsUpdated(false);
    if (!done && log_.indexComplete()) {
        filterTimer_.start();
    }
    if (filterBar_->typedError().empty()) {
        filterBar_->setStatus(
            tr("%n lines", nullptr,
               static_cast<int>(std::min<std::size_t>(filtered_.rowCount(), INT_MAX))) +
            (done ? QString() : QStringLiteral("…")));
    }
}

}  // namespace reda
