// The current line, the selection and what the mouse and the keyboard do to them: clicks,
// drags, double clicks on a source location, and the navigation keys.

#include "LogView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "SourceLocation.h"

namespace reda {

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
    Q_EMIT selectionChanged();
}

void LogView::selectAll() {
    anchor_ = 0;
    caret_ = log_ ? log_->bytes().size() : 0;
    viewport()->update();
    Q_EMIT selectionChanged();
}

void LogView::clearSelection() {
    anchor_ = caret_;
    viewport()->update();
    Q_EMIT selectionChanged();
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
        Q_EMIT lineClicked(lineOfRow(current_));
        if (!(event->modifiers() & Qt::ShiftModifier) && onLink(offset)) {
            Q_EMIT linkClicked(lineOfRow(current_));
        }
    }
    viewport()->update();
    Q_EMIT selectionChanged();
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
    Q_EMIT selectionChanged();
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
    Q_EMIT selectionChanged();
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
                Q_EMIT lineEntered(currentLine());
            }
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace reda
