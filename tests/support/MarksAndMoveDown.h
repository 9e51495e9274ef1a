#pragma once

#include "xom/EntryTable.h"
#include "xom/ReversibleOperations.h"

namespace testsupport {

// Move Down as the window makes it: what it would do worked out first
// (xom::moveDownChangeOf), then done (xom::redoMoveDown). Gives the change,
// which undoes it.
xom::MoveDownChange moveMarkedRowsDown(xom::EntryTable& table);

} // namespace testsupport
