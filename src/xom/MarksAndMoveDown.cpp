#include "xom/EntryOperations.h"

#include <algorithm>

namespace xom {

namespace {

const QString MarkText = QStringLiteral("x");

[[nodiscard]] bool isEntryRow(const EntryTable& table, const int gridRow)
{
    return gridRow >= 1 && gridRow < table.gridRowCount();
}

} // namespace

void toggleMark(EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return;
    const int row = gridRow - 1;
    table.setCell(row, MarkColumn, table.mark(row).isEmpty() ? QStringView(MarkText) : QStringView());
}

void MoveRowToEnd(EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return;
    const auto from = table.rows.begin() + (gridRow - 1);
    std::rotate(from, from + 1, table.rows.end());
    table.rows.back().mark = TextPool::EmptyText;
}

} // namespace xom
