#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ProgressReport.h"

#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace xom {

// The operations that change the entries, each with what it takes to undo
// it. A change is undone on the table it left, and redone on the table it
// was first made on: the undo history is linear, so rows are named by their
// place.

// A reordering of the rows: after it, row i holds the row that stood at
// order[i] before. Keeping it costs four bytes a row, whatever the texts.
using RowOrder = std::vector<std::int32_t>;

// The grid rows of table in order's arrangement. order must be a
// permutation of 0 .. entryCount() - 1. Rows move, texts are never copied.
void applyRowOrder(EntryTable& table, const RowOrder& order);
// Undoes applyRowOrder with the same order: every row goes back to the
// place it came from.
void revertRowOrder(EntryTable& table, const RowOrder& order);

// Sort's arrangement (see sortEntriesByName) without moving a row.
[[nodiscard]] RowOrder sortOrderByName(const EntryTable& table, const ProgressReport& progress = {});

// What Move Down did: the arrangement, and the marks it cleared on the rows
// that now end the table, in their order.
struct MoveDownChange {
    RowOrder order;
    std::vector<TextId> clearedMarks;
};

// Move Down: the rows whose mark is exactly "x" go to the bottom, the others
// stay first; each group keeps its previous order and the moved rows lose
// their marks. Numbers and the row count are kept. Linear in the rows.
//
// What Move Down would do to table, which it leaves as it is; redoMoveDown
// then does it.
[[nodiscard]] MoveDownChange moveDownChangeOf(const EntryTable& table);
// Makes Move Down, the first time or again, on the table it was first made
// on.
void redoMoveDown(EntryTable& table, const MoveDownChange& change);
// Puts the rows back in place and their marks back.
void undoMoveDown(EntryTable& table, const MoveDownChange& change);

// One cell's text before and after a change; gridRow counts from 1.
struct CellChange {
    int gridRow = 0;
    int column = TextColumn;
    QString before;
    QString after;

    friend bool operator==(const CellChange&, const CellChange&) = default;
};

// Sets the after texts in order. Cells outside the table are left alone.
void applyCellChanges(EntryTable& table, const std::vector<CellChange>& changes);
// Sets the before texts in the reverse order, so that a cell changed twice
// ends with its first before text.
void revertCellChanges(EntryTable& table, const std::vector<CellChange>& changes);

// Toggling the mark of a grid row: an empty mark cell becomes "x", any
// other content becomes empty. The header row 0 and rows outside the table
// give a change that changes nothing.
[[nodiscard]] CellChange markToggle(const EntryTable& table, int gridRow);

// What Add did, enough to take it back.
struct AddedEntry {
    int number = 0;
    // Whether a string resource count was raised.
    bool countRaised = false;
    // The string list before the name and text were appended.
    StringListSummary stringsBefore;
};

// Add (see addEntry), giving what it did.
AddedEntry addEntryReversibly(EntryTable& table, LanguageModel& model, const QString& name, const QString& text);
// Takes an Add back: removes the last row, lowers the count again and
// removes the name and text from the string list. A save in between rebuilt
// the list from the rows; it is then left as that save wrote it, which the
// next save rebuilds anyway.
void undoAddEntry(EntryTable& table, LanguageModel& model, const AddedEntry& added);

// An Add kept with what it added, so that it can be made again.
struct AddChange {
    AddedEntry added;
    QString name;
    QString text;
};

// A run of cell changes and Adds made one after the other, as an import
// makes them: a later change may concern a row an earlier Add made.
using Edit = std::variant<CellChange, AddChange>;

// Makes the edits again, in order, on the table they were first made on;
// each Add records what it did anew.
void redoEdits(EntryTable& table, LanguageModel& model, std::vector<Edit>& edits);
// Takes the edits back in the reverse order.
void undoEdits(EntryTable& table, LanguageModel& model, const std::vector<Edit>& edits);

} // namespace xom
