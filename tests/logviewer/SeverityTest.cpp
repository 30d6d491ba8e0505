#include "Severity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace reda {
namespace {

struct RuleCase {
    const char* rule;  // the table rule this line shows; "" for none
    std::string line;
    LineKind kind;
};

// Lines as the tools write them, and the lines that only look like problems.
const RuleCase kCases[] = {
    {"echoed source line", "    6 |     printf(\"failed to open %d\\n\", name);", LineKind::Plain},
    {"echoed source line", "3 |     let s: String = 5;", LineKind::Plain},
    {"caret line", "      |            ^~~~~~~~~~~~~~~~ error", LineKind::Plain},
    {"shell trace", "+ echo 'upload failed'", LineKind::Plain},
    {"shell trace", "++ grep -c error: build.log", LineKind::Plain},
    {"progress line", "[2/7] Building C object CMakeFiles/core.dir/src/error.c.o", LineKind::Plain},
    {"echoed command", "cc -Wall -Werror -Wno-error=unused-variable -c -o src/error.o src/error.c",
     LineKind::Plain},
    {"echoed command", "/usr/bin/c++ -DERROR_LEVEL=2 -o main.o -c main.cpp", LineKind::Plain},
    {"echoed command", "\tmake -j2 \"INSTALL=install --strip-program=true\"", LineKind::Plain},
    {"warning count", "warning: `demo` (bin \"demo\") generated 1 warning (run `cargo fix`)",
     LineKind::Plain},
    {"make waits", "make: *** Waiting for unfinished jobs....", LineKind::Plain},
    {"compiler error", "src/error.c:7:12: error: 'x' undeclared", LineKind::Error},
    {"compiler error", "x.h:1:10: fatal error: y.h: No such file or directory", LineKind::Error},
    {"compiler error", "Report.java:7: error: cannot find symbol", LineKind::Error},
    {"compiler error", "meson.build:2:0: ERROR: Dependency \"z\" not found", LineKind::Error},
    {"compiler error", "C:\\w\\a.c:3:1: error: expected ';'", LineKind::Error},
    {"program error", "collect2: error: ld returned 1 exit status", LineKind::Error},
    {"program error", "configure: error: libz is required", LineKind::Error},
    {"program error", "error[E0308]: mismatched types", LineKind::Error},
    {"program error", "fatal: not a git repository", LineKind::Error},
    {"MSVC error", "C:\\src\\main.cpp(12): error C2065: 'x': undeclared identifier",
     LineKind::Error},
    {"MSVC error", "src\\a.cpp(9,2) : fatal error C1083: Cannot open include file",
     LineKind::Error},
    {"MSVC tool error", "main.obj : error LNK2019: unresolved external symbol", LineKind::Error},
    {"MSVC tool error", "LINK : fatal error LNK1181: cannot open input file 'x.lib'",
     LineKind::Error},
    {"make", "make[1]: *** No rule to make target 'config.h', needed by 'path.o'.",
     LineKind::Error},
    {"make", "make: *** [Makefile:6: src/error.o] Error 1", LineKind::Error},
    {"ninja failed", "FAILED: CMakeFiles/tool.dir/src/main.c.o ", LineKind::Error},
    {"pytest summary", "FAILED test_stats.py::test_ratio - assert 0.25 == 0.2", LineKind::Error},
    {"pytest assertion", "E       assert 0.25 == 0.2", LineKind::Error},
    {"CMake error", "CMake Error at CMakeLists.txt:26 (message):", LineKind::Error},
    {"CMake incomplete", "-- Configuring incomplete, errors occurred!", LineKind::Error},
    {"undefined reference", "main.cpp:(.text+0xf): undefined reference to `median'",
     LineKind::Error},
    {"multiple definition", "b.o: multiple definition of `helper'; a.o: first defined here",
     LineKind::Error},
    {"linker cannot find", "/usr/bin/ld: cannot find -lnosuchlib", LineKind::Error},
    {"traceback", "Traceback (most recent call last):", LineKind::Error},
    {"exception", "ZeroDivisionError: division by zero", LineKind::Error},
    {"exception", "subprocess.CalledProcessError: Command 'x' returned 1", LineKind::Error},
    {"located exception", "test_stats.py:13: AssertionError", LineKind::Error},
    {"Java exception", "Exception in thread \"main\" java.lang.NullPointerException",
     LineKind::Error},
    {"ctest", "3/4 Test #3: parser_crash ......***Exception: SegFault  0.00 sec", LineKind::Error},
    {"ctest", "4/4 Test #4: totals ............***Failed    0.00 sec", LineKind::Error},
    {"missing file", "missing-input.mkv: No such file or directory", LineKind::Error},
    {"permission", "sh: 1: ./deploy.sh: Permission denied", LineKind::Error},
    {"command not found", "sh: 1: cmakee: not found", LineKind::Error},
    {"parse error", "YAML parse exception at line 3, column 4:", LineKind::Error},
    {"unknown codec", "Unknown encoder 'nosuchcodec'", LineKind::Error},
    {"Go error", "./main.go:5:2: imported and not used: \"os\"", LineKind::Error},
    {"Go error", "vet: ./main.go:10:14: undeclared name: x", LineKind::Error},
    {"crash", "Segmentation fault (core dumped)", LineKind::Error},
    {"bracketed error", "[ERROR] Failed to execute goal on project demo", LineKind::Error},
    {"compiler warning", "src/error.c:6:29: warning: format '%d' expects", LineKind::Warning},
    {"compiler warning", "Report.java:5: warning: [rawtypes] found raw type", LineKind::Warning},
    {"program warning", "configure: WARNING: building without the GUI", LineKind::Warning},
    {"program warning", "warning: unused variable: `total`", LineKind::Warning},
    {"MSVC warning", "Program.cs(10,17): warning CS0168: The variable 'ex' is declared",
     LineKind::Warning},
    {"MSVC tool warning", "LINK : warning LNK4098: defaultlib 'MSVCRT' conflicts",
     LineKind::Warning},
    {"CMake warning", "CMake Warning (dev) at CMakeLists.txt:8 (message):", LineKind::Warning},
    {"CMake warning",
     "CMake Deprecation Warning at CMakeLists.txt:1 (cmake_minimum_required):", LineKind::Warning},
    {"Python warning", "/x/gen.py:9: DeprecationWarning: the old layout", LineKind::Warning},
    {"Python warning", "  /x/test_a.py:17: UserWarning: error_code is deprecated",
     LineKind::Warning},
    {"bracketed warning", "[WARNING] Could not fetch resource chart.png", LineKind::Warning},

    // Words that mean nothing where they stand.
    {"", "-- Performing Test HAVE_FNO_SUCH_FLAG - Failed", LineKind::Plain},
    {"", "checking for error.h... yes", LineKind::Plain},
    {"", "1 error generated.", LineKind::Plain},
    {"", "4 warnings generated.", LineKind::Plain},
    {"", "cc1: all warnings being treated as errors", LineKind::Plain},
    {"",
     "tmpl.cpp:5:25: note:   template argument deduction/substitution failed:", LineKind::Plain},
    {"", "src/error.c: In function 'report':", LineKind::Plain},
    {"", "    Start 2: error_paths", LineKind::Plain},
    {"", "building tables: errors are fatal", LineKind::Plain},
    {"", "The following tests FAILED:", LineKind::Plain},
    {"", "Errors while running CTest", LineKind::Plain},
    {"", "==== 2 failed, 2 passed, 1 warning in 0.02s ====", LineKind::Plain},
    {"", "", LineKind::Plain},
    // Colour codes are looked through.
    {"", "\x1b[01m\x1b[Ka.c:3:5:\x1b[m\x1b[K \x1b[01;31m\x1b[Kerror: \x1b[m\x1b[Kbad",
     LineKind::Error},
    {"", "\x1b[01m\x1b[Ka.c:3:5:\x1b[m\x1b[K \x1b[01;36m\x1b[Knote: \x1b[m\x1b[Kfailed",
     LineKind::Plain},
    // Bytes that are not UTF-8 do not hide the shape.
    {"", "caf\xe9.c:3:5: error: \xff\xfe", LineKind::Error},
};

TEST(Severity, EveryLineGetsItsKind) {
    const SeverityRules rules;
    for (const RuleCase& c : kCases) {
        EXPECT_EQ(rules.classify(c.line), c.kind) << c.line;
    }
}

// Each line named after a rule matches that rule's own pattern, and every rule has a line:
// a rule that is changed or added without one fails here.
TEST(Severity, EveryRuleHasALineThatItMatches) {
    std::set<std::string> shown;
    for (const RuleCase& c : kCases) {
        if (*c.rule == '\0') {
            continue;
        }
        const auto rules = severityRules();
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const SeverityRule& r) {
            return std::string(r.name) == c.rule;
        });
        ASSERT_NE(rule, rules.end()) << c.rule;
        EXPECT_TRUE(ruleMatches(*rule, c.line)) << c.rule << ": " << c.line;
        EXPECT_EQ(rule->kind, c.kind) << c.rule;
        shown.insert(c.rule);
    }
    for (const SeverityRule& rule : severityRules()) {
        EXPECT_TRUE(shown.count(rule.name)) << "no line shows the rule " << rule.name;
    }
}

TEST(Severity, OnlyTheStartOfALongLineCounts) {
    const SeverityRules rules;
    const std::string data(kSeverityReach, 'x');
    EXPECT_EQ(rules.classify("tool: error: " + data), LineKind::Error);
    EXPECT_EQ(rules.classify(data + " No such file or directory"), LineKind::Plain);
    EXPECT_EQ(rules.classify(data.substr(30) + " No such file or directory"), LineKind::Error);
}

struct UserCase {
    std::string line;
    LineKind kind;
};

// The user's patterns come on top of the table and win over its exclusions.
TEST(Severity, UserPatternsPerSeverity) {
    SeverityRules rules;
    const std::vector<std::string> problems =
        rules.setUserPatterns({"^BUILD BROKEN", "^\\+ .*deploy", "(unclosed"}, {"\\bslow\\b", ""});
    EXPECT_EQ(problems, (std::vector<std::string>{"\u201c(unclosed\u201d: missing ): (unclosed"}));
    const UserCase cases[] = {
        {"BUILD BROKEN at step 3", LineKind::Error},
        {"+ ./deploy.sh --now", LineKind::Error},
        {"+ echo upload failed", LineKind::Plain},
        {"a slow test", LineKind::Warning},
        {"a.c:1:1: error: slow", LineKind::Error},
        {"    4 | slow", LineKind::Warning},
        {"slowly", LineKind::Plain},
    };
    for (const UserCase& c : cases) {
        EXPECT_EQ(rules.classify(c.line), c.kind) << c.line;
    }
    EXPECT_EQ(rules.setUserPatterns({}, {}), std::vector<std::string>{});
    EXPECT_EQ(rules.classify("BUILD BROKEN"), LineKind::Plain);
}

TEST(Severity, PatternErrorSaysWhy) {
    EXPECT_EQ(patternError("a(b"), "missing ): a(b");
    EXPECT_EQ(patternError("a|b"), "");
}

}  // namespace
}  // namespace reda
