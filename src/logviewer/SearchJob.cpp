#include "SearchJob.h"

#include <algorithm>

#include "FileBytes.h"

namespace reda {

std::optional<Match> TextMatcher::first(std::string_view bytes, std::size_t from,
                                        std::size_t to) const {
    // The bytes just past `to` still tell whether a match ends a word.
    const std::string_view hay = bytes.substr(0, std::min(bytes.size(), to + finder_.size()));
    const std::size_t at = finder_.next(hay, from);
    if (at == TextFinder::npos || at >= to) {
        return std::nullopt;
    }
    return Match{at, finder_.size()};
}

std::optional<Match> TextMatcher::last(std::string_view bytes, std::size_t from,
                                       std::size_t to) const {
    // One byte before `from` tells whether a match there starts a word.
    const std::size_t low = from > 0 ? from - 1 : 0;
    const std::size_t high = std::min(bytes.size(), to + finder_.size());
    if (high <= low) {
        return std::nullopt;
    }
    const std::string_view hay = bytes.substr(low, high - low);
    const std::size_t at = finder_.previous(hay, to - low);
    if (at == TextFinder::npos || low + at < from) {
        return std::nullopt;
    }
    return Match{low + at, finder_.size()};
}

void SearchHold::release() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        held_ = false;
    }
    changed_.notify_all();
}

void SearchHold::wait(const std::atomic<bool>& stop) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !held_ || stop.load(); });
}

void SearchHold::wake() {
    // Taken and left, so a worker between its look at `stop` and its wait hears this.
    { const std::lock_guard<std::mutex> lock(mutex_); }
    changed_.notify_all();
}

SearchJob::SearchJob(SearchSource source, std::shared_ptr<const Matcher> matcher, bool forward,
                     std::size_t from, std::size_t piece, std::shared_ptr<SearchHold> hold)
    : pin_(std::move(source.pin)),
      bytes_(source.bytes),
      mapped_(source.mapped),
      matcher_(std::move(matcher)),
      forward_(forward),
      from_(std::min(from, source.bytes.size())),
      piece_(std::max<std::size_t>(piece, 1)),
      hold_(std::move(hold)) {
    if (pin_) {
        thread_ = std::thread([this] {
            if (hold_) {
                hold_->wait(stop_);
            }
            run();
        });
    } else {
        run();
    }
}

SearchJob::~SearchJob() {
    stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SearchJob::stop() {
    stop_.store(true);
    if (hold_) {
        hold_->wake();
    }
}

double SearchJob::progress() const {
    return bytes_.empty()
               ? 1.0
               : static_cast<double>(looked_.load()) / static_cast<double>(bytes_.size());
}

bool SearchJob::scan(std::size_t from, std::size_t to) {
    const std::size_t n = to - from;
    for (std::size_t done = 0; done < n;) {
        if (stop_.load()) {
            return false;
        }
        const std::size_t piece = std::min(piece_, n - done);
        const std::size_t low = forward_ ? from + done : to - done - piece;
        const std::optional<Match> found = forward_ ? matcher_->first(bytes_, low, low + piece)
                                                    : matcher_->last(bytes_, low, low + piece);
        if (mapped_) {
            releaseMappedPages(bytes_.substr(low, piece));
        }
        done += piece;
        looked_.fetch_add(piece);
        if (found) {
            match_ = *found;
            return true;
        }
    }
    return false;
}

void SearchJob::run() {
    // Forward: from the start point to the end, then from the top up to the start point;
    // backward the other way round.
    bool found = forward_ ? scan(from_, bytes_.size()) : scan(0, from_);
    if (!found && !stop_.load()) {
        wrapped_ = true;
        found = forward_ ? scan(0, from_) : scan(from_, bytes_.size());
    }
    state_.store(found ? State::Found : (stop_.load() ? State::Stopped : State::NotFound));
}

}  // namespace reda
