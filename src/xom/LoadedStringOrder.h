#pragma once

#include "xom/StringDataOrder.h"
#include "xom/StringTable.h"

#include <optional>

namespace xom {

// The string data's order without a sort, when the loaded file shows it.
// The texts that came from its string table (the pool's ids below
// loadedTexts) lie in the pool in the order of their bytes in its data,
// which the save that wrote it sorted by image. When their images ascend
// strictly in that order, that is the one order every sort gives them, the
// list's quicksort included; the few texts added since are sorted on their
// own and merged in.
struct LoadedOrderCheck {
    // The order, when it held.
    std::optional<StringDataOrder> order;
    // Two different texts of the table image alike: only the exact sort can
    // order them.
    bool alikeImages = false;
};
[[nodiscard]] LoadedOrderCheck orderFromLoadedTexts(const StringTable& table, TextId loadedTexts);

} // namespace xom
