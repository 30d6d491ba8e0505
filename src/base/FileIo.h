#pragma once
// File access for the core. Failures on files that exist come back as one exception type,
// IoError, which the command handlers catch and show; nothing else throws across subsystems.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrune {

class IoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// True when something other than a folder exists at `path`.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder when it is missing; returns false when that failed.
bool EnsureFolder(const std::string& path) noexcept;

// The whole file as bytes. Throws IoError with the platform's reason when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// A file written piece by piece into a temporary file beside `path` and renamed over it by
// Commit, so a failed write leaves the previous file untouched. Every failure throws IoError
// with the platform's reason; without Commit the temporary file is removed.
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
    [[noreturn]] void Fail(int error);

    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so a failed
// write leaves the previous file untouched. Throws IoError with the platform's reason.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

// Lets the file's owner run it (a shell script); nothing on Windows. Throws IoError.
void MakeExecutableByOwner(const std::string& path);

}  // namespace kestrune
