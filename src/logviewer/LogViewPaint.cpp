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

// What every row of one paint shares.
struct LogView::PaintArea {
    const QPalette& palette;
    QFont boldFont;
    int margin;
    int width;
    QRectF textArea;
    qreal left0;  // x of the first column, scrolled
    std::size_t firstColumn;
    std::size_t columnsShown;
    std::uint64_t selStart;
    std::uint64_t selEnd;
};

// What one line shows, worked out once for all its rows.
struct LogView::PaintedLine {
    std::string_view bytes;
    DisplayLine display;
    LineKind kind = LineKind::Plain;
    std::vector<StyleRun> runs;
    std::vector<ColumnRange> matches;
    std::optional<ColumnRange> selected;
    ColumnRange link{0, 0};  // a file location, underlined; empty when none
};

// Where one row lies: its line's rectangle and the cells of its columns.
struct LogView::RowPlace {
    qreal left;  // x of the line's column 0
    int y;
    qreal charWidth;
    int lineHeight;
    QRectF lineRect;

    QRectF cells(std::size_t begin, std::size_t end) const {
        return QRectF(left + static_cast<qreal>(begin) * charWidth, y,
                      static_cast<qreal>(end - begin) * charWidth, lineHeight);
    }
};

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
    const PaintArea area{pal,
                         boldFont,
                         margin,
                         width,
                         QRectF(margin, 0, width - margin, viewport()->height()),
                         textLeft() - scrolled,
                         static_cast<std::size_t>(std::max<qreal>(scrolled / charWidth_, 0)),
                         static_cast<std::size_t>(width / charWidth_) + 2,
                         selectionStart(),
                         selectionEnd()};
    const std::size_t oldWidest = widestSeen_;
    const std::vector<ScreenRow> screen = screenRows();
    std::vector<LineKind> kinds;  // for the margin, so no line is classified twice
    kinds.reserve(screen.size());
    const std::optional<QRectF> currentFrame = drawTextArea(painter, area, screen, kinds);
    if (currentFrame) {
        // A frame rather than a fill, so the line keeps its error or warning colour.
        painter.setClipRect(area.textArea);
        painter.setPen(pal.color(QPalette::Highlight));
        painter.drawRect(currentFrame->adjusted(0.5, 0.5, -0.5, -0.5));
    }
    drawMargin(painter, screen, kinds, margin);
    if (widestSeen_ != oldWidest) {
        updateScrollBars();
    }
}

std::optional<QRectF> LogView::drawTextArea(QPainter& painter, const PaintArea& area,
                                            const std::vector<ScreenRow>& screen,
                                            std::vector<LineKind>& kinds) {
    std::optional<QRectF> currentFrame;
    std::size_t shownLine = kBottom;
    PaintedLine line;
    for (std::size_t index = 0; index < screen.size(); ++index) {
        const ScreenRow& row = screen[index];
        if (row.line != shownLine || row.piece == 0) {
            shownLine = row.line;
            line = paintedLine(row.line, area);
        }
        kinds.push_back(line.kind);
        const int y = static_cast<int>(index) * lineHeight_;
        // A wrapped row shows its piece at the left edge.
        const RowPlace place{area.left0 - static_cast<qreal>(row.begin) * charWidth_, y, charWidth_,
                             lineHeight_,
                             QRectF(area.margin, y, area.width - area.margin, lineHeight_)};
        const bool current = row.row == current_;
        if (current) {
            currentFrame = currentFrame ? currentFrame->united(place.lineRect) : place.lineRect;
        }
        drawRowBackground(painter, area, line, row, place, current);
        drawRowText(painter, area, line, row, place);
        drawLink(painter, line, place);
        if (line.display.clipped && row.last) {
            painter.setClipRect(place.lineRect.intersected(area.textArea));
            painter.setPen(marginText_);
            painter.drawText(
                QPointF(
                    place.left + (static_cast<qreal>(line.display.text.size()) + 1) * charWidth_,
                    y + ascent_),
                clippedMarker(line.bytes.size() - line.display.decodedBytes));
        }
    }
    return currentFrame;
}

LogView::PaintedLine LogView::paintedLine(std::size_t lineNumber, const PaintArea& area) {
    PaintedLine line;
    line.bytes = log_->line(lineNumber);
    const std::string_view bytes = line.bytes;
    const std::uint64_t start = log_->index().lineStart(lineNumber);
    const std::uint64_t limit = log_->index().lineLimit(lineNumber);
    line.display = decodeLine(bytes, kMaxColumns, codePage_);
    const DisplayLine& display = line.display;
    if (!wrap_) {
        widestSeen_ = std::max(widestSeen_, display.text.size());
    }
    line.kind = problems_ ? problems_->kindOf(*log_, lineNumber) : LineKind::Plain;
    line.runs = styleRuns(display);
    if (!highlight_.empty() && highlight_.valid()) {
        // Only the drawn part of a long line is searched, plus some bytes to end a match.
        const std::string_view drawn = bytes.substr(0, display.decodedBytes + 256);
        for (std::optional<Match> m = highlight_.find(drawn); m && m->at < display.decodedBytes;
             m = highlight_.find(drawn, m->at + std::max<std::size_t>(m->length, 1))) {
            line.matches.push_back(
                {display.columnOfByte(m->at), display.columnOfByte(m->at + m->length)});
        }
    }
    const std::uint64_t selStart = area.selStart;
    const std::uint64_t selEnd = area.selEnd;
    if (selStart < selEnd && selStart < std::max(limit, start + 1) && selEnd > start) {
        const std::size_t from = static_cast<std::size_t>(std::max(selStart, start) - start);
        const std::size_t to = static_cast<std::size_t>(std::min(selEnd, limit) - start);
        std::size_t end = display.columnOfByte(std::min(to, bytes.size()));
        if (to > bytes.size()) {
            ++end;  // the selection takes the line end with it
        }
        line.selected = ColumnRange{display.columnOfByte(from), end};
    }
    if (const std::optional<SourceLocation> location = findLocation(bytes);
        location && location->begin < display.decodedBytes) {
        line.link =
            ColumnRange{display.columnOfByte(location->begin), display.columnOfByte(location->end)};
    }
    return line;
}

void LogView::drawRowBackground(QPainter& painter, const PaintArea& area, const PaintedLine& line,
                                const ScreenRow& row, const RowPlace& place, bool current) const {
    painter.setClipRect(area.textArea);
    if (line.kind == LineKind::Error) {
        painter.fillRect(place.lineRect, errorBack_);
    } else if (line.kind == LineKind::Warning) {
        painter.fillRect(place.lineRect, warningBack_);
    } else if (current) {
        painter.fillRect(place.lineRect, currentBack_);
    }
    // A wrapped row draws only its own columns (and the line end after the last one).
    const std::size_t pieceEnd = std::min(row.end, line.display.text.size());
    const QRectF rowClip =
        wrap_ ? place.cells(row.begin, pieceEnd + (row.last ? 1 : 0)).intersected(area.textArea)
              : place.lineRect.intersected(area.textArea);
    painter.setClipRect(rowClip);

    for (const auto& [begin, end] : line.display.marks) {
        painter.fillRect(place.cells(begin, end), markBack_);
    }
    for (const StyleRun& run : line.runs) {
        if (run.style.background != 0) {
            painter.fillRect(place.cells(run.begin, run.end), colourOf(run.style.background));
        }
    }
    for (const ColumnRange& range : line.matches) {
        painter.fillRect(place.cells(range.begin, range.end), matchBack_);
    }
    if (line.selected) {
        painter.fillRect(place.cells(line.selected->begin, line.selected->end),
                         area.palette.color(QPalette::Highlight));
    }
}

void LogView::drawRowText(QPainter& painter, const PaintArea& area, const PaintedLine& line,
                          const ScreenRow& row, const RowPlace& place) const {
    const std::u16string& text = line.display.text;
    const std::size_t pieceEnd = std::min(row.end, text.size());
    std::size_t from = wrap_ ? row.begin : std::min(area.firstColumn, text.size());
    if (from > 0 && from < text.size() && isLowSurrogate(text[from])) {
        --from;
    }
    const std::size_t to =
        wrap_ ? pieceEnd : std::min(text.size(), area.firstColumn + area.columnsShown);
    if (from >= to) {
        return;
    }
    const qreal baseline = place.y + ascent_;
    for (const StyleRun& run : line.runs) {
        const std::size_t begin = std::max(run.begin, from);
        const std::size_t end = std::min(run.end, to);
        if (begin >= end) {
            continue;
        }
        painter.setPen(run.style.foreground != 0 ? colourOf(run.style.foreground)
                                                 : area.palette.color(QPalette::Text));
        painter.setFont(run.style.bold ? area.boldFont : font());
        painter.drawText(
            QPointF(place.left + static_cast<qreal>(begin) * charWidth_, baseline),
            QString::fromUtf16(text.data() + begin, static_cast<qsizetype>(end - begin)));
    }
    painter.setFont(font());
    // Matches and the selection draw the row's text again in their own colour, clipped to
    // their cells.
    const QString slice = QString::fromUtf16(text.data() + from, static_cast<qsizetype>(to - from));
    const QPointF origin(place.left + static_cast<qreal>(from) * charWidth_, baseline);
    auto redraw = [&](const ColumnRange& range, const QColor& color) {
        painter.save();
        painter.setClipRect(place.cells(range.begin, range.end), Qt::IntersectClip);
        painter.setPen(color);
        painter.drawText(origin, slice);
        painter.restore();
    };
    for (const ColumnRange& range : line.matches) {
        redraw(range, matchText_);
    }
    if (line.selected) {
        redraw(*line.selected, area.palette.color(QPalette::HighlightedText));
    }
}

void LogView::drawLink(QPainter& painter, const PaintedLine& line, const RowPlace& place) const {
    // A file location is underlined as a link, with a gap under each underscore: an
    // underline through "__init__.py" would read as "  init  .py".
    const ColumnRange link = line.link;
    if (link.end <= link.begin) {
        return;
    }
    painter.setPen(link_);
    const qreal under = place.y + ascent_ + 2.5;
    const std::u16string& text = line.display.text;
    auto underscore = [&](std::size_t column) {
        return column < text.size() && text[column] == u'_';
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
        const QRectF cell = place.cells(begin, end);
        const qreal inset = charWidth_ / 4;
        painter.drawLine(QPointF(cell.left() + (begin > link.begin ? inset : 0), under),
                         QPointF(cell.right() - (end < link.end ? inset : 0), under));
        begin = end;
    }
}

void LogView::drawMargin(QPainter& painter, const std::vector<ScreenRow>& screen,
                         const std::vector<LineKind>& kinds, int margin) const {
    painter.setClipping(false);
    painter.setPen(marginText_);
    // Until the lines before the end are counted, a number would be wrong: none is drawn.
    const bool numbered = log_->indexComplete();
    const QPalette& pal = palette();
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
}

}  // namespace reda
