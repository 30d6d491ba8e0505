// Real logs written by real tools (tests/data/logs), each with the lines a person reading it
// calls errors and warnings and the locations it names (NAME.expect). REDA must find them as
// the command line reports them: precision and recall per log and over all of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ProblemIndex.h"
#include "Report.h"

#ifndef REDA_CORPUS
#error "REDA_CORPUS names the folder of the logs"
#endif

namespace reda {
namespace {

namespace fs = std::filesystem;

struct Link {
    std::string path;
    std::size_t line = 0;
    std::size_t column = 0;
    bool operator==(const Link&) const = default;
};

struct Expected {
    std::set<std::size_t> errors;
    std::set<std::size_t> warnings;
    std::map<std::size_t, Link> links;
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        out.push_back(field);
    }
    return out;
}

Expected readExpected(const fs::path& file, const fs::path& logFolder) {
    Expected out;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = fields(line);
        if (f.empty() || f[0].empty() || f[0][0] == '#') {
            continue;
        }
        if (f[0] == "error" || f[0] == "warning") {
            (f[0] == "error" ? out.errors : out.warnings).insert(std::stoul(f.at(1)));
        } else if (f[0] == "link") {
            fs::path path(f.at(2));
            if (!(f[2].size() > 2 && f[2][1] == ':') && path.is_relative()) {
                path = logFolder / path;
            }
            out.links[std::stoul(f.at(1))] =
                Link{path.lexically_normal().string(), std::stoul(f.at(3)),
                     f.size() > 4 ? std::stoul(f[4]) : 0};
        } else {
            ADD_FAILURE() << file << ": unknown line " << line;
        }
    }
    return out;
}

struct Score {
    std::size_t expected = 0;
    std::size_t marked = 0;
    std::size_t right = 0;
    void add(const Score& other) {
        expected += other.expected;
        marked += other.marked;
        right += other.right;
    }
    double precision() const { return marked == 0 ? 1.0 : double(right) / double(marked); }
    double recall() const { return expected == 0 ? 1.0 : double(right) / double(expected); }
};

Score score(const std::set<std::size_t>& expected, const std::set<std::size_t>& marked) {
    Score s{expected.size(), marked.size(), 0};
    for (const std::size_t line : marked) {
        s.right += expected.count(line);
    }
    return s;
}

std::vector<fs::path> corpusLogs() {
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(REDA_CORPUS)) {
        if (entry.path().extension() == ".log") {
            logs.push_back(entry.path());
        }
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

TEST(Corpus, EveryLogHasItsExpectations) {
    const std::vector<fs::path> logs = corpusLogs();
    EXPECT_GE(logs.size(), 20u);
    for (const fs::path& log : logs) {
        fs::path expect = log;
        expect.replace_extension(".expect");
        EXPECT_TRUE(fs::is_regular_file(expect)) << expect;
        EXPECT_LE(fs::file_size(log), 8u << 10) << log << " is not small";
    }
}

TEST(Corpus, ErrorsAndWarningsAsAPersonSeesThem) {
    Score errors;
    Score warnings;
    std::ostringstream table;
    for (const fs::path& log : corpusLogs()) {
        fs::path expectFile = log;
        expectFile.replace_extension(".expect");
        const Expected expected = readExpected(expectFile, log.parent_path());
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(writeProblems(log, HighlightWords{}, out, err), 0) << err.str();
        std::set<std::size_t> markedErrors;
        std::set<std::size_t> markedWarnings;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) {
            const std::vector<std::string> f = fields(line);
            ASSERT_GE(f.size(), 2u) << line;
            (f[1] == "error" ? markedErrors : markedWarnings).insert(std::stoul(f[0]));
        }
        const Score e = score(expected.errors, markedErrors);
        const Score w = score(expected.warnings, markedWarnings);
        errors.add(e);
        warnings.add(w);
        table << std::left << std::setw(18) << log.stem().string() << std::fixed
              << std::setprecision(2) << " errors P " << e.precision() << " R " << e.recall()
              << "   warnings P " << w.precision() << " R " << w.recall() << "\n";
        for (const std::size_t line : markedErrors) {
            EXPECT_TRUE(expected.errors.count(line)) << log.stem() << ":" << line << " false error";
        }
        for (const std::size_t line : markedWarnings) {
            EXPECT_TRUE(expected.warnings.count(line))
                << log.stem() << ":" << line << " false warning";
        }
        if (log.stem() == "deb-success") {
            EXPECT_TRUE(markedErrors.empty()) << "an error on a build that succeeded";
        }
    }
    table << std::fixed << std::setprecision(3) << "total errors P " << errors.precision() << " R "
          << errors.recall() << " (" << errors.right << " of " << errors.expected << ", "
          << errors.marked << " marked), warnings P " << warnings.precision() << " R "
          << warnings.recall() << " (" << warnings.right << " of " << warnings.expected << ", "
          << warnings.marked << " marked)\n";
    std::cout << table.str();
    EXPECT_GE(errors.precision(), 0.95);
    EXPECT_GE(errors.recall(), 0.90);
    EXPECT_GE(warnings.precision(), 0.95);
    EXPECT_GE(warnings.recall(), 0.90);
    EXPECT_GE(errors.expected, 60u);
    EXPECT_GT(warnings.expected, 20u);
}

// The files the tools meant exist (as they did where the logs were written); every link must
// name the very one, through make's and ninja's directories, the log's folder or the folder a
// Debian build entered.
TEST(Corpus, LinksOpenTheFileTheToolMeant) {
    std::size_t expectedLinks = 0;
    std::size_t found = 0;
    std::size_t right = 0;
    std::size_t extra = 0;
    for (const fs::path& log : corpusLogs()) {
        fs::path expectFile = log;
        expectFile.replace_extension(".expect");
        const fs::path folder = fs::absolute(log).lexically_normal().parent_path();
        const Expected expected = readExpected(expectFile, folder);
        std::set<std::string> files;
        for (const auto& [line, link] : expected.links) {
            files.insert(link.path);
        }
        const FileExists exists = [&](const fs::path& path) {
            return files.count(path.lexically_normal().string()) > 0;
        };
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(writeLocations(log, {}, out, err, exists), 0) << err.str();
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) {
            const std::vector<std::string> f = fields(line);
            ASSERT_GE(f.size(), 3u) << line;
            const std::size_t at = std::stoul(f[0]);
            const Link link{f[1], std::stoul(f[2]), f.size() > 3 ? std::stoul(f[3]) : 0};
            const auto it = expected.links.find(at);
            if (it == expected.links.end()) {
                ++extra;
                ADD_FAILURE() << log.stem() << ":" << at << " is no location: " << line;
                continue;
            }
            ++found;
            right += link == it->second ? 1 : 0;
            EXPECT_EQ(link.path, it->second.path) << log.stem() << ":" << at;
            EXPECT_EQ(link.line, it->second.line) << log.stem() << ":" << at;
            EXPECT_EQ(link.column, it->second.column) << log.stem() << ":" << at;
        }
        expectedLinks += expected.links.size();
    }
    std::cout << "links: " << found << " of " << expectedLinks << " found, " << right << " right, "
              << extra << " where there is none\n";
    EXPECT_GE(double(found), 0.95 * double(expectedLinks));
    EXPECT_EQ(right, found);
    EXPECT_GT(expectedLinks, 80u);
}

}  // namespace
}  // namespace reda
