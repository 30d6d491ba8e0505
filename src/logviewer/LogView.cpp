#include "LogView.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <vector>

namespace reda {

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("logView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    updateMetrics();
    updateColors();
}

void LogView::setModel(const LogFile* log, const ProblemIndex* problems) {
    log_ = log;
    problems_ = problems;
    logUpdated(true);
}

std::size_t LogView::lineCount() const {
    if (!log_) {
        return 0;
    }
    return rows_ ? rows_->rowCount() : log_->lineCount();
}

std::size_t LogView::lineOfRow(std::size_t row) const {
    return rows_ ? rows_->lineOfRow(row) : row;
}

std::size_t LogView::rowOfLine(std::size_t line) const {
    return rows_ ? rows_->rowOfLine(line) : line;
}

void LogView::setCodePage(const CodePage* codePage) {
    const bool atEnd = isAtEnd();
    codePage_ = codePage;
    widestSeen_ = 0;
    if (wrap_) {
        // Other characters, other rows.
        updateScrollBars();
        if (atEnd) {
            showEnd();
        }
    }
    viewport()->update();
}

void LogView::setBookmarks(const std::set<std::size_t>* lines) {
    bookmarks_ = lines;
    viewport()->update();
}

void LogView::setRows(const FilteredLines* rows) {
    rows_ = rows;
    rowsUpdated(true);
}

void LogView::rowsUpdated(bool restart) {
    const bool wasAtEnd = following_;
    updateScrollBars();
    if (restart && !wasAtEnd) {
        verticalScrollBar()->setValue(0);
        current_ = 0;
    }
    if (wasAtEnd) {
        showEnd();
        current_ = lineCount() > 0 ? lineCount() - 1 : 0;
    }
    viewport()->update();
    reportFollowing();
}

void LogView::logUpdated(bool reloaded) {
    const bool wasAtEnd = isAtEnd();
    if (reloaded) {
        anchor_ = caret_ = 0;
        current_ = 0;
        widestSeen_ = 0;
        Q_EMIT selectionChanged();
    }
    updateScrollBars();
    if (wasAtEnd) {
        showEnd();
        current_ = lineCount() > 0 ? lineCount() - 1 : 0;
    } else if (reloaded) {
        verticalScrollBar()->setValue(0);
    }
    viewport()->update();
    reportFollowing();
}

void LogView::logIndexed(std::size_t shift) {
    const bool wasAtEnd = isAtEnd();
    const std::size_t first = firstVisibleLine();
    current_ += shift;
    updateScrollBars();
    if (wasAtEnd) {
        showEnd();
    } else {
        verticalScrollBar()->setValue(clampToInt(first + shift));
    }
    viewport()->update();
    reportFollowing();
}

void LogView::refreshMarks() {
    viewport()->update();
}

void LogView::setHighlight(const Pattern& pattern) {
    highlight_ = pattern;
    viewport()->update();
}

void LogView::updateMetrics() {
    const QFontMetricsF metrics(font());
    charWidth_ = std::max<qreal>(metrics.horizontalAdvance(QLatin1Char('M')), 1.0);
    lineHeight_ = std::max(static_cast<int>(std::ceil(metrics.height())) + 2, 4);
    ascent_ = static_cast<int>(std::ceil(metrics.ascent())) + 1;
    updateScrollBars();
}

void LogView::updateColors() {
    const QPalette& pal = palette();
    const QColor base = pal.color(QPalette::Base);
    const bool dark = base.lightness() < 128;
    errorBack_ = dark ? QColor(0x4a, 0x1f, 0x22) : QColor(0xfb, 0xe3, 0xe4);
    warningBack_ = dark ? QColor(0x46, 0x3b, 0x15) : QColor(0xff, 0xf4, 0xd6);
    errorMark_ = dark ? QColor(0xef, 0x53, 0x50) : QColor(0xd3, 0x2f, 0x2f);
    warningMark_ = dark ? QColor(0xff, 0xca, 0x28) : QColor(0xe0, 0xa0, 0x00);
    matchBack_ = dark ? QColor(0xc7, 0x9a, 0x1e) : QColor(0xff, 0xd5, 0x4f);
    matchText_ = QColor(Qt::black);
    marginBack_ = pal.color(QPalette::Window);
    marginText_ = pal.color(QPalette::Disabled, QPalette::Text);
    currentBack_ = dark ? base.lighter(135) : base.darker(106);
    markBack_ = dark ? base.lighter(190) : base.darker(120);
    link_ = pal.color(QPalette::Link);
    viewport()->update();
}

int LogView::marginWidth() const {
    int digits = 4;
    for (std::size_t n = log_ ? log_->lineCount() : 0; n >= 10000; n /= 10) {
        ++digits;
    }
    return static_cast<int>(std::ceil(digits * charWidth_)) + 14;
}

qreal LogView::textLeft() const {
    return marginWidth() + charWidth_ / 2;
}

void LogView::updateScrollBars() {
    const std::size_t count = lineCount();
    const std::size_t shown = wrap_ ? linesAtEnd() : visibleLineCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, clampToInt(count > shown ? count - shown : 0));
    vertical->setPageStep(clampToInt(shown));
    vertical->setSingleStep(1);

    // A clipped line ends in a marker of about 25 columns, which must be reachable too.
    std::size_t columns = widestSeen_;
    if (log_) {
        columns = std::max<std::size_t>(
            columns, std::min<std::uint64_t>(log_->index().longestLine(), kMaxColumns + 30));
    }
    const qreal width = textLeft() + (static_cast<qreal>(columns) + 2) * charWidth_;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, wrap_ ? 0 : std::max(0, static_cast<int>(width) - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(static_cast<int>(charWidth_ * 4));
}

void LogView::reportFollowing() {
    const bool atEnd = isAtEnd();
    if (atEnd != following_) {
        following_ = atEnd;
        Q_EMIT followingChanged(atEnd);
    }
}

void LogView::resizeEvent(QResizeEvent* event) {
    const bool atEnd = following_;
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (atEnd) {
        showEnd();
    }
    reportFollowing();
}

void LogView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        updateColors();
    } else if (event->type() == QEvent::FontChange) {
        updateMetrics();
    }
}

void LogView::scrollContentsBy(int, int) {
    if (!keepPiece_) {
        // The scroll bar moved by itself (dragged, clicked): a wrapped view starts at a line.
        topPiece_ = verticalScrollBar()->value() >= verticalScrollBar()->maximum() ? kBottom : 0;
    }
    viewport()->update();
    reportFollowing();
}

}  // namespace reda
