#pragma once
// The bytes of one opened file, either memory-mapped or copied into memory. Internal to
// LogFile; kept apart so the platform code stays in one place.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace reda {

struct FileStamp {
    bool exists = false;
    bool regular = false;
    bool hasIdentity = false;  // device and inode are known
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t modified = 0;  // in the platform's units; only compared for change

    bool sameFile(const FileStamp& other) const {
        return !hasIdentity || !other.hasIdentity ||
               (device == other.device && inode == other.inode);
    }
};

FileStamp statPath(const std::filesystem::path& path);

// release() for bytes of a mapping that pin() keeps, from any thread.
void releaseMappedPages(std::string_view bytes);

class FileBytes {
  public:
    virtual ~FileBytes() = default;

    // Null with `error` set when the file cannot be opened.
    static std::unique_ptr<FileBytes> open(bool mapped, const std::filesystem::path& path,
                                           std::string& error);
    // A gzip file, unpacked into memory once; it does not grow, so resize() keeps its bytes.
    // Null with `error` set when it cannot be read or is no gzip data.
    static std::unique_ptr<FileBytes> openGzip(const std::filesystem::path& path,
                                               std::string& error);

    // Makes bytes() cover [0, size). Returns false with `error` set when that failed; the
    // previous bytes stay valid then.
    virtual bool resize(std::uint64_t size, std::string& error) = 0;
    virtual std::string_view bytes() const = 0;
    // Identity of the opened file, to tell a replaced file at the same path.
    virtual const FileStamp& stamp() const = 0;
    // The file's current bytes at [offset, offset + length), read afresh where the held
    // bytes are a copy; shorter when the file is shorter.
    virtual std::string current(std::uint64_t offset, std::size_t length) const = 0;

    // Keeps the bytes bytes() gives now readable, also after a later resize, for as long as
    // the result lives: a worker thread reads them while the window follows the file.
    virtual std::shared_ptr<const void> pin() const = 0;
    // True for a file mapping, whose pages release() gives back; false for a copy in memory.
    virtual bool isMapping() const { return false; }
    // The pages of [offset, offset + length) are not needed for now: they leave this
    // process's resident memory and are read again from the file when touched.
    virtual void release(std::uint64_t offset, std::uint64_t length) const = 0;
};

}  // namespace reda
