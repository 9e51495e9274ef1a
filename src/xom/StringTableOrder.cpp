#include "xom/StringTableOrder.h"

#include "xom/ArenaKey.h"
#include "xom/Parallel.h"

#include "text/CompilerHints.h"
#include "text/QuickSort.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>

namespace xom {

namespace {

constexpr std::uint32_t WindowBytes = 16;

// A string as the fast sort moves it: a window of sixteen bytes of its image,
// padded with zeros past its end, and its list index. Cutting images to a
// window and padding them never reverses their order, so among strings that
// agree before the window, unequal windows order the images and equal ones
// leave it to the bytes after the window.
struct WindowKey {
    std::array<unsigned char, WindowBytes> bytes;
    std::int32_t index;
};
static_assert(sizeof(WindowKey) == 20);

// Bytes first .. first + 7 of a window as a number that orders as they do.
std::uint64_t windowHalf(const WindowKey& key, const std::size_t first) noexcept
{
    std::uint64_t half = 0;
    std::memcpy(&half, key.bytes.data() + first, sizeof half);
    return qFromBigEndian(half);
}

bool windowLess(const WindowKey& a, const WindowKey& b) noexcept
{
    const std::uint64_t aHigh = windowHalf(a, 0);
    const std::uint64_t bHigh = windowHalf(b, 0);
    if (aHigh != bHigh)
        return aHigh < bHigh;
    return windowHalf(a, 8) < windowHalf(b, 8);
}

bool sameWindow(const WindowKey& a, const WindowKey& b) noexcept
{
    return windowHalf(a, 0) == windowHalf(b, 0) && windowHalf(a, 8) == windowHalf(b, 8);
}

unsigned windowByte(const WindowKey& key, const std::size_t byte) noexcept
{
    return key.bytes[byte];
}

// Sorts keys first .. last - 1, which agree on their windows' bytes before
// byte, by their windows: in place, a byte at a time, spreading the keys
// over the byte's 256 values, until the ranges are small enough for a
// comparison sort. Recurses at most once for each byte of the window.
void sortByWindows(WindowKey* const first, WindowKey* const last, const std::size_t byte = 0) noexcept
{
    constexpr std::ptrdiff_t ComparisonSortBelow = 64;
    if (byte == WindowBytes)
        return;
    if (last - first < ComparisonSortBelow) {
        std::sort(first, last, windowLess);
        return;
    }
    std::array<std::size_t, 257> starts{};
    for (const WindowKey* key = first; key != last; ++key)
        ++starts[windowByte(*key, byte) + 1];
    if (std::find(starts.begin(), starts.end(), static_cast<std::size_t>(last - first)) != starts.end()) {
        sortByWindows(first, last, byte + 1);
        return;
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    // Each key not yet in its value's range is carried there, and the key it
    // displaces onward, until one lands where the carrying began.
    std::array<std::size_t, 256> next{};
    std::copy(starts.begin(), starts.end() - 1, next.begin());
    for (unsigned value = 0; value < 256; ++value) {
        while (next[value] < starts[value + 1]) {
            WindowKey carried = first[next[value]];
            for (unsigned to = windowByte(carried, byte); to != value; to = windowByte(carried, byte))
                std::swap(carried, first[next[to]++]);
            first[next[value]++] = carried;
        }
    }
    for (unsigned value = 0; value < 256; ++value)
        sortByWindows(first + starts[value], first + starts[value + 1], byte + 1);
}

class ImageList {
public:
    ImageList(const unsigned char* images, const std::span<const std::uint32_t> ends) noexcept
        : m_images(images)
        , m_ends(ends)
    {
    }

    [[nodiscard]] std::uint32_t lengthOf(const std::int32_t index) const noexcept
    {
        return m_ends[static_cast<std::size_t>(index)] - beginOf(index);
    }

    // Sets key's window to the image's bytes from depth on; gives the
    // image's length.
    std::uint32_t fillWindow(WindowKey& key, const std::uint32_t depth) const noexcept
    {
        const std::uint32_t length = lengthOf(key.index);
        key.bytes = {};
        if (length > depth)
            std::memcpy(key.bytes.data(), m_images + beginOf(key.index) + depth, std::min(length - depth, WindowBytes));
        return length;
    }

    [[nodiscard]] WindowKey firstWindow(const std::int32_t index) const noexcept
    {
        WindowKey key{};
        key.index = index;
        fillWindow(key, 0);
        return key;
    }

    // The byte order of two strings' images, a proper prefix first; a and b
    // hold their first windows.
    [[nodiscard]] bool lessFromFirstWindows(const WindowKey& a, const WindowKey& b) const noexcept
    {
        if (!sameWindow(a, b))
            return windowLess(a, b);
        return compareFrom(a.index, b.index, WindowBytes) < 0;
    }

    // Sorts keys first .. last - 1, whose first windows they hold, by their
    // strings' images. False, leaving the keys in no useful order, when two
    // images are equal.
    bool sort(WindowKey* const first, WindowKey* const last) const
    {
        sortByWindows(first, last);
        return sortRuns(first, last, WindowBytes);
    }

    // Keys first .. last - 1 stand in order of their windows, which end at
    // depth; sorts each run of equal windows by the windows that follow,
    // until each run is one string. False, leaving the keys in no useful
    // order, when two images are equal: they share a run to the end.
    bool sortRuns(WindowKey* const first, WindowKey* const last, const std::uint32_t depth) const
    {
        // Runs are taken depth first, so the pending levels are at most the
        // longest image's windows, not the runs.
        struct Level {
            WindowKey* next; // where the next run of the level begins
            WindowKey* end;
            std::uint32_t depth; // the bytes every run of the level agrees on
        };
        std::vector<Level> levels;
        levels.push_back({first, last, depth});
        while (!levels.empty()) {
            Level& level = levels.back();
            if (level.next == level.end) {
                levels.pop_back();
                continue;
            }
            WindowKey* const runBegin = level.next;
            WindowKey* runEnd = runBegin + 1;
            while (runEnd != level.end && sameWindow(*runEnd, *runBegin))
                ++runEnd;
            level.next = runEnd;
            if (runEnd - runBegin < 2)
                continue;
            const std::uint32_t runDepth = level.depth;
            bool goesOn = false;
            for (WindowKey* key = runBegin; key != runEnd; ++key) {
                prefetchWindow(key, runEnd, runDepth);
                goesOn = fillWindow(*key, runDepth) > runDepth || goesOn;
            }
            if (!goesOn) {
                // Every image ends within the bytes the run agrees on: each
                // is a prefix of the longer ones, and two of one length are
                // the same bytes.
                const auto shorter = [this](const WindowKey& a, const WindowKey& b) noexcept {
                    return lengthOf(a.index) < lengthOf(b.index);
                };
                std::sort(runBegin, runEnd, shorter);
                if (std::adjacent_find(runBegin, runEnd,
                        [this](const WindowKey& a, const WindowKey& b) noexcept {
                            return lengthOf(a.index) == lengthOf(b.index);
                        })
                    != runEnd)
                    return false;
                continue;
            }
            sortByWindows(runBegin, runEnd);
            levels.push_back({runBegin, runEnd, runDepth + WindowBytes});
        }
        return true;
    }

private:
    // The keys of a run stand in sorted order, their images anywhere: asks
    // for the image's end a few keys ahead, and for its window when that end
    // has had time to arrive.
    void prefetchWindow(
        const WindowKey* const key, const WindowKey* const runEnd, const std::uint32_t depth) const noexcept
    {
        constexpr std::ptrdiff_t EndsAhead = 16;
        constexpr std::ptrdiff_t WindowAhead = 8;
        if (runEnd - key > EndsAhead)
            text::prefetchForRead(&m_ends[static_cast<std::size_t>(key[EndsAhead].index) - 1]);
        if (runEnd - key > WindowAhead)
            text::prefetchForRead(m_images + beginOf(key[WindowAhead].index) + depth);
    }

    [[nodiscard]] std::uint32_t beginOf(const std::int32_t index) const noexcept
    {
        return m_ends[static_cast<std::size_t>(index) - 1];
    }

    // The byte order of the images of a and b, which agree before depth
    // where both go on.
    [[nodiscard]] int compareFrom(const std::int32_t a, const std::int32_t b, const std::uint32_t depth) const noexcept
    {
        const std::uint32_t aLength = lengthOf(a);
        const std::uint32_t bLength = lengthOf(b);
        const std::uint32_t shorter = std::min(aLength, bLength);
        const std::uint32_t from = std::min(shorter, depth);
        if (shorter > from) {
            const int bytes = std::memcmp(m_images + beginOf(a) + from, m_images + beginOf(b) + from, shorter - from);
            if (bytes != 0)
                return bytes < 0 ? -1 : 1;
        }
        if (aLength != bLength)
            return aLength < bLength ? -1 : 1;
        return 0;
    }

    const unsigned char* m_images;
    std::span<const std::uint32_t> m_ends;
};

// Moves every string that belongs below the rest to the front, about half
// of them, and gives how many. The split is at a window, the median of a
// sample: a window decides the order against every other window, and the
// strings of one window, whose order only their later bytes decide, stay on
// one side. A split far from even, from many strings of one window, falls
// back to the exact median.
std::size_t splitByFirstWindows(WindowKey* const keys, const std::size_t count, const ImageList& list)
{
    constexpr std::size_t Samples = 1024;
    std::array<WindowKey, Samples> sample;
    for (std::size_t i = 0; i < Samples; ++i)
        sample[i] = keys[i * count / Samples];
    std::nth_element(sample.begin(), sample.begin() + Samples / 2, sample.end(), windowLess);
    const WindowKey pivot = sample[Samples / 2];
    const WindowKey* const split = std::partition(
        keys, keys + count, [&pivot](const WindowKey& key) noexcept { return !windowLess(pivot, key); });
    const auto below = static_cast<std::size_t>(split - keys);
    if (below >= count / 4 && below <= count - count / 4)
        return below;
    std::nth_element(keys, keys + count / 2, keys + count,
        [&list](const WindowKey& a, const WindowKey& b) noexcept { return list.lessFromFirstWindows(a, b); });
    return count / 2;
}

std::size_t stringCount(const std::span<const std::uint32_t> imageEnds) noexcept
{
    return imageEnds.empty() ? 0 : imageEnds.size() - 1;
}

} // namespace

std::optional<std::vector<std::int32_t>> distinctImagesOrder(
    const unsigned char* images, const std::span<const std::uint32_t> imageEnds)
{
    const std::size_t count = stringCount(imageEnds);
    std::vector<std::int32_t> order(count);
    if (count < 2) {
        std::iota(order.begin(), order.end(), 1);
        return order;
    }
    const ImageList list(images, imageEnds);
    auto keys = std::make_unique_for_overwrite<WindowKey[]>(count);
    const auto makeKeys = [&](const std::size_t first, const std::size_t last) {
        for (std::size_t i = first; i < last; ++i)
            keys[i] = list.firstWindow(static_cast<std::int32_t>(i + 1));
    };
    const auto writeOrder = [&](const std::size_t first, const std::size_t last) {
        for (std::size_t i = first; i < last; ++i)
            order[i] = keys[i].index;
    };

    bool distinct = true;
    if (!worthTwoThreads(count)) {
        makeKeys(0, count);
        distinct = list.sort(keys.get(), keys.get() + count);
        if (distinct)
            writeOrder(0, count);
    } else {
        // Each core makes half of the keys; every string that belongs in
        // the lower half is moved there, and each core sorts one half by
        // the first windows. The runs of equal windows, where the work is
        // uneven, go in chunks to whichever core is free.
        bothAtOnce([&] { makeKeys(0, count / 2); }, [&] { makeKeys(count / 2, count); });
        const std::size_t half = splitByFirstWindows(keys.get(), count, list);
        const auto sortByFirstWindows = [&](const std::size_t first, const std::size_t last) {
            sortByWindows(keys.get() + first, keys.get() + last);
        };
        bothAtOnce([&] { sortByFirstWindows(0, half); }, [&] { sortByFirstWindows(half, count); });

        // Chunks begin where a run does, and are fixed before any run is
        // sorted, which rewrites its windows.
        constexpr std::size_t Chunks = 64;
        std::array<std::size_t, Chunks + 1> bounds{};
        for (std::size_t c = 1; c < Chunks; ++c) {
            std::size_t at = std::max(bounds[c - 1], c * count / Chunks);
            while (at > 0 && at < count && sameWindow(keys[at], keys[at - 1]))
                ++at;
            bounds[c] = at;
        }
        bounds[Chunks] = count;
        std::atomic<std::size_t> nextChunk{0};
        std::atomic<bool> equal{false};
        const auto sortChunks = [&] {
            for (std::size_t c = nextChunk++; c < Chunks && !equal.load(std::memory_order_relaxed); c = nextChunk++) {
                if (list.sortRuns(keys.get() + bounds[c], keys.get() + bounds[c + 1], WindowBytes))
                    writeOrder(bounds[c], bounds[c + 1]);
                else
                    equal = true;
            }
        };
        bothAtOnce(sortChunks, sortChunks);
        distinct = !equal;
    }
    if (distinct)
        return order;
    return std::nullopt;
}

std::vector<std::int32_t> stringTableOrder(const unsigned char* images, const std::span<const std::uint32_t> imageEnds)
{
    if (std::optional<std::vector<std::int32_t>> order = distinctImagesOrder(images, imageEnds))
        return *std::move(order);
    return exactStringTableOrder(images, imageEnds);
}

std::vector<std::int32_t> exactStringTableOrder(
    const unsigned char* images, const std::span<const std::uint32_t> imageEnds)
{
    const std::size_t count = stringCount(imageEnds);
    std::vector<ArenaKey> items;
    items.reserve(count);
    for (std::size_t k = 1; k <= count; ++k) {
        const std::uint32_t offset = imageEnds[k - 1];
        items.emplace_back(images, offset, imageEnds[k] - offset, static_cast<std::int32_t>(k));
    }
    const auto compare = [&](const int i, const int j) {
        return items[static_cast<std::size_t>(i)].compare(items[static_cast<std::size_t>(j)], images);
    };
    const auto swap = [&](const int i, const int j) {
        std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
    };
    text::quickSortPositions(static_cast<int>(count), compare, swap);
    std::vector<std::int32_t> order;
    order.reserve(count);
    for (const ArenaKey& item : items)
        order.push_back(item.index);
    return order;
}

} // namespace xom
