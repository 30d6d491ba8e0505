#pragma once
// REDA's window: menus, the log view, the search bar and the status bar, and the polling
// that follows the log while the tools write it.

#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "LineDecoder.h"
#include "LineFilter.h"
#include "LogFile.h"
#include "ProblemIndex.h"
#include "RedaSettings.h"

class QAction;
class QLabel;
class QMenu;

namespace reda {

class FilterBar;
class FindBar;
class LogView;
class SearchHold;
class SearchJob;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // Appends show within a poll (plus a paint); the file watcher only brings a poll forward.
    static constexpr int kPollMilliseconds = 150;
    static constexpr int kWatchCoalesceMilliseconds = 20;
    // Bytes classified per slice, small enough to keep the window responsive.
    static constexpr std::size_t kClassifySlice = 8u << 20;
    static constexpr std::size_t kFilterSlice = 4u << 20;
    // Larger selections go to a file instead of the clipboard.
    static constexpr std::uint64_t kMaxClipboardBytes = 64u << 20;
    // How often a running search or the count of a large log's lines shows its progress.
    static constexpr int kProgressMilliseconds = 40;

    // `backing`: how the log's bytes are held; a test chooses the other platform's.
    explicit MainWindow(std::filesystem::path settingsFile, QWidget* parent = nullptr,
                        LogFile::Backing backing = LogFile::defaultBacking());
    ~MainWindow() override;

    // Shows `path`, or waits for it to appear when it does not exist yet.
    void openLog(const QString& path);
    // Follows the copy of standard input at `copy`, named as such and kept out of the recent logs.
    void openStandardInput(const QString& copy);
    void closeLog();
    // Reads what changed in the log now, rather than at the next tick.
    void pollNow();

    // Start a search on a worker thread; the result selects the match when it comes.
    // True when a search was started.
    bool findNext();
    bool findPrevious();
    bool isSearching() const { return search_ != nullptr; }
    void stopSearch();
    // For tests: every search's worker waits at `hold` before it looks at a byte.
    void setSearchHold(std::shared_ptr<SearchHold> hold) { searchHold_ = std::move(hold); }

    // The filtered view under the log, with the filter bar; `kinds` sets its quick filter.
    void showFilter();
    void showQuickFilter(KindFilter kinds);
    LogView* filterView() const { return filterView_; }
    FilterBar* filterBar() const { return filterBar_; }
    const FilteredLines& filtered() const { return filtered_; }
    // One-based, as shown in the margin.
    void goToLine(std::size_t line);
    bool nextProblem();
    bool previousProblem();
    bool nextError();
    bool previousError();
    // Bookmarks on lines, kept while the log is open: Ctrl+F2 sets or clears the current
    // line's, F2 / Shift+F2 go to the next / previous one.
    void toggleBookmark();
    // The encoding of a log that is not UTF-8: Windows-1252, or the local code page when it
    // is a single-byte one; null is UTF-8.
    void setCodePage(const CodePage* codePage);
    // Long lines take several screen rows, in the log and in the filtered view.
    void setWrapLines(bool on);
    // Text of bytes in the chosen encoding.
    QString textOf(std::string_view bytes) const;
    bool nextBookmark(bool forward = true);
    const std::set<std::size_t>& bookmarks() const { return bookmarks_; }

    // Starts an editor: `program` with `arguments`, or with an empty program the desktop's
    // opener on the file in arguments[0]. True when it started.
    using Opener = std::function<bool(const QString& program, const QStringList& arguments)>;
    void setOpener(Opener opener) { opener_ = std::move(opener); }
    // Opens the file location a line names in the user's editor; false with a message in the
    // status bar when the line names none or the file is not there.
    bool openLocation(std::size_t line);
    void copySelection();
    // Writes the selected bytes (colour sequences only when kept); false with lastError() set
    // when that failed.
    bool saveSelection(const QString& file);
    // Returns a message per pattern that does not compile (those are left out).
    std::vector<std::string> setHighlightWords(const HighlightWords& words);
    // The folder links of this log's folder are also looked for in (View → Source Folder…),
    // remembered per log folder; an empty one forgets it.
    void setSourceRoot(const QString& folder);
    std::filesystem::path sourceRoot() const;
    bool saveSettings();

    const QString& lastError() const { return lastError_; }
    const RedaSettings& settings() const { return settings_; }
    const LogFile& log() const { return log_; }
    const ProblemIndex& problems() const { return problems_; }
    LogView* view() const { return view_; }
    FindBar* findBar() const { return findBar_; }

  Q_SIGNALS:
    // A search ended: found, not found or stopped (see the search bar's status).
    void searchFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // A log dropped on the window is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The constructor's parts, in the order it calls them.
    void buildCentralWidget();
    void buildStatusBar();
    void createActions();
    void createFileMenu();
    void createEditMenu();
    QMenu* createViewMenu();
    void createEncodingMenu(QMenu* view);
    void connectFindBar();
    void connectPanes();
    void setUpTimers();
    void createStatusBar();
    void rebuildRecentMenu();
    void schedulePoll();
    void watchLog();
    void classifySlice();
    void updateCounts();
    void updateActions();
    void updateHighlight();
    bool find(bool forward);
    void searchProgress();
    void applyFilter();
    void filterSlice();
    void filterLogChanged(bool reloaded);
    void showProgress();
    bool refuseWhileCounting();
    bool jumpToProblem(bool forward, bool errorsOnly);
    void showStatus(const QString& text);
    // The selected bytes, without colour sequences unless they are to be kept.
    std::string selectedBytes() const;

    void openFromDialog();
    void saveSelectionFromDialog();
    void goToLineFromDialog();
    void editWords();
    void chooseSourceRoot();
    std::filesystem::path logFolder() const;

    std::filesystem::path settingsFile_;
    RedaSettings settings_;
    LogFile log_;
    ProblemIndex problems_;
    QString lastError_;

    LogView* view_;
    FindBar* findBar_;
    QLabel* linesLabel_;
    QLabel* errorsLabel_;
    QLabel* warningsLabel_;
    QLabel* followLabel_;
    QMenu* recentMenu_ = nullptr;
    QAction* reloadAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* saveSelectionAction_ = nullptr;

    FilteredLines filtered_;
    QWidget* filterPane_;
    FilterBar* filterBar_;
    LogView* filterView_;
    QTimer filterTimer_;

    std::unique_ptr<SearchJob> search_;
    std::shared_ptr<SearchHold> searchHold_;
    bool searchForward_ = true;
    QTimer searchTimer_;
    QTimer progressTimer_;
    QLabel* progressLabel_;

    QTimer pollTimer_;
    QTimer classifyTimer_;
    QFileSystemWatcher watcher_;
    bool pollPending_ = false;
    bool keepEscapes_ = false;
    std::set<std::size_t> bookmarks_;
    const CodePage* codePage_ = nullptr;
    CodePage localCodePage_{};
    bool localIsSingleByte_ = false;
    Opener opener_;
};

}  // namespace reda
