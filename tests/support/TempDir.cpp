#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kestrune::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp: a fresh name is tried until creating it succeeds, which only a new folder does.
    static std::random_device seed;
    std::string pattern;
    for (int attempt = 0;; ++attempt) {
        pattern =
            (fs::temp_directory_path() / ("kestrune-test-" + std::to_string(seed()))).string();
        std::error_code ec;
        if (fs::create_directory(pattern, ec)) {
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
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path full = fs::path(path_) / fs::path(std::string(relative));
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + full.string());
    }
    return full.string();
}

std::string TempDir::Read(std::string_view relativeOrAbsolute) const {
    const std::string name(relativeOrAbsolute);
    const fs::path full =
        (!name.empty() && name[0] == '/') ? fs::path(name) : fs::path(path_) / name;
    std::ifstream in(full, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + full.string());
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
