#pragma once
// Generated logs of about 80 bytes a line, written once per size into a temporary folder that
// is removed at exit: an ordinary build log and one where nearly every line is a problem. Only
// the very last line holds kLastWord. With REDA_BENCH_KEEP set to a
// folder the logs are written there and kept, to time other tools on the same files.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <string_view>

namespace reda::bench {

namespace fs = std::filesystem;

inline constexpr std::string_view kLastWord = "zanzibar";

class Logs {
  public:
    Logs() {
        const char* keep = std::getenv("REDA_BENCH_KEEP");
        keep_ = keep != nullptr && *keep != '\0';
        folder_ = keep_ ? fs::path(keep)
                        : fs::temp_directory_path() /
                              ("reda-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    ~Logs() {
        std::error_code ec;
        if (keep_) {
            fs::remove(scratch("growing.log"), ec);
            fs::remove(scratch("window-growing.log"), ec);
        } else {
            fs::remove_all(folder_, ec);
        }
    }

    // A log of about `megabytes` MB, made once per size.
    const fs::path& log(std::size_t megabytes) {
        auto found = logs_.find(megabytes);
        if (found != logs_.end()) {
            return found->second;
        }
        const fs::path path = folder_ / (std::to_string(megabytes) + "mb.log");
        write(path, megabytes << 20);
        return logs_.emplace(megabytes, path).first->second;
    }

    // One line of about `megabytes` MB without a line break, as a tool that never ends its
    // line writes it, with an error word near the end.
    const fs::path& singleLine(std::size_t megabytes) {
        auto found = lines_.find(megabytes);
        if (found != lines_.end()) {
            return found->second;
        }
        const fs::path path = folder_ / (std::to_string(megabytes) + "mb-one-line.log");
        std::ofstream out(path, std::ios::binary);
        const std::string piece = "progress 12% of src/module_42.c, pass 7; ";
        for (std::size_t written = 0; written < (megabytes << 20); written += piece.size()) {
            out << piece;
        }
        out << "error " << kLastWord;
        return lines_.emplace(megabytes, path).first->second;
    }

    // A log of about `megabytes` MB where nearly every line is a problem, as a test run with
    // thousands of failures writes it; the last line holds kLastWord.
    const fs::path& problems(std::size_t megabytes) {
        auto found = problems_.find(megabytes);
        if (found != problems_.end()) {
            return found->second;
        }
        const fs::path path = folder_ / (std::to_string(megabytes) + "mb-problems.log");
        std::ofstream out(path, std::ios::binary);
        std::string line;
        std::size_t written = 0;
        for (std::size_t n = 1; written < (megabytes << 20); ++n) {
            switch (n % 5) {
                case 0:
                    line = "E       assert parse(" + std::to_string(n) + ") == 'error'";
                    break;
                case 1:
                    line = "tests/test_" + std::to_string(n % 700) + ".py:41: AssertionError";
                    break;
                case 2:
                    line = "src/module_" + std::to_string(n % 500) +
                           ".c:88: warning: unused variable 'tmp'";
                    break;
                case 3:
                    line = "src/module_" + std::to_string(n % 500) +
                           ".c:120: error: expected ';' before '}'";
                    break;
                default:
                    line =
                        "FAILED tests/test_" + std::to_string(n % 700) + ".py::test_case - failed";
                    break;
            }
            line.resize(79, ' ');
            line += '\n';
            out << line;
            written += line.size();
        }
        out << "done: " << kLastWord << '\n';
        return problems_.emplace(megabytes, path).first->second;
    }

    fs::path scratch(const std::string& name) const { return folder_ / name; }

  private:
    static void write(const fs::path& path, std::size_t bytes) {
        std::ofstream out(path, std::ios::binary);
        std::mt19937 random(42);
        std::string line;
        std::size_t written = 0;
        for (std::size_t n = 1; written < bytes; ++n) {
            const auto r = static_cast<unsigned>(random() % 1000);
            line = "[" + std::to_string(n) + "] ";
            if (r < 5) {
                line +=
                    "src/module_" + std::to_string(r) + ".c:120: error: expected ';' before '}'";
            } else if (r < 25) {
                line += "src/module_" + std::to_string(r) + ".c:88: warning: unused variable 'tmp'";
            } else {
                line += "compiling src/module_" + std::to_string(random() % 500) +
                        ".c with -O2 -Wall, pass " + std::to_string(r);
            }
            line.resize(79, ' ');
            line += '\n';
            out << line;
            written += line.size();
        }
        out << "done: " << kLastWord << '\n';
    }

    fs::path folder_;
    bool keep_ = false;
    std::map<std::size_t, fs::path> logs_;
    std::map<std::size_t, fs::path> lines_;
    std::map<std::size_t, fs::path> problems_;
};

inline Logs& logs() {
    static Logs instance;
    return instance;
}

}  // namespace reda::bench
