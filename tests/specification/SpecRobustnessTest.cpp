#include <gtest/gtest.h>

#include <random>
#include <string>

#include "SpecTestSupport.h"

namespace kestrune {
namespace {

using testing::ReadFixture;
using testing::SpecHarness;

TEST(SpecRobustness, RandomBytesNeverCrash) {
    std::mt19937 random(20260712);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(round * 37 % 4096), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(byte(random));
        }
        SpecHarness h;
        h.Load(bytes);
        EXPECT_LE(h.fake.messages.size(), 1u);
    }
}

TEST(SpecRobustness, EveryCutAndMutationOfAGoodFileLoads) {
    const std::string good = ReadFixture("specification/sample_crlf.zrs");
    std::string alphabet = "{}=/|,\r\n\x1a \t$-";
    alphabet.push_back('\0');
    std::mt19937 random(7);
    SpecHarness h;
    for (std::size_t cut = 0; cut <= good.size(); ++cut) {
        h.Load(good.substr(0, cut));
    }
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[random() % bytes.size()] = alphabet[random() % alphabet.size()];
        }
        h.Load(bytes);
    }
    // The shared state is still sound after all of it: a good file loads cleanly.
    h.fake.messages.clear();
    h.Load(good);
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(h.ProgramNames(), (std::vector<std::string>{"Compiler", "Shared"}));
}

TEST(SpecRobustness, NulBytesStayInTextsAndMessages) {
    SpecHarness h;
    const std::string nul(1, '\0');
    h.Load("setup = a" + nul + "b\r\n{\r\nlayout:\r\nx" + nul + "y\r\n}\r\ngroup = G\r\n{\r\n" +
           nul + "\r\n");
    EXPECT_EQ(h.state.SpecName, "a" + nul + "b");
    EXPECT_EQ(h.state.LayoutLines, (std::vector<std::string>{"x" + nul + "y"}));
    // A lone NUL is a control character and trims away, leaving an empty line.
    EXPECT_TRUE(h.fake.messages.empty());

    h.Load("setup" + nul + "x\r\n");
    EXPECT_EQ(h.SyntaxErrors(),
              (std::vector<std::string>{"Expected: \"=\", got: setup" + nul + "x\r\nLine: 1"}));
}

TEST(SpecRobustness, MultiMegabyteLines) {
    const std::string big(4 << 20, 'x');
    SpecHarness h;
    h.Load("setup = S\r\n{\r\nlayout:\r\n" + big +
           "\r\n}\r\ngroup = G\r\n{\r\ncombobox = C\r\n{\r\n"
           "options = " +
           [] {
               std::string text;
               for (int i = 0; i < 200000; ++i) {
                   text += "same, value|";
               }
               return text;
           }() +
           "\r\nhint = " + big + "\r\n" + big + "\r\n}\r\nlabelbox = " + big + "\r\n}");
    EXPECT_TRUE(h.fake.messages.empty());
    ASSERT_EQ(h.state.LayoutLines.size(), 1u);
    EXPECT_EQ(h.state.LayoutLines[0].size(), big.size());
    const TZRGroup& g = *h.state.Programs.at(0);
    EXPECT_EQ(g.ComboBoxes.at(0).OptionNames, (std::vector<std::string>{"same"}));
    EXPECT_EQ(g.ComboBoxes.at(0).Core.Details.str().size(), 2 * big.size() + 8 + 4);
    EXPECT_EQ(g.Labels.at(0).Caption().size(), big.size());

    h.Load(big + " // and no line end at all");
    // The message quotes only the start of such a line.
    EXPECT_EQ(h.SyntaxErrors().back(),
              "Expected: \"=\", got: " + big.substr(0, 300) + "\xE2\x80\xA6\r\nLine: 1");
}

TEST(SpecRobustness, ManyLinesAreCounted) {
    SpecHarness h;
    std::string text = "setup = S\r\n{\r\n}\r\n";
    for (int i = 0; i < 300000; ++i) {
        text += i % 2 == 0 ? "\r\n" : "   // blank\n";
    }
    h.Load(text + "oops");
    EXPECT_EQ(h.SyntaxErrors(),
              (std::vector<std::string>{"Expected: \"=\", got: oops\r\nLine: 300004"}));
}

}  // namespace
}  // namespace kestrune
