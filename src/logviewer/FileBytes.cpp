#include "FileBytes.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#define REDA_HAVE_MMAP 1
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#endif

namespace reda {

namespace {

// Used by the mapped backing only, which Windows builds leave out.
[[maybe_unused]] std::string describe(int error) {
    return std::generic_category().message(error);
}

// Copies the file into memory, reading only what was appended since the last resize, and
// holds no handle in between so the writer may truncate, rename or delete it at will.
// A worker may read a pinned copy while the file grows: an append goes in place only past
// the pinned bytes and within the buffer's room; a cut, or growth beyond the room, makes a
// fresh buffer and leaves the pinned one to the worker until it lets go.
class CopiedBytes final : public FileBytes {
  public:
    CopiedBytes(std::filesystem::path path, FileStamp stamp)
        : path_(std::move(path)), stamp_(stamp), data_(std::make_shared<std::string>()) {}

    bool resize(std::uint64_t size, std::string& error) override {
        const bool pinned = data_.use_count() > 1;
        if (size <= data_->size()) {
            if (pinned) {
                data_ = std::make_shared<std::string>(*data_, 0, static_cast<std::size_t>(size));
            } else {
                data_->resize(static_cast<std::size_t>(size));
            }
            return true;
        }
        std::ifstream in(path_, std::ios::binary);
        if (!in) {
            error = "cannot be opened";
            return false;
        }
        const std::size_t old = data_->size();
        try {
            if (pinned && size > data_->capacity()) {
                auto fresh = std::make_shared<std::string>();
                fresh->reserve(
                    std::max<std::size_t>(static_cast<std::size_t>(size), data_->capacity() * 2));
                fresh->assign(*data_);
                data_ = std::move(fresh);
            }
            data_->resize(static_cast<std::size_t>(size));
        } catch (const std::bad_alloc&) {
            data_->resize(old);
            error = "does not fit into memory";
            return false;
        }
        in.seekg(static_cast<std::streamoff>(old));
        in.read(data_->data() + old, static_cast<std::streamsize>(size - old));
        // A file cut while reading keeps what was read; the next poll sees the new size.
        data_->resize(old + static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
        return true;
    }

    std::string_view bytes() const override { return *data_; }
    const FileStamp& stamp() const override { return stamp_; }
    std::shared_ptr<const void> pin() const override { return data_; }
    void release(std::uint64_t, std::uint64_t) const override {}

    std::string current(std::uint64_t offset, std::size_t length) const override {
        std::string out(length, '\0');
        std::ifstream in(path_, std::ios::binary);
        if (!in.seekg(static_cast<std::streamoff>(offset))) {
            return {};
        }
        in.read(out.data(), static_cast<std::streamsize>(length));
        out.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
        return out;
    }

  private:
    std::filesystem::path path_;
    FileStamp stamp_;
    // Shared with the workers that pinned it.
    std::shared_ptr<std::string> data_;
};

// A compressed log, unpacked whole: it is read once and not followed, so a worker may read
// it as long as it holds a pin, also after the log was read again.
class InflatedBytes final : public FileBytes {
  public:
    InflatedBytes(std::string data, FileStamp stamp)
        : data_(std::make_shared<const std::string>(std::move(data))), stamp_(stamp) {}
    bool resize(std::uint64_t, std::string&) override { return true; }
    std::string_view bytes() const override { return *data_; }
    const FileStamp& stamp() const override { return stamp_; }
    std::string current(std::uint64_t offset, std::size_t length) const override {
        return offset >= data_->size() ? std::string()
                                       : data_->substr(static_cast<std::size_t>(offset), length);
    }
    std::shared_ptr<const void> pin() const override { return data_; }
    void release(std::uint64_t, std::uint64_t) const override {}

  private:
    std::shared_ptr<const std::string> data_;
    FileStamp stamp_;
};

#ifdef REDA_HAVE_MMAP

// A writer may truncate the file while it is mapped; touching a mapped page beyond the new
// end raises SIGBUS. The handler puts a zero page over the faulting page of one of our
// mappings, so the view briefly shows NULs until the next poll reloads the file.
constexpr int kGuardSlots = 64;
std::atomic<std::uintptr_t> guardBase[kGuardSlots];
std::atomic<std::uintptr_t> guardLength[kGuardSlots];
struct sigaction previousBusAction;
std::uintptr_t pageSize = 4096;

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (int i = 0; i < kGuardSlots; ++i) {
        const std::uintptr_t base = guardBase[i].load();
        if (base != 0 && address >= base && address - base < guardLength[i].load()) {
            void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
            if (mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
                MAP_FAILED) {
                return;
            }
            break;
        }
    }
    if ((previousBusAction.sa_flags & SA_SIGINFO) != 0 && previousBusAction.sa_sigaction) {
        previousBusAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN) {
        previousBusAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
}

void installBusGuard() {
    static std::once_flag once;
    std::call_once(once, [] {
        const long size = sysconf(_SC_PAGESIZE);
        if (size > 0) {
            pageSize = static_cast<std::uintptr_t>(size);
        }
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &previousBusAction);
    });
}

int guardMapping(const void* base, std::size_t length) {
    for (int i = 0; i < kGuardSlots; ++i) {
        std::uintptr_t expected = 0;
        if (guardBase[i].load() == 0) {
            guardLength[i].store(length);
            if (guardBase[i].compare_exchange_strong(expected,
                                                     reinterpret_cast<std::uintptr_t>(base))) {
                return i;
            }
        }
    }
    return -1;  // unguarded: only a truncation race could hurt, as with any mapping
}

void unguardMapping(int slot) {
    if (slot >= 0) {
        guardBase[slot].store(0);
        guardLength[slot].store(0);
    }
}

FileStamp stampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.hasIdentity = true;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
#ifdef __APPLE__
    const struct timespec& modified = st.st_mtimespec;
#else
    const struct timespec& modified = st.st_mtim;
#endif
    stamp.modified = static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
    return stamp;
}

// One mapping of the file; unmapped when the last holder lets go.
class Mapping {
  public:
    Mapping(const char* base, std::size_t length)
        : base_(base), length_(length), slot_(guardMapping(base, length)) {}
    ~Mapping() {
        unguardMapping(slot_);
        munmap(const_cast<char*>(base_), length_);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;

    const char* base() const { return base_; }
    std::size_t length() const { return length_; }

  private:
    const char* base_;
    std::size_t length_;
    int slot_;
};

class MappedBytes final : public FileBytes {
  public:
    bool isMapping() const override { return true; }
    MappedBytes(int fd, FileStamp stamp) : fd_(fd), stamp_(stamp) {}
    ~MappedBytes() override {
        mapping_.reset();
        ::close(fd_);
    }

    bool resize(std::uint64_t size, std::string& error) override {
        if (size == length()) {
            return true;
        }
        if (size > static_cast<std::uint64_t>(SIZE_MAX)) {
            error = "is too large to map";
            return false;
        }
        std::shared_ptr<Mapping> fresh;
        if (size > 0) {
            void* base =
                mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd_, 0);
            if (base == MAP_FAILED) {
                error = describe(errno);
                return false;
            }
            fresh = std::make_shared<Mapping>(static_cast<const char*>(base),
                                              static_cast<std::size_t>(size));
        }
        mapping_ = std::move(fresh);
        return true;
    }

    std::string_view bytes() const override {
        return mapping_ ? std::string_view(mapping_->base(), mapping_->length())
                        : std::string_view{};
    }
    const FileStamp& stamp() const override { return stamp_; }

    std::string current(std::uint64_t offset, std::size_t length) const override {
        const std::string_view all = bytes();
        if (offset >= all.size()) {
            return {};
        }
        return std::string(all.substr(static_cast<std::size_t>(offset), length));
    }

    std::shared_ptr<const void> pin() const override { return mapping_; }

    void release(std::uint64_t offset, std::uint64_t length) const override {
        const std::string_view all = bytes();
        if (offset < all.size()) {
            releaseMappedPages(all.substr(
                static_cast<std::size_t>(offset),
                static_cast<std::size_t>(std::min<std::uint64_t>(length, all.size() - offset))));
        }
    }

  private:
    std::size_t length() const { return mapping_ ? mapping_->length() : 0; }

    int fd_;
    FileStamp stamp_;
    std::shared_ptr<Mapping> mapping_;
};

#endif

}  // namespace

void releaseMappedPages(std::string_view bytes) {
#ifdef REDA_HAVE_MMAP
    // Whole pages only: the pages at either end may hold bytes still in use.
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t first = (begin + pageSize - 1) & ~(pageSize - 1);
    const std::uintptr_t last = (begin + bytes.size()) & ~(pageSize - 1);
    if (last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
#else
    (void)bytes;
#endif
}

FileStamp statPath(const std::filesystem::path& path) {
#ifdef REDA_HAVE_MMAP
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {};
    }
    return stampOf(st);
#else
    FileStamp stamp;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        return stamp;
    }
    stamp.exists = true;
    stamp.regular = std::filesystem::is_regular_file(status);
    if (stamp.regular) {
        const auto size = std::filesystem::file_size(path, ec);
        stamp.size = ec ? 0 : size;
        const auto modified = std::filesystem::last_write_time(path, ec);
        stamp.modified = ec ? 0 : static_cast<std::int64_t>(modified.time_since_epoch().count());
    }
    return stamp;
#endif
}

std::unique_ptr<FileBytes> FileBytes::openGzip(const std::filesystem::path& path,
                                               std::string& error) {
    const FileStamp stamp = statPath(path);
    if (!stamp.exists || !stamp.regular) {
        error = stamp.exists ? "is not a regular file" : "does not exist";
        return nullptr;
    }
#ifdef _WIN32
    // The UTF-16 name: a narrow one would be read in the ANSI code page.
    gzFile in = gzopen_w(path.c_str(), "rb");
#else
    gzFile in = gzopen(path.c_str(), "rb");
#endif
    if (in == nullptr) {
        error = "cannot be opened";
        return nullptr;
    }
    std::string data;
    char buffer[1 << 16];
    for (;;) {
        const int n = gzread(in, buffer, sizeof buffer);
        if (n < 0) {
            int code = 0;
            const char* message = gzerror(in, &code);
            error = std::string("is not readable gzip data: ") + (message ? message : "");
            gzclose(in);
            return nullptr;
        }
        if (n == 0) {
            int code = Z_OK;
            const char* message = gzerror(in, &code);
            if (code != Z_OK && code != Z_STREAM_END) {
                // Cut short: what came before is not worth showing as if it were all.
                error = std::string("is not readable gzip data: ") + (message ? message : "");
                gzclose(in);
                return nullptr;
            }
            break;
        }
        try {
            data.append(buffer, static_cast<std::size_t>(n));
        } catch (const std::bad_alloc&) {
            gzclose(in);
            error = "does not fit into memory unpacked";
            return nullptr;
        }
    }
    gzclose(in);
    return std::make_unique<InflatedBytes>(std::move(data), stamp);
}

std::unique_ptr<FileBytes> FileBytes::open(bool mapped, const std::filesystem::path& path,
                                           std::string& error) {
#ifdef REDA_HAVE_MMAP
    if (mapped) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            error = describe(errno);
            return nullptr;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            error = S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file";
            ::close(fd);
            return nullptr;
        }
        installBusGuard();
        return std::make_unique<MappedBytes>(fd, stampOf(st));
    }
#else
    (void)mapped;
#endif
    const FileStamp stamp = statPath(path);
    if (!stamp.exists) {
        error = "does not exist";
        return nullptr;
    }
    if (!stamp.regular) {
        error = "is not a regular file";
        return nullptr;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        error = "cannot be opened";
        return nullptr;
    }
    return std::make_unique<CopiedBytes>(path, stamp);
}

}  // namespace reda
