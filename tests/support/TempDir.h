#pragma once
// A fresh folder per test, removed afterwards, with helpers to lay files into it.

#include <string>
#include <string_view>

namespace kestrune::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending with a separator.
    const std::string& path() const { return path_; }
    // Writes `bytes` to `relative` (creating folders) and returns the full path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    // The bytes of `relative`, or of an absolute path.
    std::string Read(std::string_view relativeOrAbsolute) const;
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }

  private:
    std::string path_;
};

// The bytes of a fixture in tests/data.
std::string ReadFixture(std::string_view name);
std::string FixturePath(std::string_view name);

}  // namespace kestrune::testing
