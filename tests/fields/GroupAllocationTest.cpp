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

TEST(GroupAllocation, AFieldCostsItsOwnPartsAndItsPlaceInItsList) {
    FieldContext context;
    TZRGroup group(context, "P1", false, "x", "P1:");
    const FieldDescription description{"C", "-c", "", "", false, 1};
    const std::size_t own =
        AllocationsOf([&] { TZRCheckBox box(context, description, false, 0, 0); });
    // The field itself, kept at its own address, and the list's first slot; nothing for the
    // other kinds.
    EXPECT_EQ(AllocationsOf([&] { group.AddCheckBox(description, false); }), own + 2);
}

TEST(GroupAllocation, FieldsKeepTheirAddressesWhileMoreAreAdded) {
    FieldContext context;
    TZRGroup group(context, "P1", false, "x", "P1:");
    TZRCheckBox& first = group.AddCheckBox({"First", "-1", "", "", false, 1}, false);
    for (int i = 0; i < 100; ++i) {
        group.AddCheckBox({"More", "-m", "", "", false, 1}, false);
    }
    EXPECT_EQ(&first, &group.CheckBoxes.front());
    EXPECT_EQ(first.Caption(), "First");
    EXPECT_EQ(group.CheckBoxes.size(), 101u);
}

}  // namespace
}  // namespace kestrune
