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
    };

    static Backing defaultBacking();

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

  private:
    Change reopen(bool wasOpen);

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
};

}  // namespace reda
