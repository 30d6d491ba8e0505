// A specification of many small programs is mostly programs without fields, so an empty group
// must not allocate storage for fields it may never get. Counted with a global operator new,
// which is why this is an executable of its own.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "fields/FieldContext.h"
#include "fields/Group.h"

namespace {

bool counting = false;
std::size_t allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (counting) {
        ++allocations;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

// These are the replacements of the operators, so freeing what they allocated is right.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace kestrune {
namespace {

std::size_t AllocationsOf(const std::function<void()>& action) {
    allocations = 0;
    counting = true;
    action();
    counting = false;
    return allocations;
}

TEST(GroupAllocation, AGroupWithoutFieldsAllocatesNothing) {
    FieldContext context;
    // Short texts stay inside the strings themselves, so any allocation is the group's own.
    EXPECT_EQ(AllocationsOf([&] { TZRGroup group(context, "P1", true, "x", "P1:"); }), 0u);
}

TEST(GroupAllocation, FieldStorageGrowsOnlyForTheKindsAdded) {
    FieldContext context;
    TZRGroup group(context, "P1", false, "x", "P1:");
    group.AddLabel("L");
    const std::size_t checkBox = AllocationsOf([&] {
        group.AddCheckBox({"C", "-c", "", "", false, 1}, false);
    });
    // The new list's storage and the check box's own parts; nothing for the four other kinds.
    EXPECT_EQ(checkBox, 1u + AllocationsOf([&] {
                            TZRCheckBox box(context, {"C", "-c", "", "", false, 1}, false, 0, 0);
                        }));
    EXPECT_EQ(group.Labels.size(), 1u);
    EXPECT_EQ(group.CheckBoxes.size(), 1u);
    EXPECT_EQ(group.EditBoxes.capacity() + group.ComboBoxes.capacity() +
                  group.BrowseBoxes.capacity() + group.ColorBoxes.capacity(),
              0u);
}

}  // namespace
}  // namespace kestrune
