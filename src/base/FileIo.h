#pragma once
// File access for the core. Paths are UTF-8 (see base/TextEncoding.h). Failures on files that exist
// come back as one exception type, IoError, which the command handlers catch and show; nothing else
// throws across subsystems.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrune {

class IoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// No file the system reads is anywhere near this; a bigger one is refused before it fills
// the memory.
inline constexpr std::size_t kMaxReadBytes = std::size_t{256} << 20;

// True when a regular file exists at `path` (after following symbolic links). Folders, pipes
// and devices count as missing, so no reader ever blocks on them or reads them without end.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder when it is missing; returns false when that failed.
bool EnsureFolder(const std::string& path) noexcept;

// The whole file as bytes. Throws IoError with the platform's reason when it cannot be read,
// is not a regular file, or is larger than kMaxReadBytes.
std::string ReadFileBytes(const std::string& path);

// A file written piece by piece into a temporary file beside `path` and renamed over it by
// Commit, so a failed write or a crash leaves either the previous file or the new one. The new
// file keeps the previous one's permission bits (and owner where allowed); a symbolic link is
// followed and the file it names is replaced. Every failure throws IoError with the
// platform's reason; without Commit the temporary file is removed.
class ReplacingFile {
  public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();

  private:
    void Discard() noexcept;
    void Flush();
    [[noreturn]] void Fail(int error);

    std::string path_;    // as given, for messages
    std::string target_;  // the file replaced: `path_` with its symbolic links followed
    std::string temporary_;
    std::string buffer_;
    int fd_ = -1;
};

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so a failed
// write leaves the previous file untouched. Throws IoError with the platform's reason.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

// The text files the user's tools and earlier versions share (specifications, tool path files,
// presets, settings): on disk in the system's code page on Windows (bytes elsewhere), in the
// core UTF-8. The one place that decides it, so every reader and writer of them agrees.
// ReadSharedTextFile throws IoError as ReadFileBytes does.
std::string ReadSharedTextFile(const std::string& path);
// `text` as such a file holds it. A character the code page cannot hold is never replaced by a
// guess: IoError names the file, the line and the character, and nothing is written.
std::string SharedTextBytes(const std::string& path, std::string_view text);
// Written as WriteFileReplacing writes, after SharedTextBytes.
void WriteSharedTextFile(const std::string& path, std::string_view text);

// Lets the file's owner run it (a shell script); nothing on Windows. Throws IoError.
void MakeExecutableByOwner(const std::string& path);

}  // namespace kestrune
