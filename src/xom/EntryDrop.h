#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <vector>

namespace xom {

// Dropping entries from anywhere in the table (those a new version of the
// reference no longer has), in three parts that each have an undo: a stable
// arrangement that puts the dropped rows last, the number cells of the rows
// that stay lowered so that the numbers close up, and the dropped rows taken
// off the end with the string resource count lowered by as many.
//
// The numbers must close up: a save matches every row to a number from 1
// to the row count and refuses a table with a gap. A row that stays keeps
// its number less the dropped numbers below it; a number kept as text, or
// one that a dropped row shares, is left as it is.
struct EntryDrop {
    // The rows that stay in their order, then the dropped ones in theirs.
    RowOrder order;
    // The number cells lowered, on the rows as order leaves them.
    std::vector<CellChange> renumbered;
    // The dropped entries' cells as they stood, in their order.
    std::vector<Entry> dropped;
    // Whether a string resource count was lowered.
    bool countLowered = false;
};

// What dropping the entries at gridRows would do; the table is left as it
// is. Rows outside the table and rows named twice count once or not at all.
[[nodiscard]] EntryDrop entryDropOf(const EntryTable& table, const LanguageModel& model, std::vector<int> gridRows);

// Takes the dropped rows off the end, once order and renumbered are made,
// and lowers the count.
void takeOffDroppedRows(EntryTable& table, LanguageModel& model, const EntryDrop& drop);
// Puts them back at the end with their cells as they stood, and raises the
// count again; then renumbered and order are taken back.
void putBackDroppedRows(EntryTable& table, LanguageModel& model, const EntryDrop& drop);

} // namespace xom
