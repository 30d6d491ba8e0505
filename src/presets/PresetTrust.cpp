#include "presets/PresetTrust.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/FileIo.h"
#include "base/TextEncoding.h"

namespace kestrune {

namespace {

constexpr std::string_view kTrustHeader = "KestruneTrust 1";
constexpr std::string_view kHashPrefix = "sha256 ";

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsVariableAfterDollar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '{' ||
           std::string_view("?!#@*$-").find(c) != std::string_view::npos;
}

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotate(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

void Compress(std::array<std::uint32_t, 8>& h, const unsigned char* block) {
    std::array<std::uint32_t, 64> w{};
    for (std::size_t i = 0; i < 16; ++i) {
        w[i] = (std::uint32_t{block[4 * i]} << 24) | (std::uint32_t{block[4 * i + 1]} << 16) |
               (std::uint32_t{block[4 * i + 2]} << 8) | std::uint32_t{block[4 * i + 3]};
    }
    for (std::size_t i = 16; i < 64; ++i) {
        const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::array<std::uint32_t, 8> v = h;
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint32_t s1 = Rotate(v[4], 6) ^ Rotate(v[4], 11) ^ Rotate(v[4], 25);
        const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
        const std::uint32_t t1 = v[7] + s1 + choice + kRound[i] + w[i];
        const std::uint32_t s0 = Rotate(v[0], 2) ^ Rotate(v[0], 13) ^ Rotate(v[0], 22);
        const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        const std::uint32_t t2 = s0 + majority;
        v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
    }
    for (std::size_t i = 0; i < 8; ++i) {
        h[i] += v[i];
    }
}

bool IsLowerHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

}  // namespace

bool HasShellSyntax(std::string_view value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
            case '`':
            case ';':
            case '&':
            case '|':
            case '>':
            case '<':
            case '\n':
            case '\r':
                return true;
            case '$':
                if (i + 1 < value.size() &&
                    (value[i + 1] == '(' || IsVariableAfterDollar(value[i + 1]))) {
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return false;
}

std::string Sha256Hex(std::string_view bytes) {
    std::array<std::uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::size_t whole = bytes.size() / 64 * 64;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t at = 0; at < whole; at += 64) {
        Compress(h, data + at);
    }
    // The tail, the 0x80 mark and the length in bits fill one or two last blocks.
    std::array<unsigned char, 128> tail{};
    const std::size_t rest = bytes.size() - whole;
    std::copy(data + whole, data + bytes.size(), tail.begin());
    tail[rest] = 0x80;
    const std::size_t last = rest < 56 ? 64 : 128;
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    for (std::size_t i = 0; i < 8; ++i) {
        tail[last - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    }
    Compress(h, tail.data());
    if (last == 128) {
        Compress(h, tail.data() + 64);
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint32_t word : h) {
        for (int shift = 28; shift >= 0; shift -= 4) {
            hex += kDigits[(word >> shift) & 0xf];
        }
    }
    return hex;
}

TrustList TrustList::Load(const std::string& path) {
    TrustList list;
    std::string text;
    try {
        if (!FileExists(path)) {
            return list;
        }
        text = ReadFileBytes(path);
    } catch (const IoError&) {
        return list;
    }
    if (text.size() > kMaxTrustFileBytes) {
        return list;
    }
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty() || lines.front() != kTrustHeader) {
        return list;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (!line.starts_with(kHashPrefix) || line.size() < kHashPrefix.size() + 66) {
            continue;
        }
        const std::string_view hash = line.substr(kHashPrefix.size(), 64);
        const std::string_view rest = line.substr(kHashPrefix.size() + 64);
        if (!IsLowerHex(hash) || rest.front() != ' ' || rest.find('\0') != std::string_view::npos) {
            continue;
        }
        list.Add(std::string(rest.substr(1)), std::string(hash));
    }
    return list;
}

bool TrustList::Trusts(const std::string& presetPath, const std::string& hash) const {
    return !presetPath.empty() &&
           std::any_of(entries_.begin(), entries_.end(), [&](const TrustEntry& entry) {
               return SamePath(entry.path, presetPath) && entry.hash == hash;
           });
}

void TrustList::Add(const std::string& presetPath, const std::string& hash) {
    // A line break would end the entry early and let the rest of the path be read as an
    // entry of its own.
    if (presetPath.empty() || presetPath.find_first_of("\r\n") != std::string::npos) {
        return;
    }
    std::erase_if(entries_,
                  [&](const TrustEntry& entry) { return SamePath(entry.path, presetPath); });
    entries_.push_back({hash, presetPath});
}

std::string TrustList::Text() const {
    std::string text(kTrustHeader);
    text += "\r\n";
    for (const TrustEntry& entry : entries_) {
        text += std::string(kHashPrefix) + entry.hash + " " + entry.path + "\r\n";
    }
    return text;
}

void TrustList::Save(const std::string& path) const {
    WriteFileReplacing(path, Text());
}

}  // namespace kestrune
