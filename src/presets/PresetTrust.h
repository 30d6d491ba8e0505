#pragma once
// Which preset files may run the shell commands their values hold without a question: the
// values' shell syntax, the content hash that names a preset's exact bytes, and the list of
// trusted presets kept in the user's settings folder.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// The name of the trust list in the settings folder.
inline constexpr const char* kTrustFileName = "TrustedPresets.txt";
// A longer trust list is not ours: it trusts nothing.
inline constexpr std::size_t kMaxTrustFileBytes = std::size_t{1} << 20;

// True when a typed value does more in a shell than pass words to the tool: command
// substitution ("$(" or a backtick), ";", "&", "|", ">", "<", a line break, or a "$" variable
// ("$NAME", "${...}", "$1", "$?" and the other special ones).
bool HasShellSyntax(std::string_view value);

// The SHA-256 of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

struct TrustEntry {
    std::string hash;
    std::string path;
    friend bool operator==(const TrustEntry&, const TrustEntry&) = default;
};

// The trusted presets, one "sha256 <hash> <path>" line each after a "KestruneTrust 1" line,
// with CR LF line ends. A file that cannot be read, is too large or lacks the first line
// trusts nothing; lines that do not fit are left out.
class TrustList {
  public:
    // Nothing trusted when `path` is missing or cannot be used; never throws.
    static TrustList Load(const std::string& path);
    bool Trusts(const std::string& presetPath, const std::string& hash) const;
    // Trusts these bytes of the preset; an earlier entry for the path is replaced.
    void Add(const std::string& presetPath, const std::string& hash);
    std::string Text() const;
    // Throws IoError when the file cannot be written.
    void Save(const std::string& path) const;
    const std::vector<TrustEntry>& Entries() const { return entries_; }

  private:
    std::vector<TrustEntry> entries_;
};

}  // namespace kestrune
