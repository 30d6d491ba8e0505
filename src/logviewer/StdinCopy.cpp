#include "StdinCopy.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>

#include <cstdlib>
#endif

namespace reda {

namespace {

// Runs detached: a read of standard input cannot be interrupted, and the process may end
// while it waits. It stops at the end of input or when the file is gone.
void copyAll(int input, std::FILE* out) {
    char buffer[1 << 16];
    for (;;) {
#ifdef _WIN32
        const int n = _read(input, buffer, sizeof buffer);
#else
        const ssize_t n = ::read(input, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
#endif
        if (n <= 0) {
            break;
        }
        if (std::fwrite(buffer, 1, static_cast<std::size_t>(n), out) !=
                static_cast<std::size_t>(n) ||
            std::fflush(out) != 0) {
            break;
        }
    }
    std::fclose(out);
}

}  // namespace

std::unique_ptr<StdinCopy> StdinCopy::start(const std::filesystem::path& folder, std::string& error,
                                            int input) {
#ifdef _WIN32
    _setmode(input, _O_BINARY);
    std::filesystem::path path =
        folder / ("REDA-stdin-" + std::to_string(static_cast<unsigned long>(_getpid())) + ".log");
    std::FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) {
        error = std::generic_category().message(errno);
        return nullptr;
    }
#else
    std::string name = (folder / "REDA-stdin-XXXXXX.log").string();
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) {
        error = std::generic_category().message(errno);
        return nullptr;
    }
    std::FILE* out = ::fdopen(fd, "wb");
    if (out == nullptr) {
        error = std::generic_category().message(errno);
        ::close(fd);
        ::unlink(name.c_str());
        return nullptr;
    }
    std::filesystem::path path(name);
#endif
    std::unique_ptr<StdinCopy> copy(new StdinCopy(path));
    std::thread(copyAll, input, out).detach();
    return copy;
}

StdinCopy::~StdinCopy() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
}

}  // namespace reda
