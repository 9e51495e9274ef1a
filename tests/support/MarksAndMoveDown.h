#pragma once

#include "xom/EntryTable.h"
#include "xom/ReversibleOperations.h"

namespace testsupport {

// Toggles the mark of a grid row as the window does, through the change
// xom::markToggle gives: an empty mark cell becomes "x", any other content
// becomes empty. The header row 0 and rows outside the table are left alone.
void toggleMark(xom::EntryTable& table, int gridRow);

// Moves one grid row to the last row, the rows after it moving up by one,
// and clears the moved row's mark: the step that Move Down repeats for each
// marked row when made one row at a time. A row outside 1 ..
// gridRowCount() - 1 does nothing.
void MoveRowToEnd(xom::EntryTable& table, int gridRow);

// Move Down as the window makes it: what it would do worked out first
// (xom::moveDownChangeOf), then done (xom::redoMoveDown). Gives the change,
// which undoes it.
xom::MoveDownChange moveMarkedRowsDown(xom::EntryTable& table);

} // namespace testsupport
