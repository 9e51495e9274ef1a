#pragma once

#include "xom/ContainerPlaces.h"
#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/SaveProgress.h"
#include "xom/StringDataOrder.h"
#include "xom/StringTable.h"

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace xom {

// The row of each entry number (the first row whose number cell is exactly
// its decimal text) and the number each row was matched by (0 for none).
struct EntryNumbers {
    std::vector<int> rowOfNumber;
    std::vector<std::uint32_t> numberOfRow;
};
[[nodiscard]] EntryNumbers matchEntryNumbers(const EntryTable& entries);

// Where every part of a save goes (see docs/format.md): the string table
// and each string's bytes in its data, every container.
struct SaveLayout {
    qsizetype stringTable = 0; // "STRS"
    qsizetype dataStart = 0;
    qsizetype dataSize = 1;                 // a NUL, then each string's bytes and NUL
    std::vector<std::uint32_t> dataOffsets; // per string in list order
    ContainerPlaces places;
};

// The save measured exactly, before any byte is written: the strings'
// offsets in the order of their bytes (reported from 20 to 40), then the
// containers' sizes and places.
[[nodiscard]] SaveLayout measureLayout(const EntryTable& entries, const LanguageModel& model,
    const StringTable& strings, const StringDataOrder& data, const EntryNumbers& numbers, const SaveProgress& progress);

// The size of the string resource container of a row whose text and name
// have these indices.
[[nodiscard]] qsizetype stringResourceSize(std::int32_t textIndex, std::int32_t nameIndex);

} // namespace xom
