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

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    if (FolderExists(path)) {
        throw IoError(CannotCreate(path, EISDIR));
    }
    const std::string temporary = TemporaryNameFor(path);
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        throw IoError(CannotCreate(path, errno));
    }
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    int error = written == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
    if (std::fflush(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (error != 0) {
        std::remove(temporary.c_str());
        throw IoError("Cannot write file \"" + path + "\". " + Reason(error));
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        throw IoError(CannotCreate(path, ec.value()));
    }
}

}  // namespace kestrune
