#pragma once

#include "xom/EntryTable.h"

#include <QString>

#include <vector>

namespace xom {

// One cell's text before and after a change, so that the change can be made
// and taken back exactly.
struct CellChange {
    int gridRow = 0;
    int column = TextColumn;
    QString oldText;
    QString newText;

    friend bool operator==(const CellChange&, const CellChange&) = default;
};

// Puts each change's newText in its cell, in order.
void applyCellChanges(EntryTable& table, const std::vector<CellChange>& changes);

// Puts each change's oldText back, last change first, so that a table the
// changes were applied to becomes the table they were made from.
void revertCellChanges(EntryTable& table, const std::vector<CellChange>& changes);

} // namespace xom
