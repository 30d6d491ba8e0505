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
    const int scrolled = horizontalScrollBar()->value();
    const qreal left0 = textLeft() - scrolled;
    const auto firstColumn = static_cast<std::size_t>(std::max<qreal>(scrolled / charWidth_, 0));
    const auto columnsShown = static_cast<std::size_t>(width / charWidth_) + 2;
    const std::uint64_t selStart = selectionStart();
    const std::uint64_t selEnd = selectionEnd();
    const std::size_t oldWidest = widestSeen_;
    const std::vector<ScreenRow> screen = screenRows();
    std::vector<LineKind> kinds;  // for the margin, so no line is classified twice
    kinds.reserve(screen.size());
    const QRectF textArea(margin, 0, width - margin, viewport()->height());

    // What one line needs, computed once for all its rows.
    std::size_t shownLine = kBottom;
    std::string_view bytes;
    DisplayLine display;
    LineKind kind = LineKind::Plain;
    std::vector<StyleRun> runs;
    std::vector<ColumnRange> matches;
    std::optional<ColumnRange> selected;
    ColumnRange link{0, 0};  // a file location, underlined; empty when none
    std::optional<QRectF> currentFrame;

    for (std::size_t index = 0; index < screen.size(); ++index) {
        const ScreenRow& row = screen[index];
        const int y = static_cast<int>(index) * lineHeight_;
        if (row.line != shownLine || row.piece == 0) {
            shownLine = row.line;
            bytes = log_->line(row.line);
            const std::uint64_t start = log_->index().lineStart(row.line);
            const std::uint64_t limit = log_->index().lineLimit(row.line);
            display = decodeLine(bytes, kMaxColumns, codePage_);
            if (!wrap_) {
                widestSeen_ = std::max(widestSeen_, display.text.size());
            }
            kind = problems_ ? problems_->kindOf(*log_, row.line) : LineKind::Plain;
            runs = styleRuns(display);
            matches.clear();
            if (!highlight_.empty() && highlight_.valid()) {
                // Only the drawn part of a long line is searched, plus some bytes to end a
                // match.
                const std::string_view drawn = bytes.substr(0, display.decodedBytes + 256);
                for (std::optional<Match> m = highlight_.find(drawn);
                     m && m->at < display.decodedBytes;
                     m = highlight_.find(drawn, m->at + std::max<std::size_t>(m->length, 1))) {
                    matches.push_back(
                        {display.columnOfByte(m->at), display.columnOfByte(m->at + m->length)});
                }
            }
            selected.reset();
            if (selStart < selEnd && selStart < std::max(limit, start + 1) && selEnd > start) {
                const std::size_t from =
                    static_cast<std::size_t>(std::max(selStart, start) - start);
                const std::size_t to = static_cast<std::size_t>(std::min(selEnd, limit) - start);
                std::size_t end = display.columnOfByte(std::min(to, bytes.size()));
                if (to > bytes.size()) {
                    ++end;  // the selection takes the line end with it
                }
                selected = ColumnRange{display.columnOfByte(from), end};
            }
            link = ColumnRange{0, 0};
            if (const std::optional<SourceLocation> location = findLocation(bytes);
                location && location->begin < display.decodedBytes) {
                link = ColumnRange{display.columnOfByte(location->begin),
                                   display.columnOfByte(location->end)};
            }
        }
        kinds.push_back(kind);
        const bool current = row.row == current_;
        // A wrapped row shows its piece at the left edge.
        const std::size_t pieceEnd = std::min(row.end, display.text.size());
        const qreal left = left0 - static_cast<qreal>(row.begin) * charWidth_;
        const QRectF lineRect(margin, y, width - margin, lineHeight_);
        painter.setClipRect(textArea);
        if (kind == LineKind::Error) {
            painter.fillRect(lineRect, errorBack_);
        } else if (kind == LineKind::Warning) {
            painter.fillRect(lineRect, warningBack_);
        } else if (current) {
            painter.fillRect(lineRect, currentBack_);
        }
        if (current) {
            currentFrame = currentFrame ? currentFrame->united(lineRect) : lineRect;
        }
        auto columnRect = [&](std::size_t begin, std::size_t end) {
            return QRectF(left + static_cast<qreal>(begin) * charWidth_, y,
                          static_cast<qreal>(end - begin) * charWidth_, lineHeight_);
        };
        // A wrapped row draws only its own columns (and the line end after the last one).
        const QRectF rowClip =
            wrap_ ? columnRect(row.begin, pieceEnd + (row.last ? 1 : 0)).intersected(textArea)
                  : lineRect.intersected(textArea);
        painter.setClipRect(rowClip);

        for (const auto& [begin, end] : display.marks) {
            painter.fillRect(columnRect(begin, end), markBack_);
        }
        for (const StyleRun& run : runs) {
            if (run.style.background != 0) {
                painter.fillRect(columnRect(run.begin, run.end), colourOf(run.style.background));
            }
        }
        for (const ColumnRange& range : matches) {
            painter.fillRect(columnRect(range.begin, range.end), matchBack_);
        }
        if (selected) {
            painter.fillRect(columnRect(selected->begin, selected->end),
                             pal.color(QPalette::Highlight));
        }

        std::size_t from = wrap_ ? row.begin : std::min(firstColumn, display.text.size());
        if (from > 0 && from < display.text.size() && isLowSurrogate(display.text[from])) {
            --from;
        }
        const std::size_t to =
            wrap_ ? pieceEnd : std::min(display.text.size(), firstColumn + columnsShown);
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
        // A file location is underlined as a link, with a gap under each underscore: an
        // underline through "__init__.py" would read as "  init  .py".
        if (link.end > link.begin) {
            painter.setPen(link_);
            const qreal under = y + ascent_ + 2.5;
            auto underscore = [&](std::size_t column) {
                return column < display.text.size() && display.text[column] == u'_';
            };
            for (std::size_t begin = link.begin; begin < link.end;) {
                if (underscore(begin)) {
                    ++begin;
                    continue;
                }
                std::size_t end = begin;
                while (end < link.end && !underscore(end)) {
                    ++end;
                }
                const QRectF cell = columnRect(begin, end);
                const qreal inset = charWidth_ / 4;
                painter.drawLine(QPointF(cell.left() + (begin > link.begin ? inset : 0), under),
                                 QPointF(cell.right() - (end < link.end ? inset : 0), under));
                begin = end;
            }
        }
        if (display.clipped && row.last) {
            painter.setClipRect(lineRect.intersected(textArea));
            painter.setPen(marginText_);
            painter.drawText(
                QPointF(left + (static_cast<qreal>(display.text.size()) + 1) * charWidth_,
                        y + ascent_),
                clippedMarker(bytes.size() - display.decodedBytes));
        }
    }
    if (currentFrame) {
        // A frame rather than a fill, so the line keeps its error or warning colour.
        painter.setClipRect(textArea);
        painter.setPen(pal.color(QPalette::Highlight));
        painter.drawRect(currentFrame->adjusted(0.5, 0.5, -0.5, -0.5));
    }

    painter.setClipping(false);
    painter.setPen(marginText_);
    // Until the lines before the end are counted, a number would be wrong: none is drawn.
    const bool numbered = log_->indexComplete();
    for (std::size_t index = 0; index < screen.size(); ++index) {
        const ScreenRow& row = screen[index];
        const int y = static_cast<int>(index) * lineHeight_;
        // A wrapped line's number and bookmark go on its first row; its mark on every one.
        if (numbered && row.piece == 0) {
            painter.drawText(QRect(0, y, margin - 8, lineHeight_),
                             Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(static_cast<qulonglong>(row.line + 1)));
        }
        if (row.piece == 0 && bookmarks_ != nullptr && bookmarks_->count(row.line) > 0) {
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
        if (kinds[index] != LineKind::Plain) {
            painter.fillRect(QRect(margin - 5, y, 3, lineHeight_),
                             kinds[index] == LineKind::Error ? errorMark_ : warningMark_);
        }
    }
    if (widestSeen_ != oldWidest) {
        updateScrollBars();
    }
}

}  // namespace reda
