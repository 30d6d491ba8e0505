#include "LogFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

namespace reda {
namespace {

using kestrune::testing::TempDir;
using Change = LogFile::Change;
namespace fs = std::filesystem;

void append(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// Rewrites in place, as a shell redirection does: same file, new content.
void rewrite(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> lines(const LogFile& log) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < log.lineCount(); ++i) {
        out.emplace_back(log.line(i));
    }
    return out;
}

using Lines = std::vector<std::string>;

class LogFileFollow : public ::testing::TestWithParam<LogFile::Backing> {
  protected:
    TempDir dir;
    std::string path = dir / "run.log";
    LogFile log{GetParam()};
};

TEST_P(LogFileFollow, WaitsForTheFileThenFollowsIt) {
    log.setPath(path);
    EXPECT_EQ(log.poll(), Change::None);
    EXPECT_FALSE(log.isOpen());

    append(path, "");
    EXPECT_EQ(log.poll(), Change::Appeared);
    EXPECT_EQ(lines(log), Lines{});

    append(path, "one\ntw");
    EXPECT_EQ(log.poll(), Change::Appended);
    EXPECT_EQ(lines(log), (Lines{"one", "tw"}));
    EXPECT_EQ(log.poll(), Change::None);

    append(path, "o\r");
    EXPECT_EQ(log.poll(), Change::Appended);
    EXPECT_EQ(lines(log), (Lines{"one", "two"}));
    append(path, "\nthree\r\n");
    EXPECT_EQ(log.poll(), Change::Appended);
    EXPECT_EQ(lines(log), (Lines{"one", "two", "three"}));
    EXPECT_EQ(log.index().completeLineCount(), 3u);
}

TEST_P(LogFileFollow, TruncationAndRewritesReloadFromTheStart) {
    log.setPath(path);
    rewrite(path, "first run line 1\nfirst run line 2\n");
    EXPECT_EQ(log.poll(), Change::Appeared);

    rewrite(path, "second\n");
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(lines(log), Lines{"second"});

    // Rewritten and already longer than before by the next poll: the changed tail tells.
    rewrite(path, "third run, a much longer first line\n");
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(lines(log), Lines{"third run, a much longer first line"});

    // The same size again, within the same clock tick as far as the file system can tell:
    // the last bytes differ, so the new ones show once the time moves on.
    const auto before = fs::last_write_time(path);
    rewrite(path, "third run, a much longer first lin!\n");
    fs::last_write_time(path, before);
    EXPECT_EQ(log.poll(), Change::None);
    fs::last_write_time(path, before + std::chrono::seconds(1));
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(lines(log), Lines{"third run, a much longer first lin!"});

    rewrite(path, "");
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(log.lineCount(), 0u);
}

TEST_P(LogFileFollow, ReplacedAndRemovedFiles) {
    log.setPath(path);
    rewrite(path, "old content\n");
    EXPECT_EQ(log.poll(), Change::Appeared);

    const std::string fresh = dir.Write("fresh.log", "new content, longer than before\n");
    fs::rename(fresh, path);
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(lines(log), Lines{"new content, longer than before"});

    fs::remove(path);
    EXPECT_EQ(log.poll(), Change::Vanished);
    EXPECT_EQ(log.poll(), Change::None);
    EXPECT_EQ(lines(log), Lines{"new content, longer than before"});  // still shown

    rewrite(path, "back\n");
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(lines(log), Lines{"back"});
}

TEST_P(LogFileFollow, AFolderIsReportedOnce) {
    fs::create_directory(path);
    log.setPath(path);
    EXPECT_EQ(log.poll(), Change::Failed);
    EXPECT_EQ(log.error(), "is not a regular file");
    EXPECT_EQ(log.poll(), Change::None);
    EXPECT_FALSE(log.isOpen());
}

TEST_P(LogFileFollow, AnyBytesMakeLines) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    log.setPath(dir.Write("binary.log", bytes + bytes));
    EXPECT_EQ(log.poll(), Change::Appeared);
    // LF at 10, CR at 13 (no LF after it), then the second copy.
    ASSERT_EQ(log.lineCount(), 5u);
    EXPECT_EQ(log.line(0), bytes.substr(0, 10));
    EXPECT_EQ(log.line(1), bytes.substr(11, 2));
    EXPECT_EQ(log.line(2), bytes.substr(14) + bytes.substr(0, 10));
    EXPECT_EQ(log.line(4), bytes.substr(14));
    EXPECT_EQ(log.line(5), "");  // beyond the end
}

TEST_P(LogFileFollow, RandomWritesAlwaysShowTheFileAsItIs) {
    // Appends cut anywhere (between CR and LF too), rewrites and truncations, each followed
    // by a poll; the lines must always be those of the file read afresh.
    std::mt19937 random(11);
    const std::string pieces[] = {"a",
                                  "bc",
                                  "\n",
                                  "\r",
                                  "\r\n",
                                  "error\n",
                                  std::string(1, '\0'),
                                  "\xff\xfe",
                                  "long line of text "};
    auto expected = [](const std::string& content) {
        Lines out;
        std::string line;
        for (std::size_t i = 0; i < content.size(); ++i) {
            const char c = content[i];
            if (c == '\n' || c == '\r') {
                if (c == '\r' && i + 1 == content.size()) {
                    break;  // may still become CR LF: the line stays open
                }
                if (c == '\r' && content[i + 1] == '\n') {
                    ++i;
                }
                out.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        if (!line.empty() || (!content.empty() && content.back() == '\r')) {
            out.push_back(line);
        }
        return out;
    };
    log.setPath(path);
    std::string content;
    rewrite(path, content);
    const auto start = fs::last_write_time(path);
    for (int step = 0; step < 600; ++step) {
        const auto action = static_cast<unsigned>(random() % 20);
        if (action == 0) {
            content = pieces[random() % std::size(pieces)];
            rewrite(path, content);
        } else if (action == 1) {
            content.resize(content.size() / 2);
            fs::resize_file(path, content.size());
        } else {
            std::string more;
            for (unsigned n = static_cast<unsigned>(random() % 4); n-- > 0;) {
                more += pieces[random() % std::size(pieces)];
            }
            content += more;
            append(path, more);
        }
        // Each write a second later, as a coarse file system clock would show it.
        fs::last_write_time(path, start + std::chrono::seconds(step));
        const Change change = log.poll();
        ASSERT_NE(change, Change::Failed) << step;
        ASSERT_EQ(lines(log), expected(content)) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(LogFile, LogFileFollow,
                         ::testing::Values(LogFile::Backing::Mapped, LogFile::Backing::Copied),
                         [](const ::testing::TestParamInfo<LogFile::Backing>& test) {
                             return test.param == LogFile::Backing::Mapped ? "Mapped" : "Copied";
                         });

TEST(LogFile, TruncatedUnderTheMappingReadsZerosInsteadOfCrashing) {
    TempDir dir;
    std::string big(3 * 65536, 'x');
    big += '\n';
    const std::string path = dir.Write("big.log", big);
    LogFile log(LogFile::Backing::Mapped);
    log.setPath(path);
    ASSERT_EQ(log.poll(), Change::Appeared);
    fs::resize_file(path, 0);
    // The terminator now reads as a NUL too, so it is no longer taken off.
    const std::string_view line = log.line(0);
    ASSERT_EQ(line.size(), 3u * 65536 + 1);
    EXPECT_EQ(line.front(), '\0');  // a fault would have ended the test here
    EXPECT_EQ(line.back(), '\0');
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(log.lineCount(), 0u);
}

}  // namespace
}  // namespace reda

namespace reda {
namespace {

std::string mixedLines(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    const char* ends[] = {"\n", "\r\n", "\r"};
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + std::string(random() % 40, 'x') + ends[random() % 3];
    }
    return text;
}

Change waitForIndex(LogFile& log) {
    for (int i = 0; i < 2000 && !log.indexComplete(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return log.poll();
}

// A large log shows its end at once; the lines before it are counted on a worker and then
// numbered as if the log had been indexed from the start, appends made meanwhile included.
TEST(LogFileEndFirst, EndAtOnceThenTheWholeIndex) {
    TempDir dir;
    const std::string text = mixedLines(30000, 3);
    const std::string path = dir.Write("big.log", text);
    LogFile log(LogFile::Backing::Mapped);
    log.setEndFirstBytes(1);
    log.setPath(path);
    ASSERT_EQ(log.poll(), Change::Appeared);
    LogFile reference(LogFile::Backing::Copied);
    reference.setPath(path);
    reference.poll();
    const std::size_t all = reference.lineCount();
    const std::size_t shownFirst = log.lineCount();
    ASSERT_FALSE(log.indexComplete());  // until a poll takes the worker's count
    {
        EXPECT_GE(log.lineCount(), LogFile::kEndFirstLines);
        EXPECT_LT(log.lineCount(), all);
        EXPECT_EQ(log.line(log.lineCount() - 1), reference.line(all - 1));
        EXPECT_EQ(log.index().lineStart(0), reference.index().lineStart(all - log.lineCount()));
    }
    append(path, "more\r\nand more\n");
    // The append may be read before or after the start is counted; either way it is kept.
    Change change = log.poll();
    while (change != Change::Indexed) {
        ASSERT_TRUE(change == Change::Appended || change == Change::None) << int(change);
        change = waitForIndex(log);
    }
    EXPECT_TRUE(log.indexComplete());
    EXPECT_EQ(log.linesJoined(), all - shownFirst);
    log.poll();
    reference.poll();
    ASSERT_EQ(log.lineCount(), reference.lineCount());
    EXPECT_EQ(log.lineCount(), all + 2);
    for (std::size_t line = 0; line < log.lineCount(); ++line) {
        ASSERT_EQ(log.index().lineStart(line), reference.index().lineStart(line)) << line;
    }
    EXPECT_EQ(log.line(all + 1), "and more");
}

// Cut short or replaced while the start is still being counted: read again from the start.
TEST(LogFileEndFirst, TruncatedWhileCountingReloads) {
    TempDir dir;
    const std::string path = dir.Write("big.log", mixedLines(200000, 4));
    LogFile log(LogFile::Backing::Mapped);
    log.setEndFirstBytes(1);
    log.setPath(path);
    ASSERT_EQ(log.poll(), Change::Appeared);
    rewrite(path, "short\n");
    Change change = log.poll();
    if (change == Change::Indexed) {
        change = log.poll();
    }
    EXPECT_EQ(change, Change::Reloaded);
    EXPECT_EQ(lines(log), Lines{"short"});
    EXPECT_TRUE(log.indexComplete());
}

}  // namespace
}  // namespace reda

namespace reda {
namespace {

std::string gzipped(const std::string& text) {
    TempDir scratch;
    const std::string path = scratch / "x.gz";
    gzFile out = gzopen(path.c_str(), "wb");
    gzwrite(out, text.data(), static_cast<unsigned>(text.size()));
    gzclose(out);
    return scratch.Read(path);
}

// A .gz log is shown unpacked, read once and not followed; data that is no gzip says so.
TEST(LogFileGzip, ShownUnpackedAndNotFollowed) {
    TempDir dir;
    const std::string text = mixedLines(20000, 9);
    const std::string path = dir.Write("old run.log.GZ", gzipped(text));
    LogFile log;
    log.setPath(path);
    ASSERT_EQ(log.poll(), Change::Appeared);
    EXPECT_TRUE(log.isCompressed());
    EXPECT_EQ(log.bytes(), text);
    // Searched on a worker, as a plain log is.
    EXPECT_NE(log.pin(), nullptr);
    EXPECT_FALSE(log.isMapped());
    LogFile plain(LogFile::Backing::Copied);
    plain.setPath(dir.Write("plain.log", text));
    plain.poll();
    EXPECT_EQ(lines(log), lines(plain));
    append(path, "more");
    EXPECT_EQ(log.poll(), Change::None);

    LogFile broken;
    broken.setPath(dir.Write("broken.gz", gzipped(text).substr(0, 1000)));
    EXPECT_EQ(broken.poll(), Change::Failed);
    EXPECT_EQ(broken.error().rfind("is not readable gzip data: ", 0), 0u) << broken.error();
    EXPECT_EQ(broken.poll(), Change::None);  // said once
}

// What a worker reads stays as it was pinned while the window follows the log: appends in
// the buffer's room and beyond it, a cut and a rewrite. Both ways of holding a log give a pin.
TEST_P(LogFileFollow, PinnedBytesStayWhileTheLogChanges) {
    const std::string first = "one\ntwo\nthree\n";
    append(path, first);
    log.setPath(path);
    ASSERT_EQ(log.poll(), Change::Appeared);
    const std::shared_ptr<const void> pin = log.pin();
    ASSERT_NE(pin, nullptr);
    const std::string_view pinned = log.bytes();
    EXPECT_EQ(log.isMapped(), GetParam() == LogFile::Backing::Mapped &&
                                  LogFile::defaultBacking() == LogFile::Backing::Mapped);

    append(path, "four\n");
    EXPECT_EQ(log.poll(), Change::Appended);
    std::string large(1 << 20, 'x');  // beyond any room left
    large.push_back('\n');
    append(path, large);
    EXPECT_EQ(log.poll(), Change::Appended);
    EXPECT_EQ(log.lineCount(), 5u);
    EXPECT_EQ(pinned, first);

    rewrite(path, "new\n");
    EXPECT_EQ(log.poll(), Change::Reloaded);
    EXPECT_EQ(lines(log), (Lines{"new"}));
    // A copy keeps what was read; a mapping shows the file itself, rewritten in place, and
    // stays readable (zeros past its new end).
    EXPECT_EQ(pinned,
              log.isMapped() ? std::string("new\n") + std::string(first.size() - 4, '\0') : first);
}

}  // namespace
}  // namespace reda
