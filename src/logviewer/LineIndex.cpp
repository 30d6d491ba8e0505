#include "LineIndex.h"

#include <algorithm>
#include <cstring>

namespace reda {

LineIndex::LineIndex(unsigned lowBits)
    : lowBits_(std::clamp(lowBits, 1u, 32u)), lowMask_((std::uint64_t{1} << lowBits_) - 1) {}

void LineIndex::clear() {
    low_.clear();
    low_.shrink_to_fit();
    steps_.clear();
    base_ = 0;
    scanned_ = 0;
    end_ = 0;
    longest_ = 0;
}

void LineIndex::startAt(std::uint64_t base) {
    clear();
    base_ = base;
    scanned_ = base;
    end_ = base;
}

void LineIndex::join(const LineIndex& tail) {
    if (low_.empty()) {
        push(base_);
    }
    low_.reserve(low_.size() + tail.low_.size());
    for (std::size_t line = 0; line < tail.low_.size(); ++line) {
        const std::uint64_t start = tail.lineStart(line);
        if (start > lineStart(low_.size() - 1)) {
            push(start);
        }
    }
    // The line that ends at the tail's base was measured here, the tail's lines there.
    longest_ = std::max(longest_, tail.longest_);
    scanned_ = tail.scanned_;
    end_ = tail.end_;
}

void LineIndex::push(std::uint64_t start) {
    const std::uint64_t high = start >> lowBits_;
    while (steps_.size() < high) {
        steps_.push_back(low_.size());
    }
    low_.push_back(static_cast<std::uint32_t>(start & lowMask_));
}

void LineIndex::extend(std::string_view data) {
    if (data.size() <= scanned_) {
        return;
    }
    const char* const base = data.data();
    const char* const end = base + data.size();
    const char* p = base + scanned_;
    if (low_.empty()) {
        push(base_);
    }
    std::uint64_t lastStart = lineStart(low_.size() - 1);

    auto find = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    const char* lf = find(p, '\n');
    const char* cr = find(p, '\r');
    for (;;) {
        const char* brk = std::min(lf, cr);
        if (brk == end) {
            p = end;
            break;
        }
        const char* next;
        if (brk == cr) {
            if (cr + 1 == end) {
                p = cr;  // the LF of a CR LF may still come
                break;
            }
            next = cr[1] == '\n' ? cr + 2 : cr + 1;
        } else {
            next = lf + 1;
        }
        const auto start = static_cast<std::uint64_t>(next - base);
        longest_ = std::max(longest_, start - lastStart);
        lastStart = start;
        push(start);
        if (lf < next) {
            lf = find(next, '\n');
        }
        if (cr < next) {
            cr = find(next, '\r');
        }
    }
    scanned_ = static_cast<std::uint64_t>(p - base);
    end_ = data.size();
    longest_ = std::max(longest_, static_cast<std::uint64_t>(data.size()) - lastStart);
}

std::uint64_t LineIndex::tailStart(std::string_view data, std::size_t lines, std::size_t maxBytes) {
    const std::size_t n = data.size();
    const std::size_t lowest = n > maxBytes ? n - maxBytes : 1;
    std::uint64_t earliest = 0;
    std::size_t found = 0;
    for (std::size_t s = n; s-- > std::max<std::size_t>(lowest, 1);) {
        const char before = data[s - 1];
        if (before == '\n' || (before == '\r' && data[s] != '\n')) {
            earliest = s;
            if (++found >= lines) {
                break;
            }
        }
    }
    return earliest;
}

std::uint64_t LineIndex::headEnd(std::string_view data, std::uint64_t start) {
    return start > 0 && start < data.size() && data[start - 1] == '\r' ? start + 1 : start;
}

std::size_t LineIndex::lineCount() const {
    if (low_.empty()) {
        return 0;
    }
    // The last start opens a line only once a byte follows it (a pending CR counts).
    return lineStart(low_.size() - 1) < end_ ? low_.size() : low_.size() - 1;
}

std::size_t LineIndex::completeLineCount() const {
    return low_.empty() ? 0 : low_.size() - 1;
}

std::uint64_t LineIndex::lineStart(std::size_t line) const {
    if (line >= low_.size()) {
        return end_;
    }
    const auto high = static_cast<std::uint64_t>(
        std::upper_bound(steps_.begin(), steps_.end(), line) - steps_.begin());
    return (high << lowBits_) | low_[line];
}

std::uint64_t LineIndex::lineLimit(std::size_t line) const {
    return line + 1 < low_.size() ? lineStart(line + 1) : end_;
}

std::size_t LineIndex::lineAt(std::uint64_t offset) const {
    if (low_.empty()) {
        return 0;
    }
    std::size_t lo = 0;
    std::size_t hi = low_.size();  // invariant: lineStart(lo) <= offset, answer < hi
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (lineStart(mid) <= offset) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return std::min(lo, lineCount() == 0 ? 0 : lineCount() - 1);
}

std::size_t LineIndex::memoryBytes() const {
    return low_.capacity() * sizeof(std::uint32_t) + steps_.capacity() * sizeof(std::size_t);
}

}  // namespace reda
