#pragma once
// A search of a log on a worker thread, so the window keeps answering while gigabytes are
// scanned: it reads pinned bytes that the followed file's later mappings do not disturb,
// reports how far it got and stops when asked.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "TextFinder.h"

namespace reda {

struct Match {
    std::size_t at = 0;
    std::size_t length = 0;
    bool operator==(const Match&) const = default;
};

// What a search looks for. Both finds look only at matches that start in [from, to) but may
// read the bytes around them to see word bounds.
class Matcher {
  public:
    virtual ~Matcher() = default;
    virtual std::optional<Match> first(std::string_view bytes, std::size_t from,
                                       std::size_t to) const = 0;
    virtual std::optional<Match> last(std::string_view bytes, std::size_t from,
                                      std::size_t to) const = 0;
};

class TextMatcher final : public Matcher {
  public:
    explicit TextMatcher(TextFinder finder) : finder_(std::move(finder)) {}
    std::optional<Match> first(std::string_view bytes, std::size_t from,
                               std::size_t to) const override;
    std::optional<Match> last(std::string_view bytes, std::size_t from,
                              std::size_t to) const override;

  private:
    TextFinder finder_;
};

// The bytes a job reads. With a `pin` that keeps them readable, the job runs on a worker
// thread; `mapped` bytes (a file mapping) leave resident memory once read.
struct SearchSource {
    std::shared_ptr<const void> pin;
    std::string_view bytes;
    bool mapped = false;
};

// For tests: holds a search's worker before it looks at its first byte, until released or
// the search is stopped, so a test meets a search at work however fast the machine is.
class SearchHold {
  public:
    void release();
    // The worker's side: returns once released or `stop` is set (and wake() called).
    void wait(const std::atomic<bool>& stop);
    void wake();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = true;
};

class SearchJob {
  public:
    // Bytes looked at between two looks at whether to stop.
    static constexpr std::size_t kPiece = 4u << 20;

    enum class State { Running, Found, NotFound, Stopped };

    // Searches forward from `from` (or backward from before it), wrapping around once; on a
    // worker thread when the source is pinned (which waits at `hold` first, when given), else
    // here, before the constructor returns.
    SearchJob(SearchSource source, std::shared_ptr<const Matcher> matcher, bool forward,
              std::size_t from, std::size_t piece = kPiece,
              std::shared_ptr<SearchHold> hold = nullptr);
    ~SearchJob();
    SearchJob(const SearchJob&) = delete;
    SearchJob& operator=(const SearchJob&) = delete;

    void stop();
    State state() const { return state_.load(); }
    // Share of the bytes looked at, 0 to 1.
    double progress() const;
    // Valid once the state is Found.
    Match match() const { return match_; }
    bool wrapped() const { return wrapped_; }

  private:
    void run();
    bool scan(std::size_t from, std::size_t to);

    std::shared_ptr<const void> pin_;
    std::string_view bytes_;
    bool mapped_;
    std::shared_ptr<const Matcher> matcher_;
    bool forward_;
    std::size_t from_;
    std::size_t piece_;
    std::shared_ptr<SearchHold> hold_;
    Match match_;
    bool wrapped_ = false;
    std::atomic<std::size_t> looked_{0};
    std::atomic<bool> stop_{false};
    std::atomic<State> state_{State::Running};
    std::thread thread_;
};

}  // namespace reda
