#include "text/QuickSort.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

// An item to sort: the key the comparer sees and the position it started
// at, which tells equal items apart in the final order.
struct Item {
    int key;
    int origin;
};

// The list's quicksort transcribed step by step, recursing on the left part
// as the procedure does.
void referenceQuickSort(std::vector<Item>& items, int left, const int right)
{
    int i = 0;
    do {
        i = left;
        int j = right;
        int pivot = (left + right) / 2;
        do {
            while (items[static_cast<std::size_t>(i)].key < items[static_cast<std::size_t>(pivot)].key)
                ++i;
            while (items[static_cast<std::size_t>(j)].key > items[static_cast<std::size_t>(pivot)].key)
                --j;
            if (i <= j) {
                std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
                if (pivot == i)
                    pivot = j;
                else if (pivot == j)
                    pivot = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            referenceQuickSort(items, left, j);
        left = i;
    } while (i < right);
}

std::vector<int> originsOf(const std::vector<Item>& items)
{
    std::vector<int> origins;
    for (const Item& item : items)
        origins.push_back(item.origin);
    return origins;
}

TEST(QuickSortPositions, LeavesEqualItemsInTheOrderOfTheProcedure)
{
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const int count = std::uniform_int_distribution<int>(2, round % 10 == 0 ? 2000 : 60)(random);
        // Few distinct keys, so most comparisons meet equal items.
        const int distinct = std::uniform_int_distribution<int>(1, round % 3 == 0 ? count : 4)(random);
        std::vector<Item> items;
        for (int origin = 0; origin < count; ++origin)
            items.push_back(Item{std::uniform_int_distribution<int>(0, distinct - 1)(random), origin});

        std::vector<Item> expected = items;
        referenceQuickSort(expected, 0, count - 1);

        std::vector<Item> actual = items;
        text::quickSortPositions(
            count,
            [&](const int i, const int j) {
                return actual[static_cast<std::size_t>(i)].key - actual[static_cast<std::size_t>(j)].key;
            },
            [&](const int i, const int j) {
                std::swap(actual[static_cast<std::size_t>(i)], actual[static_cast<std::size_t>(j)]);
            });
        ASSERT_EQ(originsOf(actual), originsOf(expected)) << "round " << round << ", " << count << " items";
    }
}

} // namespace
