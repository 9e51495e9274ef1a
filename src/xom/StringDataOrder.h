#pragma once

#include "xom/EntryTable.h"
#include "xom/StringTable.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace xom {

// The order of a string table's bytes in the data: the list indices 1 ..
// count - 1 in ascending order of the strings' ANSI images, as the list's
// quicksort leaves them (exactStringTableOrder), and every string's UTF-8
// length.
struct StringDataOrder {
    std::vector<std::int32_t> order;
    // When the loaded file gave the order: the strings' ids beside order,
    // ascending, so that the pool can be read front to back. Empty
    // otherwise.
    std::vector<TextId> orderIds;
    std::vector<std::uint32_t> utf8Lengths;
    // The sort's arena once the sort is done: memory already in hand for
    // the data when it fits, rather than a fresh buffer the size of it.
    QByteArray spare;
};

// Orders strings, the table collectStrings made of entries. Three routes
// give the one order, the cheapest that can first; each gives the exact
// quicksort's order whenever it gives one:
//  1. the loaded file's own order, checked (orderFromLoadedTexts): a save of
//     a file laid out as saves lay it out reads the pool front to back and
//     sorts nothing (a million entries: the whole resave takes about a
//     third of the time it takes by route 2);
//  2. the fast sort of distinct images (distinctImagesOrder), which needs no
//     index of the pool (a million entries sorted anew: the whole resave
//     takes about a third less time than by route 3);
//  3. the list's quicksort (exactStringTableOrder) over the table collected
//     again by canonical ids, when two strings image alike. A loaded file
//     that shows two texts imaging alike comes here at once.
// May replace strings by the table collected again; may index entries.texts.
[[nodiscard]] StringDataOrder orderStringData(StringTable& strings, const EntryTable& entries);

} // namespace xom
