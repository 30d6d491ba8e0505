#include "base/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace kestrune {
namespace fs = std::filesystem;

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

std::string CannotCreate(const std::string& path, int error) {
    return "Cannot create file \"" + path + "\". " + Reason(error);
}

std::string TemporaryNameFor(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                  static_cast<unsigned long long>(generator()));
    return path + suffix;
}

}  // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool EnsureFolder(const std::string& path) noexcept {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return true;
    }
    fs::create_directories(path, ec);
    return !ec;
}

std::string ReadFileBytes(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw IoError("Cannot open file \"" + path + "\". " + Reason(errno));
    }
    std::string bytes;
    // Reading straight into a buffer of the file's size avoids copying large files around;
    // a file that grows or shrinks meanwhile is still read to its end.
    std::error_code sizeError;
    const std::uintmax_t expected = fs::file_size(path, sizeError);
    std::size_t used = 0;
    bytes.resize(sizeError ? std::size_t{1} << 16 : static_cast<std::size_t>(expected) + 1);
    for (;;) {
        const std::size_t n = std::fread(bytes.data() + used, 1, bytes.size() - used, file);
        used += n;
        if (used < bytes.size()) {
            break;
        }
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(used);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        throw IoError("Cannot read file \"" + path + "\". " + Reason(error != 0 ? error : EIO));
    }
    return bytes;
}

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
    if (FolderExists(path_)) {
        throw IoError(CannotCreate(path_, EISDIR));
    }
    temporary_ = TemporaryNameFor(path_);
    errno = 0;
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
        throw IoError(CannotCreate(path_, errno));
    }
}

ReplacingFile::~ReplacingFile() {
    Discard();
}

void ReplacingFile::Discard() noexcept {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
}

void ReplacingFile::Fail(int error) {
    Discard();
    throw IoError("Cannot write file \"" + path_ + "\". " + Reason(error != 0 ? error : EIO));
}

void ReplacingFile::Write(std::string_view bytes) {
    if (file_ == nullptr) {
        throw IoError("Cannot write file \"" + path_ + "\". " + Reason(EBADF));
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        Fail(errno);
    }
}

void ReplacingFile::Commit() {
    if (file_ == nullptr) {
        throw IoError("Cannot write file \"" + path_ + "\". " + Reason(EBADF));
    }
    errno = 0;
    if (std::fflush(file_) != 0) {
        Fail(errno);
    }
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(file) != 0) {
        Fail(errno);
    }
    std::error_code ec;
    fs::rename(temporary_, path_, ec);
    if (ec) {
        Discard();
        throw IoError(CannotCreate(path_, ec.value()));
    }
    temporary_.clear();
}

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    ReplacingFile file(path);
    file.Write(bytes);
    file.Commit();
}

void MakeExecutableByOwner(const std::string& path) {
#ifndef _WIN32
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_exec, fs::perm_options::add, ec);
    if (ec) {
        throw IoError(path + ": " + ec.message());
    }
#else
    (void)path;
#endif
}

}  // namespace kestrune
