#include "xom/EntryDrop.h"

#include <algorithm>

namespace xom {

namespace {

bool hasStringResourceCount(const LanguageModel& model)
{
    return model.StringResourceType >= 0 && model.StringResourceType < static_cast<int>(model.TypeTable.size());
}

// The string resource count, when the file has one to change.
qint32* stringResourceCount(LanguageModel& model)
{
    if (!hasStringResourceCount(model))
        return nullptr;
    return &model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
}

// Moves the count like the 32-bit field it is written to: it wraps, never
// overflows.
void moveCount(qint32& count, const std::size_t by, const bool raise)
{
    const auto step = static_cast<quint32>(by);
    count = static_cast<qint32>(raise ? static_cast<quint32>(count) + step : static_cast<quint32>(count) - step);
}

} // namespace

EntryDrop entryDropOf(const EntryTable& table, const LanguageModel& model, std::vector<int> gridRows)
{
    std::sort(gridRows.begin(), gridRows.end());
    gridRows.erase(std::unique(gridRows.begin(), gridRows.end()), gridRows.end());
    std::erase_if(gridRows, [&](const int gridRow) { return gridRow < 1 || gridRow > table.entryCount(); });

    EntryDrop drop;
    const std::size_t rows = table.rows.size();
    drop.order.reserve(rows);
    std::vector<bool> dropped(rows, false);
    std::vector<std::uint32_t> droppedNumbers;
    for (const int gridRow : gridRows) {
        const auto row = static_cast<std::size_t>(gridRow - 1);
        dropped[row] = true;
        if (!table.rows[row].numberIsText())
            droppedNumbers.push_back(table.rows[row].number);
    }
    std::sort(droppedNumbers.begin(), droppedNumbers.end());
    droppedNumbers.erase(std::unique(droppedNumbers.begin(), droppedNumbers.end()), droppedNumbers.end());

    for (std::size_t row = 0; row < rows; ++row) {
        if (dropped[row])
            continue;
        const EntryRow& record = table.rows[row];
        drop.order.push_back(static_cast<std::int32_t>(row));
        if (record.numberIsText())
            continue;
        const auto below = std::lower_bound(droppedNumbers.begin(), droppedNumbers.end(), record.number);
        const bool shared = below != droppedNumbers.end() && *below == record.number;
        const auto lowerBy = static_cast<std::uint32_t>(below - droppedNumbers.begin());
        if (shared || lowerBy == 0)
            continue;
        drop.renumbered.push_back(CellChange{static_cast<int>(drop.order.size()), NumberColumn,
            QString::number(record.number), QString::number(record.number - lowerBy)});
    }
    for (const int gridRow : gridRows) {
        drop.order.push_back(gridRow - 1);
        drop.dropped.push_back(table.entry(gridRow - 1));
    }
    drop.countLowered = hasStringResourceCount(model);
    return drop;
}

void takeOffDroppedRows(EntryTable& table, LanguageModel& model, const EntryDrop& drop)
{
    const std::size_t count = std::min(drop.dropped.size(), table.rows.size());
    table.rows.resize(table.rows.size() - count);
    if (qint32* const resources = stringResourceCount(model); resources && drop.countLowered)
        moveCount(*resources, count, false);
}

void putBackDroppedRows(EntryTable& table, LanguageModel& model, const EntryDrop& drop)
{
    table.rows.reserve(table.rows.size() + drop.dropped.size());
    for (const Entry& entry : drop.dropped)
        table.append(entry);
    if (qint32* const resources = stringResourceCount(model); resources && drop.countLowered)
        moveCount(*resources, drop.dropped.size(), true);
}

} // namespace xom
