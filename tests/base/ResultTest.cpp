#include "base/Result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace kestrune {
namespace {

Result<int> Half(int value) {
    if (value % 2 != 0) {
        return Failure{std::to_string(value) + " is odd"};
    }
    return value / 2;
}

TEST(Result, HoldsTheValueOrTheMessage) {
    const Result<int> even = Half(8);
    ASSERT_TRUE(even.Ok());
    EXPECT_TRUE(static_cast<bool>(even));
    EXPECT_EQ(*even, 4);

    const Result<int> odd = Half(7);
    EXPECT_FALSE(odd.Ok());
    EXPECT_FALSE(static_cast<bool>(odd));
    EXPECT_EQ(odd.Error(), "7 is odd");
}

TEST(Result, AStringValueIsNotTakenForAMessage) {
    const Result<std::string> value = std::string("a value");
    ASSERT_TRUE(value.Ok());
    EXPECT_EQ(*value, "a value");
    EXPECT_EQ(value->size(), 7u);

    const Result<std::string> failed = Failure{"a value"};
    ASSERT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Error(), "a value");
}

TEST(Result, AMoveOnlyValueMovesOut) {
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(42);
    ASSERT_TRUE(owned.Ok());
    const std::unique_ptr<int> taken = *std::move(owned);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 42);
}

TEST(Result, AskingTheWrongSideThrowsRatherThanReadingGarbage) {
    const Result<std::vector<int>> failed = Failure{"no list"};
    EXPECT_THROW((void)*failed, std::bad_variant_access);
    const Result<int> ok = 3;
    EXPECT_THROW((void)ok.Error(), std::bad_variant_access);
}

TEST(ResultOfVoid, SucceedsEmptyOrFailsWithItsMessage) {
    const Result<void> done;
    EXPECT_TRUE(done.Ok());
    EXPECT_EQ(done.Error(), "");

    const Result<void> failed = Failure{"Cannot write file \"x\"."};
    EXPECT_FALSE(failed.Ok());
    EXPECT_FALSE(static_cast<bool>(failed));
    EXPECT_EQ(failed.Error(), "Cannot write file \"x\".");

    // A failure without words is still a failure.
    const Result<void> silent = Failure{};
    EXPECT_FALSE(silent.Ok());
}

}  // namespace
}  // namespace kestrune
