#pragma once

#include "xom/FileLayout.h"
#include "xom/LanguageModel.h"

#include <QtGlobal>

#include <vector>

namespace xom {

// Where each run of containers goes. Every type gets, at its place in the
// table, exactly the containers that its instance count announces, so that a
// reader walking the counts finds each container where its type says:
//  - the string resource type that the load used: one container per entry
//    number, then empty ones (text and name index 0) up to its count, for a
//    file whose count exceeds its entries;
//  - another type of that name: empty string resources, which a reader takes
//    in and then overwrites with those of the type that follows it;
//  - the data bank type that holds an instance: the data bank; other data
//    bank types (count 0) nothing;
//  - any other type: its carried containers, then bare "CTNR" magics up to
//    its count, for a load whose walk ended before the type was complete.
// A file without a string resource type gets the string resources just
// before the data bank, and one without a data bank instance the data bank
// last, where the usual layout has them.
struct ContainerPlaces {
    qsizetype stringResources = -1;
    qsizetype dataBank = -1;
    std::vector<qsizetype> carried; // beside model.carriedContainers
    struct Run {
        qsizetype at = 0;
        qsizetype count = 0;
    };
    std::vector<Run> emptyStringResources;
    std::vector<Run> emptyContainers;
    qsizetype containerCount = 0;
    qsizetype end = 0; // the file's size
};

// The size of a string resource container whose two indices are 0.
inline constexpr qsizetype EmptyStringResourceSize
    = layout::MagicContainer.size() + layout::StringResourceReservedSize + 2 + layout::StringResourceTrailer;

// The containers placed from position on: entryCount string resources of
// stringResourceBytes in all, a data bank of dataBankBytes.
[[nodiscard]] ContainerPlaces placeContainers(const LanguageModel& model, qsizetype position, qsizetype entryCount,
    qsizetype stringResourceBytes, qsizetype dataBankBytes);

} // namespace xom
