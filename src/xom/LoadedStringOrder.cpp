#include "xom/LoadedStringOrder.h"

#include "xom/Parallel.h"
#include "xom/StringImages.h"
#include "xom/Utf8Codec.h"

#include "text/AnsiImage.h"

#include <algorithm>
#include <atomic>
#include <numeric>

namespace xom {

namespace {

// Whether every unit of text is ASCII.
[[nodiscard]] bool isAscii(const QStringView text) noexcept
{
    char16_t any = 0;
    for (const QChar c : text)
        any |= c.unicode();
    return any < 0x80;
}

enum class Ascent { Strict, AlikeImages, Otherwise };

// Whether the images of the pool's texts below end that the table holds
// ascend strictly in the pool's order; their UTF-8 lengths on the way. Fails
// at once, front to back in two halves, on a file sorted some other way.
Ascent loadedTextsAscend(const StringTable& table, const TextId end, std::vector<std::uint32_t>& utf8Lengths)
{
    std::atomic<bool> ascending = true;
    std::atomic<bool> alike = false;
    inTwoHalves(end, [&](const std::size_t begin, const std::size_t last) {
        // Texts of ASCII alone are their own images: their code units'
        // order is their images' order. Any other pair is imaged first.
        ImageScratch scratch[2];
        std::size_t before = begin;
        while (before > 1 && table.indexOf(static_cast<TextId>(before - 1)) < 1)
            --before;
        QStringView previous = before > 1 ? table.pool->view(static_cast<TextId>(before - 1)) : QStringView();
        bool havePrevious = before > 1;
        bool previousAscii = isAscii(previous);
        for (std::size_t id = std::max<std::size_t>(begin, 1); id < last; ++id) {
            const std::int32_t k = table.indexOf(static_cast<TextId>(id));
            if (k < 1)
                continue;
            if (!ascending.load(std::memory_order_relaxed))
                return;
            const QStringView text = table.pool->view(static_cast<TextId>(id));
            const bool ascii = isAscii(text);
            utf8Lengths[static_cast<std::size_t>(k)]
                = static_cast<std::uint32_t>(ascii ? text.size() : utf8Length(text));
            if (havePrevious) {
                const int order = ascii && previousAscii
                                    ? previous.compare(text)
                                    : text::CompareAnsiOrdinal(scratch[0].image(previous), scratch[1].image(text));
                if (order >= 0) {
                    if (order == 0 && previous != text)
                        alike = true;
                    ascending = false;
                }
            }
            previous = text;
            previousAscii = ascii;
            havePrevious = true;
        }
    });
    if (ascending)
        return Ascent::Strict;
    return alike ? Ascent::AlikeImages : Ascent::Otherwise;
}

// The table's strings split by where they came from: the loaded ones in the
// pool's order, the others (added since, and a kept string outside the
// pool) in list order.
struct LoadedAndAdded {
    std::vector<std::int32_t> loaded; // list indices
    std::vector<TextId> loadedIds;    // beside loaded, ascending
    std::vector<std::int32_t> added;  // list indices
};

LoadedAndAdded splitLoadedFromAdded(const StringTable& table, const TextId end)
{
    const std::size_t count = table.count();
    LoadedAndAdded split;
    split.loaded.reserve(count);
    split.loadedIds.reserve(count);
    std::vector<bool> loaded(count, false);
    for (TextId id = 1; id < end; ++id) {
        const std::int32_t k = table.indexOf(id);
        if (k >= 1) {
            split.loaded.push_back(k);
            split.loadedIds.push_back(id);
            loaded[static_cast<std::size_t>(k)] = true;
        }
    }
    for (std::size_t k = 1; k < count; ++k) {
        if (!loaded[k])
            split.added.push_back(static_cast<std::int32_t>(k));
    }
    return split;
}

// Merges the added strings into the loaded ones, which stand in the order
// of their images: the added ones are imaged and sorted, then each is put
// before the first loaded string whose image is above its own. Fills the
// added strings' UTF-8 lengths. Nothing when two images are equal, with
// alikeImages set when their texts differ.
std::optional<StringDataOrder> mergeAdded(
    const StringTable& table, LoadedAndAdded split, std::vector<std::uint32_t>& utf8Lengths, bool& alikeImages)
{
    const auto textAt = [&](const std::int32_t k) { return table.at(static_cast<std::size_t>(k)); };
    QByteArray addedImages;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans; // per added string: start, length
    spans.reserve(split.added.size());
    ImageScratch scratch;
    for (const std::int32_t k : split.added) {
        const QByteArrayView image = scratch.image(textAt(k), &utf8Lengths[static_cast<std::size_t>(k)]);
        spans.emplace_back(static_cast<std::uint32_t>(addedImages.size()), static_cast<std::uint32_t>(image.size()));
        addedImages += image;
    }
    const auto addedImage
        = [&](const std::size_t i) { return QByteArrayView(addedImages).sliced(spans[i].first, spans[i].second); };
    std::vector<std::size_t> addedOrder(split.added.size());
    std::iota(addedOrder.begin(), addedOrder.end(), std::size_t{0});
    std::sort(addedOrder.begin(), addedOrder.end(), [&](const std::size_t a, const std::size_t b) {
        return text::CompareAnsiOrdinal(addedImage(a), addedImage(b)) < 0;
    });
    const auto equalImages = [&](const std::int32_t a, const std::int32_t b) {
        alikeImages = alikeImages || textAt(a) != textAt(b);
        return std::nullopt;
    };
    for (std::size_t i = 1; i < addedOrder.size(); ++i) {
        const std::size_t a = addedOrder[i - 1];
        const std::size_t b = addedOrder[i];
        if (text::CompareAnsiOrdinal(addedImage(a), addedImage(b)) == 0)
            return equalImages(split.added[a], split.added[b]);
    }

    StringDataOrder merged;
    const std::size_t count = table.count();
    merged.order.reserve(count - 1);
    merged.orderIds.reserve(count - 1);
    const auto takeLoaded = [&](const std::size_t from, const std::size_t to) {
        const auto first = static_cast<std::ptrdiff_t>(from);
        const auto last = static_cast<std::ptrdiff_t>(to);
        merged.order.insert(merged.order.end(), split.loaded.begin() + first, split.loaded.begin() + last);
        merged.orderIds.insert(merged.orderIds.end(), split.loadedIds.begin() + first, split.loadedIds.begin() + last);
    };
    std::size_t next = 0;
    for (const std::size_t a : addedOrder) {
        const QByteArrayView image = addedImage(a);
        std::size_t low = next;
        std::size_t high = split.loaded.size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            const int side = text::CompareAnsiOrdinal(scratch.image(textAt(split.loaded[middle])), image);
            if (side == 0)
                return equalImages(split.loaded[middle], split.added[a]);
            if (side < 0)
                low = middle + 1;
            else
                high = middle;
        }
        takeLoaded(next, low);
        merged.order.push_back(split.added[a]);
        merged.orderIds.push_back(table.ids[static_cast<std::size_t>(split.added[a])]);
        next = low;
    }
    takeLoaded(next, split.loaded.size());
    return merged;
}

} // namespace

LoadedOrderCheck orderFromLoadedTexts(const StringTable& table, const TextId loadedTexts)
{
    const std::size_t count = table.count();
    const auto end = static_cast<TextId>(std::min<std::size_t>(loadedTexts, table.pool->size()));
    std::vector<std::uint32_t> utf8Lengths(count, 0);
    LoadedOrderCheck check;
    const Ascent ascent = loadedTextsAscend(table, end, utf8Lengths);
    check.alikeImages = ascent == Ascent::AlikeImages;
    if (ascent != Ascent::Strict)
        return check;
    LoadedAndAdded split = splitLoadedFromAdded(table, end);
    // Past a few new texts the whole sort costs no more than the merge.
    if (split.added.size() > count / 8 + 64)
        return check;
    if (split.added.empty()) {
        check.order = StringDataOrder{std::move(split.loaded), std::move(split.loadedIds), std::move(utf8Lengths), {}};
        return check;
    }
    check.order = mergeAdded(table, std::move(split), utf8Lengths, check.alikeImages);
    if (check.order)
        check.order->utf8Lengths = std::move(utf8Lengths);
    return check;
}

} // namespace xom
