#pragma once
// Where each line of a log starts. Offsets are kept as their low 32 bits plus a short list
// of the lines where the high part steps up, so a line costs 4 bytes (8 while the vector
// grows) and files beyond 4 GiB still work.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace reda {

class LineIndex {
  public:
    // `lowBits` below 32 only serves to exercise the high-part bookkeeping on small data.
    explicit LineIndex(unsigned lowBits = 32);

    void clear();
    // Forgets every line and starts the first one at `base`: the index of a log's end, made
    // first so its last screen shows before the lines before `base` are counted.
    void startAt(std::uint64_t base);
    std::uint64_t base() const { return base_; }
    void reserve(std::size_t lines) { low_.reserve(lines); }

    // Makes this index, built from the start up to where `tail` begins, the index of the
    // whole: `tail`'s lines follow. This index must have been extended over the bytes up to
    // tail.base() and, where the byte before it is a lone CR, one byte more.
    void join(const LineIndex& tail);

    // Where an index of the end should start to hold at least `lines` lines, looking back at
    // most `maxBytes`: just past a line break, before a byte that ends no CR LF. With fewer
    // lines in reach, the earliest such start; 0 when there is none.
    static std::uint64_t tailStart(std::string_view data, std::size_t lines, std::size_t maxBytes);
    // The bytes an index of [0, start) must be extended over before join(): one more when
    // the byte before `start` is a lone CR, which waits for the next byte.
    static std::uint64_t headEnd(std::string_view data, std::uint64_t start);

    // Indexes data[scannedEnd(), data.size()), where `data` is the whole file so far. LF, CR LF
    // and a lone CR each end a line; a CR that is the last byte waits for the next byte,
    // since it may be the first half of CR LF.
    void extend(std::string_view data);

    // Lines with at least one byte or a terminator; a final terminator starts no empty line.
    std::size_t lineCount() const;
    // Lines that end with a terminator; the last line may still be growing.
    std::size_t completeLineCount() const;
    // Lines beyond the last start at the end of the data.
    std::uint64_t lineStart(std::size_t line) const;
    // Start of the next line (just past the terminator), or the end of the data for the last one.
    std::uint64_t lineLimit(std::size_t line) const;
    // The line holding byte `offset`; the last line for offsets at or beyond the end.
    std::size_t lineAt(std::uint64_t offset) const;

    std::uint64_t scannedEnd() const { return scanned_; }
    std::uint64_t longestLine() const { return longest_; }
    // Heap bytes held, for the memory-per-line figure.
    std::size_t memoryBytes() const;

  private:
    void push(std::uint64_t start);

    unsigned lowBits_;
    std::uint64_t lowMask_;
    std::vector<std::uint32_t> low_;
    // steps_[k] is the first line whose start has a high part above k.
    std::vector<std::size_t> steps_;
    std::uint64_t base_ = 0;     // where the first line starts
    std::uint64_t scanned_ = 0;  // where the next extend resumes
    std::uint64_t end_ = 0;      // bytes seen, including a pending CR
    std::uint64_t longest_ = 0;
};

}  // namespace reda
