#pragma once
// A log that another process is writing: its bytes (memory-mapped where the platform allows
// it), its line index, and the polling that notices appends, truncation and replacement.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "LineIndex.h"

namespace reda {

class FileBytes;

class LogFile {
  public:
    // Mapped keeps the file memory-mapped; Copied reads it into memory piece by piece and
    // holds no handle between polls (Windows, where a mapping would stop the tools from
    // truncating their log, and a fallback where mapping fails).
    enum class Backing { Mapped, Copied };
    enum class Change {
        None,      // nothing new
        Appeared,  // the file exists now (first bytes, if any, are indexed)
        Appended,  // more bytes were indexed
        Reloaded,  // truncated or replaced: read again from the start
        Vanished,  // the file is gone; what was read stays shown
        Failed,    // it exists but cannot be read; see error()
        Indexed,   // the lines before the end shown first are counted: see linesJoined()
    };

    static Backing defaultBacking();

    // Logs of at least this many bytes show their end first: the last lines are indexed at
    // once and the lines before them on a worker thread, so the window need not wait.
    static constexpr std::uint64_t kEndFirstBytes = 8u << 20;
    // Lines indexed at once at the end, and how far back to look for them.
    static constexpr std::size_t kEndFirstLines = 4000;
    static constexpr std::size_t kEndFirstReach = 16u << 20;
    // Bytes the worker indexes between looks at whether it should stop.
    static constexpr std::size_t kIndexPiece = 16u << 20;

    explicit LogFile(Backing backing = defaultBacking());
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Forgets the current file and starts watching `path`; call poll() to read it.
    void setPath(std::filesystem::path path);
    const std::filesystem::path& path() const { return path_; }
    Change poll();

    bool isOpen() const;
    std::string_view bytes() const;
    const LineIndex& index() const { return index_; }
    std::size_t lineCount() const { return index_.lineCount(); }
    // A line's bytes without its terminator.
    std::string_view line(std::size_t line) const;
    const std::string& error() const { return error_; }

    // A .gz log is unpacked once and not followed.
    bool isCompressed() const;

    // False while the lines before the end shown first are still being counted; line
    // numbers then count from the first line indexed.
    bool indexComplete() const;
    // Bytes of that count done, and to do.
    std::uint64_t headIndexed() const;
    std::uint64_t headBytes() const { return headEnd_; }
    // After Indexed: how many lines came before those indexed first.
    std::size_t linesJoined() const { return linesJoined_; }
    void setEndFirstBytes(std::uint64_t bytes) { endFirstBytes_ = bytes; }

    // The pages of [from, to) leave resident memory until touched again.
    void release(std::uint64_t from, std::uint64_t to) const;
    // Keeps bytes() readable on another thread, a mapping's or a copy's; null when no file
    // is open.
    std::shared_ptr<const void> pin() const;
    // The bytes are a file mapping, whose pages release() gives back (else a copy in memory).
    bool isMapped() const;

  private:
    struct HeadWorker;

    Change reopen(bool wasOpen);
    void startHeadWorker();
    void extendIndex();
    void stopHeadWorker();

    Backing backing_;
    std::filesystem::path path_;
    std::unique_ptr<FileBytes> file_;
    LineIndex index_;
    std::string error_;
    // The bytes just before the indexed end: if they change, the file was rewritten even
    // when it has grown past its old size between two polls.
    std::string tail_;
    // The first bytes and the modification time, to tell a rewrite to the same size.
    std::string head_;
    std::int64_t modified_ = 0;
    bool vanished_ = false;
    std::uint64_t endFirstBytes_ = kEndFirstBytes;
    std::unique_ptr<HeadWorker> worker_;
    std::uint64_t headEnd_ = 0;
    std::size_t linesJoined_ = 0;
};

}  // namespace reda
