#include "LogFile.h"

#include <atomic>
#include <thread>

#include "FileBytes.h"
#include "NativePath.h"

namespace reda {

// Indexes the bytes before the end shown first. It reads only a pinned mapping, which the
// followed file's later mappings do not disturb, and writes only its own index.
struct LogFile::HeadWorker {
    std::shared_ptr<const void> pin;
    std::string_view bytes;  // up to the head's end
    LineIndex index;
    std::atomic<std::uint64_t> done{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread thread;

    void run() {
        for (std::size_t end = 0; end < bytes.size() && !stop.load();) {
            const std::size_t from = end;
            end = std::min(bytes.size(), end + kIndexPiece);
            index.extend(bytes.substr(0, end));
            releaseMappedPages(bytes.substr(from, end - from));
            done.store(end);
        }
        finished.store(true);
    }
};

namespace {
constexpr std::size_t kTailBytes = 64;  // also the length of the head kept
}

LogFile::Backing LogFile::defaultBacking() {
#ifdef _WIN32
    return Backing::Copied;
#else
    return Backing::Mapped;
#endif
}

LogFile::LogFile(Backing backing) : backing_(backing) {}

LogFile::~LogFile() {
    stopHeadWorker();
}

bool LogFile::indexComplete() const {
    return worker_ == nullptr;
}

std::uint64_t LogFile::headIndexed() const {
    return worker_ ? worker_->done.load() : headEnd_;
}

void LogFile::release(std::uint64_t from, std::uint64_t to) const {
    if (file_ && to > from) {
        file_->release(from, to - from);
    }
}

std::shared_ptr<const void> LogFile::pin() const {
    return file_ ? file_->pin() : nullptr;
}

bool LogFile::isMapped() const {
    return file_ && file_->isMapping();
}

void LogFile::extendIndex() {
    // In pieces, giving each piece's pages back, so a long line or a large append does not
    // stay resident once its line breaks are known.
    const std::string_view all = file_->bytes();
    while (index_.scannedEnd() < all.size()) {
        const std::uint64_t from = index_.scannedEnd();
        const std::uint64_t end = std::min<std::uint64_t>(all.size(), from + kIndexPiece);
        index_.extend(all.substr(0, static_cast<std::size_t>(end)));
        if (end - from >= kIndexPiece) {
            file_->release(from, end - from);
        }
        if (index_.scannedEnd() == from) {
            break;  // only a final CR is left, waiting for its LF
        }
    }
}

void LogFile::stopHeadWorker() {
    if (worker_) {
        worker_->stop.store(true);
        worker_->thread.join();
        worker_.reset();
    }
}

void LogFile::startHeadWorker() {
    const std::string_view all = file_->bytes();
    const std::uint64_t start = LineIndex::tailStart(
        all, kEndFirstLines, std::min<std::size_t>(kEndFirstReach, all.size()));
    // Only from a mapping: a copy is read whole before it is shown, and indexing it at once
    // costs little beside that.
    std::shared_ptr<const void> pin = file_->isMapping() ? file_->pin() : nullptr;
    if (start == 0 || !pin) {
        extendIndex();  // nothing to gain, or nothing to share with a worker
        return;
    }
    index_.startAt(start);
    index_.extend(all);
    headEnd_ = LineIndex::headEnd(all, start);
    worker_ = std::make_unique<HeadWorker>();
    worker_->pin = std::move(pin);
    worker_->bytes = all.substr(0, static_cast<std::size_t>(headEnd_));
    // Lines of the start are about as long as those of the end: room for them up front,
    // so the index does not hold twice its size while it grows.
    const std::uint64_t tailBytes = all.size() - start;
    const std::uint64_t perLine =
        std::max<std::uint64_t>(tailBytes / std::max<std::size_t>(index_.lineCount(), 1), 1);
    worker_->index.reserve(static_cast<std::size_t>(start / perLine + start / perLine / 16 + 64));
    HeadWorker* worker = worker_.get();
    worker_->thread = std::thread([worker] { worker->run(); });
}

void LogFile::setPath(std::filesystem::path path) {
    stopHeadWorker();
    path_ = std::move(path);
    file_.reset();
    index_.clear();
    tail_.clear();
    head_.clear();
    error_.clear();
    vanished_ = false;
}

bool LogFile::isOpen() const {
    return file_ != nullptr;
}

std::string_view LogFile::bytes() const {
    return file_ ? file_->bytes() : std::string_view{};
}

std::string_view LogFile::line(std::size_t line) const {
    if (!file_ || line >= index_.lineCount()) {
        return {};
    }
    const std::string_view all = file_->bytes();
    const auto start = static_cast<std::size_t>(index_.lineStart(line));
    auto limit = static_cast<std::size_t>(index_.lineLimit(line));
    limit = std::min(limit, all.size());
    if (limit > start && all[limit - 1] == '\n') {
        --limit;
    }
    if (limit > start && all[limit - 1] == '\r') {
        --limit;
    }
    return all.substr(start, limit - start);
}

LogFile::Change LogFile::reopen(bool wasOpen) {
    stopHeadWorker();
    headEnd_ = 0;
    file_.reset();
    index_.clear();
    tail_.clear();
    head_.clear();
    vanished_ = false;
    std::string error;
    auto openWith = [&](bool mapped) {
        file_ = isCompressed() ? FileBytes::openGzip(path_, error)
                               : FileBytes::open(mapped, path_, error);
        if (file_ && !file_->resize(file_->stamp().size, error)) {
            file_.reset();
        }
        return file_ != nullptr;
    };
    // Where a file cannot be mapped (some file systems), it is read instead.
    if (!(backing_ == Backing::Mapped && openWith(true)) && !openWith(false)) {
        error_ = error;
        return Change::Failed;
    }
    error_.clear();
    if (file_->bytes().size() >= endFirstBytes_) {
        startHeadWorker();
    } else {
        extendIndex();
    }
    const std::string_view all = file_->bytes();
    tail_.assign(all.substr(all.size() - std::min(all.size(), kTailBytes)));
    head_.assign(all.substr(0, kTailBytes));
    modified_ = file_->stamp().modified;
    return wasOpen ? Change::Reloaded : Change::Appeared;
}

bool LogFile::isCompressed() const {
    std::string extension = textOfPath(path_.extension());
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return extension == ".gz";
}

LogFile::Change LogFile::poll() {
    if (path_.empty()) {
        return Change::None;
    }
    if (isCompressed() && (file_ || !error_.empty())) {
        return Change::None;  // read once; F5 reads it again
    }
    if (worker_ && worker_->finished.load()) {
        worker_->thread.join();
        const std::size_t before = index_.lineCount();
        worker_->index.join(index_);
        index_ = std::move(worker_->index);
        linesJoined_ = index_.lineCount() - before;
        worker_.reset();
        return Change::Indexed;
    }
    const FileStamp now = statPath(path_);
    if (!now.exists) {
        if (file_ && !vanished_) {
            vanished_ = true;
            return Change::Vanished;
        }
        return Change::None;
    }
    if (!now.regular) {
        const bool reported = !file_ && error_ == "is not a regular file";
        stopHeadWorker();
        file_.reset();
        index_.clear();
        tail_.clear();
        error_ = "is not a regular file";
        return reported ? Change::None : Change::Failed;
    }
    if (!file_) {
        const bool failedBefore = !error_.empty();
        const Change change = reopen(false);
        // A file that keeps failing is reported once, not at every poll.
        return change == Change::Failed && failedBefore ? Change::None : change;
    }
    const FileStamp& held = file_->stamp();
    const bool replaced = !now.sameFile(held) || (vanished_ && !held.hasIdentity);
    const std::uint64_t had = file_->bytes().size();
    if (replaced || now.size < had) {
        return reopen(true);
    }
    vanished_ = false;
    if (now.size == had) {
        // Rewritten in place to the same size? Only a new time makes it worth a look, and only
        // other bytes at either end make it so: some file systems set the time late.
        if (now.modified == modified_) {
            return Change::None;
        }
        modified_ = now.modified;
        const bool rewritten = file_->current(0, head_.size()) != head_ ||
                               file_->current(had - tail_.size(), tail_.size()) != tail_;
        return rewritten ? reopen(true) : Change::None;
    }
    modified_ = now.modified;
    std::string error;
    if (!file_->resize(now.size, error)) {
        error_ = error;
        return Change::Failed;
    }
    if (!tail_.empty() && file_->current(had - tail_.size(), tail_.size()) != tail_) {
        return reopen(true);
    }
    extendIndex();
    const std::string_view all = file_->bytes();
    tail_.assign(all.substr(all.size() - std::min(all.size(), kTailBytes)));
    if (head_.size() < kTailBytes) {
        head_.assign(all.substr(0, kTailBytes));
    }
    return Change::Appended;
}

}  // namespace reda
