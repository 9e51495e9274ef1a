#include "support/MarksAndMoveDown.h"

#include <algorithm>

namespace testsupport {

void toggleMark(xom::EntryTable& table, const int gridRow)
{
    xom::applyCellChanges(table, {xom::markToggle(table, gridRow)});
}

void MoveRowToEnd(xom::EntryTable& table, const int gridRow)
{
    if (gridRow < 1 || gridRow >= table.gridRowCount())
        return;
    const auto from = table.rows.begin() + (gridRow - 1);
    std::rotate(from, from + 1, table.rows.end());
    table.rows.back().mark = xom::TextPool::EmptyText;
}

xom::MoveDownChange moveMarkedRowsDown(xom::EntryTable& table)
{
    xom::MoveDownChange change = xom::moveDownChangeOf(table);
    xom::redoMoveDown(table, change);
    return change;
}

} // namespace testsupport
