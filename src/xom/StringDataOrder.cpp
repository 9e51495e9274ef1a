#include "xom/StringDataOrder.h"

#include "xom/LoadedStringOrder.h"
#include "xom/StringImages.h"
#include "xom/StringTableOrder.h"

#include <optional>

namespace xom {

namespace {

const unsigned char* bytesOf(const StringImages& images)
{
    return reinterpret_cast<const unsigned char*>(images.images.constData());
}

StringDataOrder sorted(std::vector<std::int32_t> order, StringImages images)
{
    return StringDataOrder{std::move(order), {}, std::move(images.utf8Lengths), std::move(images.images)};
}

} // namespace

StringDataOrder orderStringData(StringTable& strings, const EntryTable& entries)
{
    LoadedOrderCheck loaded = orderFromLoadedTexts(strings, entries.loadedTexts);
    if (loaded.order)
        return *std::move(loaded.order);
    // Strings whose images are all different are all different texts: the
    // table collected by ids alone is then the one canonical ids give, and
    // the pool needs no index. When the loaded file showed two texts that
    // image alike, the fast sort would only find them too.
    if (!loaded.alikeImages) {
        StringImages images = imageStrings(strings);
        if (std::optional<std::vector<std::int32_t>> order = distinctImagesOrder(bytesOf(images), images.ends))
            return sorted(*std::move(order), std::move(images));
        if (strings.canonical) {
            std::vector<std::int32_t> order = exactStringTableOrder(bytesOf(images), images.ends);
            return sorted(std::move(order), std::move(images));
        }
    }
    if (!strings.canonical) {
        entries.texts.ensureIndexed();
        strings = collectStrings(entries, strings.kept);
    }
    StringImages images = imageStrings(strings);
    std::vector<std::int32_t> order = exactStringTableOrder(bytesOf(images), images.ends);
    return sorted(std::move(order), std::move(images));
}

} // namespace xom
