#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "base/TextEncoding.h"

namespace kestrune::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp: a fresh name is tried until creating it succeeds, which only a new folder does.
    static std::random_device seed;
    std::string pattern;
    for (int attempt = 0;; ++attempt) {
        pattern =
            Utf8FromPath(fs::temp_directory_path() / ("kestrune-test-" + std::to_string(seed())));
        std::error_code ec;
        if (fs::create_directory(PathFromUtf8(pattern), ec)) {
            break;
        }
        if (attempt == 100) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
#else
    std::string pattern = (fs::temp_directory_path() / "kestrune-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
#endif
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(PathFromUtf8(path_), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(PathFromUtf8(path_), ec);
}

std::string TempDir::Write(std::string_view relative, std::string_view bytes) const {
    // Names are UTF-8, as the core keeps them.
    const fs::path full = PathFromUtf8(path_) / PathFromUtf8(relative);
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + Utf8FromPath(full));
    }
    return Utf8FromPath(full);
}

std::string TempDir::Read(std::string_view relativeOrAbsolute) const {
    const std::string name(relativeOrAbsolute);
    const fs::path full = (!name.empty() && name[0] == '/')
                              ? PathFromUtf8(name)
                              : PathFromUtf8(path_) / PathFromUtf8(name);
    std::ifstream in(full, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + Utf8FromPath(full));
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string FixturePath(std::string_view name) {
    std::string path = KESTRUNE_TEST_DATA_DIR;
    path.append("/").append(name);
    return path;
}

std::string ReadFixture(std::string_view name) {
    std::ifstream in(FixturePath(name), std::ios::binary);
    if (!in) {
        throw std::runtime_error("missing fixture " + std::string(name));
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace kestrune::testing
