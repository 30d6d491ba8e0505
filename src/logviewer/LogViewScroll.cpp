// Which rows are on screen and scrolling through them: whole lines, or the pieces of
// wrapped lines, and following the end of a growing log.

#include "LogView.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "LineWrap.h"

namespace reda {

std::size_t LogView::firstVisibleRow() const {
    if (wrap_ && topPiece_ == kBottom && lineCount() > 0) {
        return screenRows().front().row;
    }
    return static_cast<std::size_t>(std::max(verticalScrollBar()->value(), 0));
}

std::size_t LogView::firstVisibleLine() const {
    return lineOfRow(firstVisibleRow());
}

std::size_t LogView::fullRows() const {
    return static_cast<std::size_t>(std::max(viewport()->height() / lineHeight_, 1));
}

std::size_t LogView::visibleLineCount() const {
    if (!wrap_) {
        return fullRows();
    }
    // The lines whose every row is on screen.
    const std::vector<ScreenRow> rows = screenRows();
    const std::size_t whole = std::min(rows.size(), fullRows());
    std::size_t lines = 0;
    for (std::size_t i = 0; i < whole; ++i) {
        if (rows[i].last && (rows[i].piece == 0 || i >= rows[i].piece)) {
            ++lines;
        }
    }
    return std::max<std::size_t>(lines, 1);
}

bool LogView::isAtEnd() const {
    const bool last = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
    return wrap_ ? last && topPiece_ == kBottom : last;
}

void LogView::showEnd() {
    keepPiece_ = true;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    keepPiece_ = false;
    topPiece_ = kBottom;
    viewport()->update();
    reportFollowing();
}

std::size_t LogView::wrapWidth() const {
    const qreal room = viewport()->width() - textLeft() - charWidth_ / 2;
    return static_cast<std::size_t>(std::max<qreal>(room / charWidth_, 1));
}

QString LogView::clippedMarker(std::size_t moreBytes) const {
    return tr("… %n more bytes", nullptr,
              static_cast<int>(std::min<std::size_t>(moreBytes, INT_MAX)));
}

std::vector<std::size_t> LogView::piecesOf(std::size_t line) const {
    if (!wrap_ || !log_) {
        return {0};
    }
    const std::string_view bytes = log_->line(line);
    const DisplayLine display = decodeLine(bytes, kMaxColumns, codePage_);
    const std::size_t trailer =
        display.clipped ? clippedMarker(bytes.size() - display.decodedBytes).size() + 1 : 0;
    return wrapLine(display, wrapWidth(), trailer);
}

std::vector<LogView::ScreenRow> LogView::screenRows() const {
    std::vector<ScreenRow> rows;
    const std::size_t count = lineCount();
    if (count == 0) {
        return rows;
    }
    const std::size_t room = fullRows() + 1;  // a partly shown row at the bottom too
    const auto rowsOf = [&](std::size_t row, std::vector<ScreenRow>& out) {
        const std::size_t line = lineOfRow(row);
        if (!wrap_) {
            out.push_back({row, line, 0, 0, kBottom, true});
            return;
        }
        const std::string_view bytes = log_->line(line);
        const DisplayLine display = decodeLine(bytes, kMaxColumns, codePage_);
        const std::size_t trailer =
            display.clipped ? clippedMarker(bytes.size() - display.decodedBytes).size() + 1 : 0;
        const std::vector<std::size_t> starts = wrapLine(display, wrapWidth(), trailer);
        const std::size_t size = display.text.size();
        for (std::size_t k = 0; k < starts.size(); ++k) {
            const bool last = k + 1 == starts.size();
            out.push_back({row, line, k, starts[k], last ? size : starts[k + 1], last});
        }
    };
    const std::size_t first = static_cast<std::size_t>(std::max(verticalScrollBar()->value(), 0));
    if (wrap_ && topPiece_ == kBottom) {
        // At the end the last row is at the bottom, however tall the last lines are.
        std::vector<std::vector<ScreenRow>> lines;
        std::size_t total = 0;
        for (std::size_t row = count; row > 0 && total < fullRows(); --row) {
            lines.emplace_back();
            rowsOf(row - 1, lines.back());
            total += lines.back().size();
        }
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
            rows.insert(rows.end(), it->begin(), it->end());
        }
        if (total > fullRows()) {
            rows.erase(rows.begin(),
                       rows.begin() + static_cast<std::ptrdiff_t>(total - fullRows()));
        }
        return rows;
    }
    for (std::size_t row = first; row < count && rows.size() < room + (wrap_ ? 0 : 1); ++row) {
        rowsOf(row, rows);
        if (wrap_ && row == first && topPiece_ > 0) {
            const std::size_t skip = std::min(topPiece_, rows.size() - 1);
            rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(skip));
        }
    }
    if (rows.size() > room + (wrap_ ? 0 : 1)) {
        rows.resize(room + (wrap_ ? 0 : 1));
    }
    return rows;
}

std::size_t LogView::linesAtEnd() const {
    const std::size_t count = lineCount();
    std::size_t total = 0;
    std::size_t lines = 0;
    for (std::size_t row = count; row > 0; --row) {
        total += piecesOf(lineOfRow(row - 1)).size();
        if (total > fullRows()) {
            break;
        }
        ++lines;
    }
    return std::max<std::size_t>(lines, 1);
}

void LogView::scrollPieces(long delta) {
    const std::vector<ScreenRow> rows = screenRows();
    if (rows.empty()) {
        return;
    }
    std::size_t row = rows.front().row;
    std::size_t piece = rows.front().piece;
    const std::size_t count = lineCount();
    for (; delta > 0; --delta) {
        if (piece + 1 < piecesOf(lineOfRow(row)).size()) {
            ++piece;
        } else if (row + 1 < count) {
            ++row;
            piece = 0;
        }
    }
    for (; delta < 0; ++delta) {
        if (piece > 0) {
            --piece;
        } else if (row > 0) {
            --row;
            piece = piecesOf(lineOfRow(row)).size() - 1;
        }
    }
    // Whether the rows from there to the end fit on screen: then the view is at the end.
    std::size_t below = 0;
    for (std::size_t r = row; r < count && below <= fullRows(); ++r) {
        below += piecesOf(lineOfRow(r)).size() - (r == row ? piece : 0);
    }
    if (below <= fullRows()) {
        showEnd();
    } else {
        keepPiece_ = true;
        verticalScrollBar()->setValue(clampToInt(row));
        keepPiece_ = false;
        topPiece_ = piece;
        viewport()->update();
    }
    reportFollowing();
}

void LogView::setWrapLines(bool on) {
    if (on == wrap_) {
        return;
    }
    const bool atEnd = isAtEnd();
    const std::size_t first = firstVisibleRow();
    wrap_ = on;
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    if (atEnd) {
        showEnd();
    } else {
        keepPiece_ = true;
        verticalScrollBar()->setValue(clampToInt(first));
        keepPiece_ = false;
        topPiece_ = 0;
    }
    viewport()->update();
    reportFollowing();
}

void LogView::wheelEvent(QWheelEvent* event) {
    if (!wrap_) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // Three rows a notch, as the scroll bar moves lines when long lines are not wrapped.
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        scrollPieces(-3L * notches);
    }
    event->accept();
}

void LogView::scrollToEnd() {
    showEnd();
    if (lineCount() > 0) {
        current_ = lineCount() - 1;
    }
    viewport()->update();
}

void LogView::scrollToTop() {
    keepPiece_ = true;
    verticalScrollBar()->setValue(0);
    keepPiece_ = false;
    topPiece_ = 0;
    current_ = 0;
    viewport()->update();
    reportFollowing();
}

}  // namespace reda
