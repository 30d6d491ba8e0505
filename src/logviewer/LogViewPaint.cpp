// Drawing the lines on screen: backgrounds of error and warning lines, marks for bytes that
// are not text, search matches, the selection, the text and the margin.

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "LogView.h"
#include "SourceLocation.h"

namespace reda {

namespace {

bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

struct ColumnRange {
    std::size_t begin;
    std::size_t end;
};

struct StyleRun {
    std::size_t begin;
    std::size_t end;
    TextStyle style;
};

std::vector<StyleRun> styleRuns(const DisplayLine& display) {
    std::vector<StyleRun> runs;
    std::size_t begin = 0;
    TextStyle style;
    for (const auto& [column, next] : display.styles) {
        if (column > begin) {
            runs.push_back({begin, column, style});
        }
        begin = column;
        style = next;
    }
    if (display.text.size() > begin) {
        runs.push_back({begin, display.text.size(), style});
    }
    return runs;
}

QColor colourOf(std::uint32_t colour) {
    return QColor::fromRgb(colour & 0xFFFFFF);
}

}  // namespace

void LogView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPalette& pal = palette();
    painter.fillRect(event->rect(), pal.color(QPalette::Base));
    const int margin = marginWidth();
    const int width = viewport()->width();
    painter.fillRect(QRect(0, 0, margin, viewport()->height()), marginBack_);
    if (!log_) {
        return;
    }
    painter.setFont(font());
    QFont boldFont = font();
    boldFont.setBold(true);
    const std::size_t count = lineCount();
    const std::size_t first = firstVisibleRow();
    const int scrolled = horizontalScrollBar()->value();
    const qreal left = textLeft() - scrolled;
    const auto firstColumn = static_cast<std::size_t>(std::max<qreal>(scrolled / charWidth_, 0));
    const auto columnsShown = static_cast<std::size_t>(width / charWidth_) + 2;
    const std::uint64_t selStart = selectionStart();
    const std::uint64_t selEnd = selectionEnd();
    const std::size_t rows = static_cast<std::size_t>(viewport()->height() / lineHeight_) + 2;
    const std::size_t oldWidest = widestSeen_;
    std::vector<LineKind> kinds;  // for the margin, so no line is classified twice

    painter.setClipRect(QRect(margin, 0, width - margin, viewport()->height()));
    for (std::size_t row = 0; row < rows && first + row < count; ++row) {
        const std::size_t line = lineOfRow(first + row);
        const bool current = first + row == current_;
        const int y = static_cast<int>(row) * lineHeight_;
        const std::string_view bytes = log_->line(line);
        const std::uint64_t start = log_->index().lineStart(line);
        const std::uint64_t limit = log_->index().lineLimit(line);
        const DisplayLine display = decodeLine(bytes, kMaxColumns, codePage_);
        widestSeen_ = std::max(widestSeen_, display.text.size());
        const LineKind kind = problems_ ? problems_->kindOf(*log_, line) : LineKind::Plain;
        kinds.push_back(kind);
        const QRectF lineRect(margin, y, width - margin, lineHeight_);
        if (kind == LineKind::Error) {
            painter.fillRect(lineRect, errorBack_);
        } else if (kind == LineKind::Warning) {
            painter.fillRect(lineRect, warningBack_);
        } else if (current) {
            painter.fillRect(lineRect, currentBack_);
        }
        if (current) {
            // A frame rather than a fill, so the line keeps its error or warning colour.
            painter.setPen(pal.color(QPalette::Highlight));
            painter.drawRect(lineRect.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        auto columnRect = [&](std::size_t begin, std::size_t end) {
            return QRectF(left + static_cast<qreal>(begin) * charWidth_, y,
                          static_cast<qreal>(end - begin) * charWidth_, lineHeight_);
        };

        for (const auto& [begin, end] : display.marks) {
            painter.fillRect(columnRect(begin, end), markBack_);
        }
        // The runs of one style each, from the colour sequences of the line.
        std::vector<StyleRun> runs = styleRuns(display);
        for (const StyleRun& run : runs) {
            if (run.style.background != 0) {
                painter.fillRect(columnRect(run.begin, run.end), colourOf(run.style.background));
            }
        }

        std::vector<ColumnRange> matches;
        if (!highlight_.empty() && highlight_.valid()) {
            // Only the drawn part of a long line is searched, plus some bytes to end a match.
            const std::string_view drawn = bytes.substr(0, display.decodedBytes + 256);
            for (std::optional<Match> m = highlight_.find(drawn); m && m->at < display.decodedBytes;
                 m = highlight_.find(drawn, m->at + std::max<std::size_t>(m->length, 1))) {
                matches.push_back(
                    {display.columnOfByte(m->at), display.columnOfByte(m->at + m->length)});
                painter.fillRect(columnRect(matches.back().begin, matches.back().end), matchBack_);
            }
        }
        std::optional<ColumnRange> selected;
        if (selStart < selEnd && selStart < std::max(limit, start + 1) && selEnd > start) {
            const std::size_t from = static_cast<std::size_t>(std::max(selStart, start) - start);
            const std::size_t to = static_cast<std::size_t>(std::min(selEnd, limit) - start);
            std::size_t end = display.columnOfByte(std::min(to, bytes.size()));
            if (to > bytes.size()) {
                ++end;  // the selection takes the line end with it
            }
            selected = ColumnRange{display.columnOfByte(from), end};
            painter.fillRect(columnRect(selected->begin, selected->end),
                             pal.color(QPalette::Highlight));
        }

        std::size_t from = std::min(firstColumn, display.text.size());
        if (from > 0 && from < display.text.size() && isLowSurrogate(display.text[from])) {
            --from;
        }
        const std::size_t to = std::min(display.text.size(), firstColumn + columnsShown);
        if (from < to) {
            const QString slice =
                QString::fromUtf16(display.text.data() + from, static_cast<qsizetype>(to - from));
            const QPointF origin(left + static_cast<qreal>(from) * charWidth_, y + ascent_);
            for (const StyleRun& run : runs) {
                const std::size_t begin = std::max(run.begin, from);
                const std::size_t end = std::min(run.end, to);
                if (begin >= end) {
                    continue;
                }
                painter.setPen(run.style.foreground != 0 ? colourOf(run.style.foreground)
                                                         : pal.color(QPalette::Text));
                painter.setFont(run.style.bold ? boldFont : font());
                painter.drawText(
                    QPointF(left + static_cast<qreal>(begin) * charWidth_, y + ascent_),
                    QString::fromUtf16(display.text.data() + begin,
                                       static_cast<qsizetype>(end - begin)));
            }
            painter.setFont(font());
            auto redraw = [&](const ColumnRange& range, const QColor& color) {
                painter.save();
                painter.setClipRect(columnRect(range.begin, range.end), Qt::IntersectClip);
                painter.setPen(color);
                painter.drawText(origin, slice);
                painter.restore();
            };
            for (const ColumnRange& range : matches) {
                redraw(range, matchText_);
            }
            if (selected) {
                redraw(*selected, pal.color(QPalette::HighlightedText));
            }
        }
        // A file location is underlined as a link.
        if (const std::optional<SourceLocation> location = findLocation(bytes);
            location && location->begin < display.decodedBytes) {
            const std::size_t begin = display.columnOfByte(location->begin);
            const std::size_t end = display.columnOfByte(location->end);
            const QRectF cell = columnRect(begin, end);
            painter.setPen(link_);
            painter.drawLine(QPointF(cell.left(), y + ascent_ + 2),
                             QPointF(cell.right(), y + ascent_ + 2));
        }
        if (display.clipped) {
            painter.setPen(marginText_);
            painter.drawText(
                QPointF(left + (static_cast<qreal>(display.text.size()) + 1) * charWidth_,
                        y + ascent_),
                tr("… %n more bytes", nullptr,
                   static_cast<int>(
                       std::min<std::size_t>(bytes.size() - display.decodedBytes, INT_MAX))));
        }
    }

    painter.setClipping(false);
    painter.setPen(marginText_);
    // Until the lines before the end are counted, a number would be wrong: none is drawn.
    const bool numbered = log_->indexComplete();
    for (std::size_t row = 0; row < rows && first + row < count; ++row) {
        const std::size_t line = lineOfRow(first + row);
        const int y = static_cast<int>(row) * lineHeight_;
        if (numbered) {
            painter.drawText(QRect(0, y, margin - 8, lineHeight_),
                             Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(static_cast<qulonglong>(line + 1)));
        }
        if (bookmarks_ != nullptr && bookmarks_->count(line) > 0) {
            // A bookmark: a filled circle at the left of the margin.
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(pal.color(QPalette::Highlight));
            const qreal size = std::min<qreal>(lineHeight_ - 6, 9);
            painter.drawEllipse(QRectF(3, y + (lineHeight_ - size) / 2, size, size));
            painter.restore();
            painter.setPen(marginText_);
        }
        const LineKind kind = kinds[row];
        if (kind != LineKind::Plain) {
            painter.fillRect(QRect(margin - 5, y, 3, lineHeight_),
                             kind == LineKind::Error ? errorMark_ : warningMark_);
        }
    }
    if (widestSeen_ != oldWidest) {
        updateScrollBars();
    }
}

}  // namespace reda
