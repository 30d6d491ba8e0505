#pragma once
// The program on a scripted platform with HelloC's preset open and a clock the test moves, for
// following a run of the chain from its start.

#include <gtest/gtest.h>

#include <cstdint>

#include "AppHarness.h"

namespace kestrune::testing {

inline constexpr std::int64_t kRunStart = 1765281840;  // 2025-12-09 12:04:00 UTC

struct RunHarness : AppHarness {
    std::int64_t now = kRunStart;
    RunHarness() {
        main().Clock = [this] { return now; };
        Start();
        EXPECT_TRUE(main().OpenPreset(ChainPreset("HelloC.zrp", input), PresetMode::Open));
    }
    void Run() { ASSERT_EQ(program.Click("cmdCompile"), EventResult::Done); }
};

}  // namespace kestrune::testing
