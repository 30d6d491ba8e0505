#pragma once
// The viewport that draws a log: only the lines on screen are decoded and painted, so the
// size of the log does not matter. Selections are byte ranges of the log itself.

#include <QAbstractScrollArea>
#include <QColor>
#include <QRectF>
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <vector>

#include "LineDecoder.h"
#include "LineFilter.h"
#include "LogFile.h"
#include "Pattern.h"
#include "ProblemIndex.h"
#include "TextFinder.h"

class QPainter;

namespace reda {

class LogView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    // Columns drawn of one line; longer lines end in a marker and are still copied whole.
    static constexpr std::size_t kMaxColumns = 20000;

    explicit LogView(QWidget* parent = nullptr);

    void setModel(const LogFile* log, const ProblemIndex* problems);
    // Shows only the rows of `rows` (the filtered view), with the lines' own numbers; null
    // shows every line.
    void setRows(const FilteredLines* rows);
    // The code page of a log that is not UTF-8; null for UTF-8.
    void setCodePage(const CodePage* codePage);
    const CodePage* codePage() const { return codePage_; }
    // Lines marked in the margin; null marks none.
    void setBookmarks(const std::set<std::size_t>* lines);
    // The rows changed (the filter or the log): redraw, and keep to the end when at the end.
    void rowsUpdated(bool restart);
    // After a poll: `reloaded` means the log starts over, otherwise lines were appended.
    // The view keeps to the end only when it was at the end.
    void logUpdated(bool reloaded);
    // The lines before those shown first are counted now: `shift` lines came before them.
    void logIndexed(std::size_t shift);
    // The problem classification moved on: redraw the line colours.
    void refreshMarks();
    // Wrapping long lines: a line wider than the view takes several screen rows, broken where
    // it is drawn only, so the index stays per line and the scroll bar counts lines.
    void setWrapLines(bool on);
    bool wrapLines() const { return wrap_; }

    std::size_t firstVisibleLine() const;
    std::size_t firstVisibleRow() const;
    std::size_t rowCount() const { return lineCount(); }
    // The line of the log a row shows, and the row that shows a line (or the next one shown).
    std::size_t lineOfRow(std::size_t row) const;
    std::size_t rowOfLine(std::size_t line) const;
    // Lines that fit wholly on screen; at least one.
    std::size_t visibleLineCount() const;
    bool isAtEnd() const;
    void scrollToEnd();
    void scrollToTop();

    // The line that F8, go-to-line and clicks set; it is kept on screen.
    std::size_t currentLine() const { return lineOfRow(current_); }
    void setCurrentLine(std::size_t line);
    void setCurrentRow(std::size_t row);

    bool hasSelection() const { return anchor_ != caret_; }
    std::uint64_t selectionStart() const { return std::min(anchor_, caret_); }
    std::uint64_t selectionEnd() const { return std::max(anchor_, caret_); }
    // Selects [anchor, caret) (either order) and scrolls the caret into view.
    void setSelection(std::uint64_t anchor, std::uint64_t caret);
    void selectAll();
    void clearSelection();

    // Every match of `pattern` on screen is marked; an empty pattern marks nothing.
    void setHighlight(const Pattern& pattern);

    // Where a column of a line is drawn, in viewport coordinates (off screen when scrolled away).
    QRect cellRect(std::size_t line, std::size_t column) const;

    qreal charWidth() const { return charWidth_; }
    int lineHeight() const { return lineHeight_; }

  Q_SIGNALS:
    void selectionChanged();
    void followingChanged(bool atEnd);
    // A person clicked a line, or pressed Enter on the current one.
    void lineClicked(std::size_t line);
    void lineEntered(std::size_t line);
    // A click on the file location a line shows as a link.
    void linkClicked(std::size_t line);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // One row on screen: the piece [begin, end) of a line's drawn columns.
    struct ScreenRow {
        std::size_t row;    // of the view (a filtered view's rows are not the log's lines)
        std::size_t line;   // of the log
        std::size_t piece;  // 0 for a line's first row
        std::size_t begin;
        std::size_t end;
        bool last;  // the line's last row
    };
    static constexpr std::size_t kBottom = std::numeric_limits<std::size_t>::max();
    // A row or count as a scroll bar value, which cannot go past INT_MAX.
    static int clampToInt(std::size_t value) {
        return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
    }
    // Painting in phases: what a line shows, then per row its background, text and link,
    // then the margin (LogViewPaint.cpp).
    struct PaintArea;
    struct PaintedLine;
    struct RowPlace;
    // Draws the rows; returns the current row's frame and fills `kinds` row by row.
    std::optional<QRectF> drawTextArea(QPainter& painter, const PaintArea& area,
                                       const std::vector<ScreenRow>& screen,
                                       std::vector<LineKind>& kinds);
    PaintedLine paintedLine(std::size_t lineNumber, const PaintArea& area);
    void drawRowBackground(QPainter& painter, const PaintArea& area, const PaintedLine& line,
                           const ScreenRow& row, const RowPlace& place, bool current) const;
    void drawRowText(QPainter& painter, const PaintArea& area, const PaintedLine& line,
                     const ScreenRow& row, const RowPlace& place) const;
    void drawLink(QPainter& painter, const PaintedLine& line, const RowPlace& place) const;
    void drawMargin(QPainter& painter, const std::vector<ScreenRow>& screen,
                    const std::vector<LineKind>& kinds, int margin) const;
    // The rows on screen from the top, a partly shown one at the bottom included.
    std::vector<ScreenRow> screenRows() const;
    // Columns a wrapped row holds, and the columns where the rows of a line start.
    std::size_t wrapWidth() const;
    std::vector<std::size_t> piecesOf(std::size_t line) const;
    std::size_t fullRows() const;
    // Lines wholly shown when the view ends at the last line.
    std::size_t linesAtEnd() const;
    // Moves the wrapped view by screen rows (negative: up).
    void scrollPieces(long delta);
    // Shows the end and follows it.
    void showEnd();
    QString clippedMarker(std::size_t moreBytes) const;
    std::size_t lineCount() const;
    void updateMetrics();
    void updateColors();
    void updateScrollBars();
    int marginWidth() const;
    qreal textLeft() const;
    // The byte of the log under a viewport point, clamped to the text.
    std::uint64_t offsetAt(QPoint point) const;
    void revealOffset(std::uint64_t offset);
    void reportFollowing();
    // Whether a byte of the log lies in the file location its line shows as a link.
    bool onLink(std::uint64_t offset) const;

    const LogFile* log_ = nullptr;
    const ProblemIndex* problems_ = nullptr;
    const FilteredLines* rows_ = nullptr;
    const std::set<std::size_t>* bookmarks_ = nullptr;
    const CodePage* codePage_ = nullptr;
    Pattern highlight_;
    std::uint64_t anchor_ = 0;
    std::uint64_t caret_ = 0;
    std::size_t current_ = 0;     // a row
    std::size_t widestSeen_ = 0;  // columns of the widest line drawn so far
    bool following_ = true;
    bool wrap_ = false;
    // The first line's row shown at the top of a wrapped view; kBottom when the view is
    // bottom-aligned at the end of the log (following it).
    std::size_t topPiece_ = kBottom;
    bool keepPiece_ = false;  // a scroll bar move that must not reset topPiece_

    qreal charWidth_ = 8;
    int lineHeight_ = 16;
    int ascent_ = 12;
    QColor errorBack_;
    QColor warningBack_;
    QColor errorMark_;
    QColor warningMark_;
    QColor matchBack_;
    QColor matchText_;
    QColor marginBack_;
    QColor marginText_;
    QColor currentBack_;
    QColor markBack_;
    QColor link_;
};

}  // namespace reda
