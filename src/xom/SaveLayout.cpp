#include "xom/SaveLayout.h"

#include "xom/FileLayout.h"
#include "xom/Varint.h"

namespace xom {

namespace {

// Each string's offset in the data, and the data's size: the data lays the
// strings out in the order of their bytes, while the offsets stay in list
// order.
void placeStrings(SaveLayout& measured, const StringDataOrder& data, const SaveProgress& progress)
{
    measured.dataOffsets.assign(data.utf8Lengths.size(), 0);
    const auto sortedCount = static_cast<qint64>(data.order.size());
    qsizetype running = 1;
    for (qint64 i = 0; i < sortedCount; ++i) {
        const auto slot = static_cast<std::size_t>(data.order[static_cast<std::size_t>(i)]);
        measured.dataOffsets[slot] = static_cast<std::uint32_t>(running);
        running += data.utf8Lengths[slot] + 1;
        progress.step(i, sortedCount, 20, 20);
    }
    measured.dataSize = running;
}

} // namespace

EntryNumbers matchEntryNumbers(const EntryTable& entries)
{
    const int gridRows = entries.gridRowCount();
    EntryNumbers numbers{
        std::vector<int>(static_cast<std::size_t>(gridRows), -1), std::vector<std::uint32_t>(entries.rows.size(), 0)};
    for (std::size_t row = 0; row < entries.rows.size(); ++row) {
        // A number kept as text is never a plain decimal (the table keeps
        // those as values), so no entry is found by it.
        const EntryRow& record = entries.rows[row];
        const int number
            = !record.numberIsText() && record.number >= 1 && record.number < static_cast<std::uint32_t>(gridRows)
                ? static_cast<int>(record.number)
                : -1;
        if (number > 0 && numbers.rowOfNumber[static_cast<std::size_t>(number)] < 0) {
            numbers.rowOfNumber[static_cast<std::size_t>(number)] = static_cast<int>(row);
            numbers.numberOfRow[row] = static_cast<std::uint32_t>(number);
        }
    }
    return numbers;
}

qsizetype stringResourceSize(const std::int32_t textIndex, const std::int32_t nameIndex)
{
    return layout::MagicContainer.size() + layout::StringResourceReservedSize
         + varintLength(static_cast<std::uint32_t>(textIndex)) + varintLength(static_cast<std::uint32_t>(nameIndex))
         + layout::StringResourceTrailer;
}

SaveLayout measureLayout(const EntryTable& entries, const LanguageModel& model, const StringTable& strings,
    const StringDataOrder& data, const EntryNumbers& numbers, const SaveProgress& progress)
{
    SaveLayout measured;
    placeStrings(measured, data, progress);
    // The data bank's size counts the numbers the rows were matched by; a
    // row left unmatched means a number is missing and the save stops before
    // the data bank is written.
    const std::size_t rows = entries.rows.size();
    qsizetype stringResourceBytes = 0;
    qsizetype dataBankBytes = layout::MagicContainer.size() + layout::DataBankReservedSize
                            + varintLength(static_cast<std::uint32_t>(rows)) + layout::DataBankTrailer;
    for (std::size_t row = 0; row < rows; ++row) {
        if (row + StringTable::RowsAhead < rows)
            strings.prefetchIndicesOf(entries.rows[row + StringTable::RowsAhead]);
        const EntryRow& record = entries.rows[row];
        stringResourceBytes += stringResourceSize(strings.indexOfText(record.text), strings.indexOfText(record.name));
        dataBankBytes += varintLength(numbers.numberOfRow[row]);
    }
    const auto typeCount = static_cast<qsizetype>(model.TypeTable.size());
    measured.stringTable = layout::typeTableEnd(typeCount) + 2 * layout::ChunkSize;
    measured.dataStart
        = measured.stringTable + layout::StringTableHeaderSize + 4 * static_cast<qsizetype>(strings.count());
    measured.places = placeContainers(model, measured.dataStart + measured.dataSize, static_cast<qsizetype>(rows),
        stringResourceBytes, dataBankBytes);
    return measured;
}

} // namespace xom
