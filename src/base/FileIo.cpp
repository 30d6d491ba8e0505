#include "base/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

#include "base/TextEncoding.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace kestrune {
namespace fs = std::filesystem;

namespace {

// Pieces smaller than this are gathered before they reach the file.
constexpr std::size_t kWriteChunk = std::size_t{1} << 16;

std::string Reason(int error) {
    return std::strerror(error);
}

std::string CannotCreate(const std::string& path, int error) {
    return "Cannot create file \"" + path + "\". " + Reason(error);
}

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "Cannot read file \"" + path + "\". " + reason;
}

std::string TemporaryNameFor(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                  static_cast<unsigned long long>(generator()));
    return path + suffix;
}

#ifndef _WIN32

// Under a file-size limit the kernel kills a writer with SIGXFSZ; ignored, the write fails
// with EFBIG instead and is reported like any other write error. A handler someone else
// installed is left alone.
void IgnoreFileSizeSignal() {
    static const bool ignored = [] {
        struct sigaction current {};
        if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            std::signal(SIGXFSZ, SIG_IGN);
        }
        return true;
    }();
    (void)ignored;
}

// The file a chain of symbolic links ends at (which need not exist yet); saving through a
// link must change the file the link names, not turn the link into a file of its own.
std::string FollowLinks(const std::string& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            break;
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            break;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

// Makes a rename durable: without this a power cut can bring back the old directory entry.
void SyncFolderOf(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The file is already in place; a folder that cannot be synced (some file systems
        // refuse) changes nothing the user could act on.
        (void)fsync(fd);
        close(fd);
    }
}

#endif

}  // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    return fs::is_regular_file(PathFromUtf8(path), ec);
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(PathFromUtf8(path), ec);
}

bool EnsureFolder(const std::string& path) noexcept {
    try {
        const fs::path folder = PathFromUtf8(path);
        std::error_code ec;
        if (fs::is_directory(folder, ec)) {
            return true;
        }
        fs::create_directories(folder, ec);
        return !ec;
    } catch (...) {
        // Only the path's own memory can fail here.
        return false;
    }
}

#ifndef _WIN32

std::string ReadFileBytes(const std::string& path) {
    // Non-blocking, so that opening a pipe returns at once instead of waiting for a writer;
    // the flag means nothing for the regular files read below.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        throw IoError("Cannot open file \"" + path + "\". " + Reason(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};

    struct stat info {};
    if (fstat(fd, &info) != 0) {
        throw IoError(CannotRead(path, Reason(errno)));
    }
    if (S_ISDIR(info.st_mode)) {
        throw IoError(CannotRead(path, Reason(EISDIR)));
    }
    if (!S_ISREG(info.st_mode)) {
        throw IoError(CannotRead(path, "Not a regular file"));
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxReadBytes) {
        throw IoError(CannotRead(path, Reason(EFBIG)));
    }

    std::string bytes;
    // One byte more than the size seen, so that a file that did not grow is read in one call
    // and its end is seen by the next.
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (bytes.size() > kMaxReadBytes) {
                throw IoError(CannotRead(path, Reason(EFBIG)));
            }
            bytes.resize(std::min(bytes.size() * 2, kMaxReadBytes + 1));
        }
        const ssize_t n = read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(CannotRead(path, Reason(errno)));
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return bytes;
}

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
    IgnoreFileSizeSignal();
    target_ = FollowLinks(path_);
    struct stat previous {};
    const bool replacing = stat(target_.c_str(), &previous) == 0;
    if (replacing && S_ISDIR(previous.st_mode)) {
        throw IoError(CannotCreate(path_, EISDIR));
    }
    const bool keepRights = replacing && S_ISREG(previous.st_mode);

    // A file that replaces another stays private until it has the other's rights; a new file
    // gets the usual rights the process's umask allows.
    const mode_t creationMode = keepRights ? 0600 : 0666;
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = TemporaryNameFor(target_);
        fd_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode);
        if (fd_ < 0 && (errno != EEXIST || attempt == 8)) {
            const int error = errno;
            temporary_.clear();
            throw IoError(CannotCreate(path_, error));
        }
    }
    if (keepRights) {
        mode_t mode = previous.st_mode & 07777;
        if (fchown(fd_, previous.st_uid, previous.st_gid) != 0) {
            // Only root may give a file away; a member of the file's group may still keep it.
            // Rights meant for a group the file could not keep are not handed to another one.
            (void)fchown(fd_, static_cast<uid_t>(-1), previous.st_gid);
            struct stat now {};
            if (fstat(fd_, &now) != 0 || now.st_gid != previous.st_gid) {
                mode &= ~static_cast<mode_t>(070);
            }
        }
        if (fchmod(fd_, mode) != 0) {
            Fail(errno);
        }
    }
}

ReplacingFile::~ReplacingFile() {
    Discard();
}

void ReplacingFile::Discard() noexcept {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

void ReplacingFile::Fail(int error) {
    Discard();
    throw IoError("Cannot write file \"" + path_ + "\". " + Reason(error != 0 ? error : EIO));
}

void ReplacingFile::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail(n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void ReplacingFile::Write(std::string_view bytes) {
    if (fd_ < 0) {
        throw IoError("Cannot write file \"" + path_ + "\". " + Reason(EBADF));
    }
    if (buffer_.size() + bytes.size() > kWriteChunk) {
        Flush();
    }
    if (bytes.size() >= kWriteChunk) {
        buffer_.assign(bytes);
        Flush();
    } else {
        buffer_.append(bytes);
    }
}

void ReplacingFile::Commit() {
    if (fd_ < 0) {
        throw IoError("Cannot write file \"" + path_ + "\". " + Reason(EBADF));
    }
    Flush();
    // The data must be on the disk before the name points at it; otherwise a crash right
    // after the rename can leave an empty file where the old one was.
    if (fsync(fd_) != 0 && errno != EINVAL) {
        Fail(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 && errno != EINTR) {
        Fail(errno);
    }
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        Discard();
        throw IoError(CannotCreate(path_, error));
    }
    temporary_.clear();
    SyncFolderOf(target_);
}

#else  // _WIN32: no pipes or links to guard against in the same way; rights follow the folder.

std::string ReadFileBytes(const std::string& path) {
    const fs::path name = PathFromUtf8(path);
    std::error_code ec;
    if (fs::is_directory(name, ec)) {
        throw IoError(CannotRead(path, Reason(EISDIR)));
    }
    std::FILE* file = _wfopen(name.c_str(), L"rb");
    if (file == nullptr) {
        throw IoError("Cannot open file \"" + path + "\". " + Reason(errno));
    }
    std::string bytes;
    char chunk[kWriteChunk];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + n > kMaxReadBytes) {
            std::fclose(file);
            throw IoError(CannotRead(path, Reason(EFBIG)));
        }
        bytes.append(chunk, n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        throw IoError(CannotRead(path, Reason(EIO)));
    }
    return bytes;
}

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)), target_(path_) {
    if (FolderExists(path_)) {
        throw IoError(CannotCreate(path_, EISDIR));
    }
    temporary_ = TemporaryNameFor(target_);
    std::FILE* file = _wfopen(PathFromUtf8(temporary_).c_str(), L"wbx");
    if (file == nullptr) {
        const int error = errno;
        temporary_.clear();
        throw IoError(CannotCreate(path_, error));
    }
    std::fclose(file);
    fd_ = 0;
}

ReplacingFile::~ReplacingFile() {
    Discard();
}

void ReplacingFile::Discard() noexcept {
    fd_ = -1;
    if (!temporary_.empty()) {
        _wremove(PathFromUtf8(temporary_).c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

void ReplacingFile::Fail(int error) {
    Discard();
    throw IoError("Cannot write file \"" + path_ + "\". " + Reason(error != 0 ? error : EIO));
}

void ReplacingFile::Flush() {
    std::FILE* file = _wfopen(PathFromUtf8(temporary_).c_str(), L"ab");
    if (file == nullptr) {
        Fail(errno);
    }
    const bool written = std::fwrite(buffer_.data(), 1, buffer_.size(), file) == buffer_.size();
    const int error = errno;
    if (std::fclose(file) != 0 || !written) {
        Fail(error);
    }
    buffer_.clear();
}

void ReplacingFile::Write(std::string_view bytes) {
    if (fd_ < 0) {
        throw IoError("Cannot write file \"" + path_ + "\". " + Reason(EBADF));
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kWriteChunk) {
        Flush();
    }
}

void ReplacingFile::Commit() {
    if (fd_ < 0) {
        throw IoError("Cannot write file \"" + path_ + "\". " + Reason(EBADF));
    }
    Flush();
    std::error_code ec;
    fs::rename(PathFromUtf8(temporary_), PathFromUtf8(target_), ec);
    if (ec) {
        Discard();
        throw IoError(CannotCreate(path_, ec.value()));
    }
    temporary_.clear();
    fd_ = -1;
}

#endif

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    ReplacingFile file(path);
    file.Write(bytes);
    file.Commit();
}

void MakeExecutableByOwner(const std::string& path) {
#ifndef _WIN32
    std::error_code ec;
    fs::permissions(PathFromUtf8(path), fs::perms::owner_exec, fs::perm_options::add, ec);
    if (ec) {
        throw IoError(path + ": " + ec.message());
    }
#else
    (void)path;
#endif
}

std::string ReadSharedTextFile(const std::string& path) {
    return SharedTextToUtf8(ReadFileBytes(path));
}

std::string SharedTextBytes(const std::string& path, std::string_view text) {
    UnstorableCharacter unstorable;
    std::optional<std::string> bytes = SharedTextFromUtf8(text, &unstorable);
    if (!bytes) {
        throw IoError("Cannot write file \"" + path + "\". Line " +
                      std::to_string(unstorable.line) + " holds \"" + unstorable.character +
                      "\", a character the system's code page cannot hold: " + unstorable.lineText);
    }
    return std::move(*bytes);
}

void WriteSharedTextFile(const std::string& path, std::string_view text) {
    WriteFileReplacing(path, SharedTextBytes(path, text));
}

}  // namespace kestrune
