#include "support/MarksAndMoveDown.h"

namespace testsupport {

xom::MoveDownChange moveMarkedRowsDown(xom::EntryTable& table)
{
    xom::MoveDownChange change = xom::moveDownChangeOf(table);
    xom::redoMoveDown(table, change);
    return change;
}

} // namespace testsupport
