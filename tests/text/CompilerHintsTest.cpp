// The compiler hints compile on the compiler at hand and change nothing they
// are given, whatever the address.
#include "text/CompilerHints.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

static_assert(noexcept(text::prefetchForRead(nullptr)));
static_assert(noexcept(text::prefetchForWrite(nullptr)));

TEST(CompilerHints, PrefetchesLeaveMemoryAsItWas)
{
    std::array<int, 4> onStack{1, 2, 3, 4};
    std::vector<int> onHeap{5, 6, 7};
    const struct {
        const char* what;
        const void* address;
    } rows[] = {
        {"on the stack", onStack.data()},
        {"in the middle of an array", &onStack[2]},
        {"on the heap", onHeap.data()},
        {"one past the end", onHeap.data() + onHeap.size()},
        // A prefetch never faults, so a hint may run ahead of the data.
        {"null", nullptr},
    };
    for (const auto& row : rows) {
        text::prefetchForRead(row.address);
        text::prefetchForWrite(row.address);
        EXPECT_EQ(onStack, (std::array<int, 4>{1, 2, 3, 4})) << row.what;
        EXPECT_EQ(onHeap, (std::vector<int>{5, 6, 7})) << row.what;
    }
}

} // namespace
