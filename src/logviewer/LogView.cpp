#include "LogView.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include <vector>

#include "LineWrap.h"
#include "SourceLocation.h"

namespace reda {

namespace {

int clampToInt(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

}  // namespace

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
        emit selectionChanged();
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

void LogView::setCurrentLine(std::size_t line) {
    const std::size_t count = lineCount();
    if (count == 0) {
        return;
    }
    current_ = std::min(rowOfLine(line), count - 1);
    if (wrap_) {
        const std::vector<ScreenRow> rows = screenRows();
        const std::size_t whole = std::min(rows.size(), fullRows());
        bool top = false;
        bool bottom = false;
        bool some = false;
        for (std::size_t i = 0; i < whole; ++i) {
            top = top || (rows[i].row == current_ && rows[i].piece == 0);
            bottom = bottom || (rows[i].row == current_ && rows[i].last);
            some = some || rows[i].row == current_;
        }
        // A line taller than the screen is shown when any of its rows is.
        const bool tall = some && !(top && bottom) && piecesOf(lineOfRow(current_)).size() > whole;
        if (!(top && bottom) && !tall) {
            // Far away: the line goes to the middle of the screen, or to the top when tall.
            std::size_t above = piecesOf(lineOfRow(current_)).size();
            std::size_t topRow = current_;
            while (topRow > 0 && above < fullRows() / 2) {
                above += piecesOf(lineOfRow(topRow - 1)).size();
                if (above > fullRows() / 2) {
                    break;
                }
                --topRow;
            }
            keepPiece_ = true;
            verticalScrollBar()->setValue(clampToInt(topRow));
            keepPiece_ = false;
            topPiece_ = 0;
            reportFollowing();
        }
        viewport()->update();
        return;
    }
    const std::size_t first = firstVisibleRow();
    const std::size_t shown = visibleLineCount();
    if (current_ < first || current_ >= first + shown) {
        // A jump far away lands in the middle of the screen, with context on both sides.
        const std::size_t top = current_ > shown / 2 ? current_ - shown / 2 : 0;
        verticalScrollBar()->setValue(clampToInt(top));
    }
    viewport()->update();
}

void LogView::setCurrentRow(std::size_t row) {
    if (lineCount() > 0) {
        setCurrentLine(lineOfRow(std::min(row, lineCount() - 1)));
    }
}

void LogView::setSelection(std::uint64_t anchor, std::uint64_t caret) {
    const std::uint64_t size = log_ ? log_->bytes().size() : 0;
    anchor_ = std::min(anchor, size);
    caret_ = std::min(caret, size);
    revealOffset(caret_);
    viewport()->update();
    emit selectionChanged();
}

void LogView::selectAll() {
    anchor_ = 0;
    caret_ = log_ ? log_->bytes().size() : 0;
    viewport()->update();
    emit selectionChanged();
}

void LogView::clearSelection() {
    anchor_ = caret_;
    viewport()->update();
    emit selectionChanged();
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
        emit followingChanged(atEnd);
    }
}

QRect LogView::cellRect(std::size_t line, std::size_t column) const {
    if (wrap_) {
        const std::vector<ScreenRow> rows = screenRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ScreenRow& r = rows[i];
            if (r.line == line && column >= r.begin && (column < r.end || r.last)) {
                const qreal x = textLeft() + static_cast<qreal>(column - r.begin) * charWidth_;
                return QRectF(x, static_cast<qreal>(i) * lineHeight_, charWidth_, lineHeight_)
                    .toRect();
            }
        }
        const bool above = !rows.empty() && rowOfLine(line) < rows.front().row;
        return QRect(0, above ? -2 * lineHeight_ : viewport()->height() + lineHeight_,
                     static_cast<int>(charWidth_), lineHeight_);
    }
    const qreal x =
        textLeft() - horizontalScrollBar()->value() + static_cast<qreal>(column) * charWidth_;
    const auto row = static_cast<qint64>(rowOfLine(line)) - static_cast<qint64>(firstVisibleRow());
    return QRectF(x, static_cast<qreal>(row * lineHeight_), charWidth_, lineHeight_).toRect();
}

std::uint64_t LogView::offsetAt(QPoint point) const {
    const std::size_t count = lineCount();
    if (count == 0) {
        return 0;
    }
    if (wrap_) {
        const std::vector<ScreenRow> rows = screenRows();
        const std::size_t index =
            point.y() < 0 ? 0
                          : std::min<std::size_t>(static_cast<std::size_t>(point.y() / lineHeight_),
                                                  rows.size() - 1);
        const ScreenRow& r = rows[index];
        const qreal x = point.x() - textLeft();
        const auto column = std::min(
            r.begin + static_cast<std::size_t>(std::max<qreal>(std::round(x / charWidth_), 0)),
            r.end);
        const DisplayLine display = decodeLine(log_->line(r.line), kMaxColumns, codePage_);
        return log_->index().lineStart(r.line) + display.byteAtColumn(column);
    }
    const int row = point.y() < 0 ? -1 : point.y() / lineHeight_;
    const std::size_t first = firstVisibleRow();
    std::size_t shown =
        row < 0 ? (first > 0 ? first - 1 : 0) : first + static_cast<std::size_t>(row);
    const std::size_t line = lineOfRow(std::min(shown, count - 1));
    const qreal x = point.x() - textLeft() + horizontalScrollBar()->value();
    const auto column = static_cast<std::size_t>(std::max<qreal>(std::round(x / charWidth_), 0));
    const DisplayLine display = decodeLine(log_->line(line), kMaxColumns, codePage_);
    return log_->index().lineStart(line) + display.byteAtColumn(column);
}

void LogView::revealOffset(std::uint64_t offset) {
    if (!log_ || lineCount() == 0) {
        return;
    }
    const std::size_t line = log_->index().lineAt(offset);
    setCurrentLine(line);
    const std::uint64_t start = log_->index().lineStart(line);
    const DisplayLine display = decodeLine(log_->line(line), kMaxColumns, codePage_);
    if (wrap_) {
        // A line taller than the screen shows the row that holds the offset.
        const std::size_t column = display.columnOfByte(offset - start);
        const std::vector<std::size_t> starts = piecesOf(line);
        const std::size_t piece = static_cast<std::size_t>(
            std::upper_bound(starts.begin(), starts.end(), column) - starts.begin() - 1);
        const QRect cell = cellRect(line, column);
        if (cell.top() < 0 || cell.bottom() >= static_cast<int>(fullRows()) * lineHeight_) {
            keepPiece_ = true;
            verticalScrollBar()->setValue(clampToInt(rowOfLine(line)));
            keepPiece_ = false;
            topPiece_ = piece > fullRows() / 2 ? piece - fullRows() / 2 : 0;
            viewport()->update();
            reportFollowing();
        }
        return;
    }
    const qreal x = static_cast<qreal>(display.columnOfByte(offset - start)) * charWidth_;
    const qreal room = viewport()->width() - textLeft();
    QScrollBar* horizontal = horizontalScrollBar();
    if (x < horizontal->value() || x > horizontal->value() + room - 4 * charWidth_) {
        horizontal->setValue(std::max(0, static_cast<int>(x - room / 2)));
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

void LogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !log_) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const std::uint64_t offset = offsetAt(event->position().toPoint());
    caret_ = offset;
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        anchor_ = offset;
    }
    if (lineCount() > 0) {
        current_ = rowOfLine(log_->index().lineAt(offset));
        emit lineClicked(lineOfRow(current_));
        if (!(event->modifiers() & Qt::ShiftModifier) && onLink(offset)) {
            emit linkClicked(lineOfRow(current_));
        }
    }
    viewport()->update();
    emit selectionChanged();
}

bool LogView::onLink(std::uint64_t offset) const {
    if (!log_ || lineCount() == 0) {
        return false;
    }
    const std::size_t line = log_->index().lineAt(offset);
    const std::uint64_t start = log_->index().lineStart(line);
    const std::optional<SourceLocation> location = findLocation(log_->line(line));
    return location && offset >= start + location->begin && offset < start + location->end;
}

void LogView::mouseMoveEvent(QMouseEvent* event) {
    if (!log_) {
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        // Over a file location the pointer says it can be followed.
        viewport()->setCursor(onLink(offsetAt(event->position().toPoint())) ? Qt::PointingHandCursor
                                                                            : Qt::IBeamCursor);
        return;
    }
    const QPoint point = event->position().toPoint();
    QScrollBar* vertical = verticalScrollBar();
    if (wrap_ && (point.y() < 0 || point.y() >= viewport()->height())) {
        scrollPieces(point.y() < 0 ? -1 : 1);
    } else if (point.y() < 0) {
        vertical->setValue(vertical->value() - 1);
    } else if (point.y() >= viewport()->height()) {
        vertical->setValue(vertical->value() + 1);
    }
    caret_ = offsetAt(point);
    viewport()->update();
    emit selectionChanged();
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !log_ || lineCount() == 0) {
        return;
    }
    const std::uint64_t offset = offsetAt(event->position().toPoint());
    const std::size_t line = log_->index().lineAt(offset);
    const std::uint64_t start = log_->index().lineStart(line);
    const std::string_view bytes = log_->line(line);
    std::size_t begin = static_cast<std::size_t>(offset - start);
    std::size_t end = begin;
    while (begin > 0 && isWordByte(static_cast<unsigned char>(bytes[begin - 1]))) {
        --begin;
    }
    while (end < bytes.size() && isWordByte(static_cast<unsigned char>(bytes[end]))) {
        ++end;
    }
    anchor_ = start + begin;
    caret_ = start + end;
    viewport()->update();
    emit selectionChanged();
}

void LogView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    const std::size_t page = visibleLineCount();
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Up:
            setCurrentRow(current_ > 0 ? current_ - 1 : 0);
            if (!wrap_ && current_ < firstVisibleRow()) {
                vertical->setValue(clampToInt(current_));
            }
            break;
        case Qt::Key_Down:
            setCurrentRow(current_ + 1);
            if (!wrap_ && current_ >= firstVisibleRow() + page) {
                vertical->setValue(clampToInt(current_ + 1 - page));
            }
            break;
        case Qt::Key_PageUp:
            if (wrap_) {
                scrollPieces(-static_cast<long>(std::max<std::size_t>(fullRows() - 1, 1)));
                current_ = firstVisibleRow();
                viewport()->update();
                break;
            }
            vertical->setValue(vertical->value() - vertical->pageStep());
            current_ = current_ > page ? current_ - page : 0;
            viewport()->update();
            break;
        case Qt::Key_PageDown:
            if (wrap_) {
                scrollPieces(static_cast<long>(std::max<std::size_t>(fullRows() - 1, 1)));
                const std::vector<ScreenRow> rows = screenRows();
                current_ = rows.empty() ? 0 : rows[std::min(rows.size(), fullRows()) - 1].row;
                viewport()->update();
                break;
            }
            vertical->setValue(vertical->value() + vertical->pageStep());
            setCurrentRow(current_ + page);
            break;
        case Qt::Key_Home:
            if (control) {
                scrollToTop();
            }
            horizontal->setValue(0);
            break;
        case Qt::Key_End:
            if (control) {
                scrollToEnd();
            } else {
                horizontal->setValue(horizontal->maximum());
            }
            break;
        case Qt::Key_Left:
            horizontal->setValue(horizontal->value() - horizontal->singleStep());
            break;
        case Qt::Key_Right:
            horizontal->setValue(horizontal->value() + horizontal->singleStep());
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (lineCount() > 0) {
                emit lineEntered(currentLine());
            }
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
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
