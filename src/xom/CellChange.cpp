#include "xom/CellChange.h"

namespace xom {

namespace {

QString& cellOf(EntryTable& table, const CellChange& change)
{
    return table.rows.at(static_cast<std::size_t>(change.gridRow - 1)).cell(change.column);
}

} // namespace

void applyCellChanges(EntryTable& table, const std::vector<CellChange>& changes)
{
    for (const CellChange& change : changes)
        cellOf(table, change) = change.newText;
}

void revertCellChanges(EntryTable& table, const std::vector<CellChange>& changes)
{
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        cellOf(table, *it) = it->oldText;
}

} // namespace xom
