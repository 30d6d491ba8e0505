#include "LogView.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include <vector>
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
    codePage_ = codePage;
    widestSeen_ = 0;
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
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
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
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
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
    verticalScrollBar()->setValue(wasAtEnd ? verticalScrollBar()->maximum()
                                           : clampToInt(first + shift));
    viewport()->update();
    reportFollowing();
}

void LogView::refreshMarks() {
    viewport()->update();
}

std::size_t LogView::firstVisibleRow() const {
    return static_cast<std::size_t>(std::max(verticalScrollBar()->value(), 0));
}

std::size_t LogView::firstVisibleLine() const {
    return lineOfRow(firstVisibleRow());
}

std::size_t LogView::visibleLineCount() const {
    return static_cast<std::size_t>(std::max(viewport()->height() / lineHeight_, 1));
}

bool LogView::isAtEnd() const {
    return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

void LogView::scrollToEnd() {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    if (lineCount() > 0) {
        current_ = lineCount() - 1;
    }
    viewport()->update();
}

void LogView::scrollToTop() {
    verticalScrollBar()->setValue(0);
    current_ = 0;
    viewport()->update();
}

void LogView::setCurrentLine(std::size_t line) {
    const std::size_t count = lineCount();
    if (count == 0) {
        return;
    }
    current_ = std::min(rowOfLine(line), count - 1);
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
    const std::size_t shown = visibleLineCount();
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
    horizontal->setRange(0, std::max(0, static_cast<int>(width) - viewport()->width()));
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
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
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
    if (point.y() < 0) {
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
            if (current_ < firstVisibleRow()) {
                vertical->setValue(clampToInt(current_));
            }
            break;
        case Qt::Key_Down:
            setCurrentRow(current_ + 1);
            if (current_ >= firstVisibleRow() + page) {
                vertical->setValue(clampToInt(current_ + 1 - page));
            }
            break;
        case Qt::Key_PageUp:
            vertical->setValue(vertical->value() - vertical->pageStep());
            current_ = current_ > page ? current_ - page : 0;
            viewport()->update();
            break;
        case Qt::Key_PageDown:
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
    viewport()->update();
    reportFollowing();
}

}  // namespace reda
