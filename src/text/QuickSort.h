#pragma once

#include <concepts>
#include <utility>
#include <vector>

namespace text {

// The string list's quicksort, over positions 0 .. count - 1, with the pivot
// tracked by position. compare(i, j) gives below zero, zero or above zero for
// the items standing at i and j at the moment of the call; swap(i, j)
// exchanges them. It is not stable: items that compare equal end in the
// order this exact procedure leaves them in, and the byte layout of a saved
// string table depends on that order, so it must not be replaced by another
// sort. With fewer than two items compare is never called.
//
// The procedure recurses on the left part and iterates on the right. Each
// partition step touches only its own range, so the two parts may be sorted
// in either order with the same result; the larger one is kept on an explicit
// stack, which bounds the memory by log2(count) ranges whatever the input.
template <typename Compare, typename Swap>
requires std::invocable<Compare&, int, int> && std::invocable<Swap&, int, int>
void quickSortPositions(const int count, Compare&& compare, Swap&& swap)
{
    if (count < 2)
        return;
    std::vector<std::pair<int, int>> pending;
    pending.emplace_back(0, count - 1);
    while (!pending.empty()) {
        auto [low, high] = pending.back();
        pending.pop_back();
        while (low < high) {
            int i = low;
            int j = high;
            int pivot = (low + high) / 2;
            do {
                while (compare(i, pivot) < 0)
                    ++i;
                while (compare(j, pivot) > 0)
                    --j;
                if (i <= j) {
                    swap(i, j);
                    if (pivot == i)
                        pivot = j;
                    else if (pivot == j)
                        pivot = i;
                    ++i;
                    --j;
                }
            } while (i <= j);
            // Left part low .. j, right part i .. high.
            const bool leftPending = low < j;
            const bool rightPending = i < high;
            if (leftPending && rightPending) {
                if (j - low > high - i) {
                    pending.emplace_back(low, j);
                    low = i;
                } else {
                    pending.emplace_back(i, high);
                    high = j;
                }
            } else if (leftPending) {
                high = j;
            } else if (rightPending) {
                low = i;
            } else {
                break;
            }
        }
    }
}

} // namespace text
