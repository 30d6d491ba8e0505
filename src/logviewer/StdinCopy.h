#pragma once
// `REDA -`: standard input is copied into a temporary file as it arrives, and the viewer
// follows that file like any other log. The file is removed when the copy is destroyed.

#include <filesystem>
#include <memory>
#include <string>

namespace reda {

class StdinCopy {
  public:
    // Starts copying descriptor `input` (standard input by default) into a new file in
    // `folder`; null with `error` set when the file cannot be made.
    static std::unique_ptr<StdinCopy> start(const std::filesystem::path& folder, std::string& error,
                                            int input = 0);
    ~StdinCopy();
    StdinCopy(const StdinCopy&) = delete;
    StdinCopy& operator=(const StdinCopy&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    explicit StdinCopy(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace reda
