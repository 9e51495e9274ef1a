#pragma once

#include "review/ReviewFile.h"
#include "xom/EntryDrop.h"
#include "xom/ReversibleOperations.h"

#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace document {

// What one undo step did, enough to take it back and make it again; never a
// copy of the rows.
struct CellsStep {
    std::vector<xom::CellChange> changes;
};
struct AddStep {
    xom::AddChange add;
    // The grid row the entry takes.
    int gridRow = 0;
};
struct ReorderStep {
    xom::RowOrder order;
};
struct MoveDownStep {
    xom::MoveDownChange change;
};
// One entry's review (state, note, snapshot) before and after a change.
struct ReviewChange {
    int gridRow = 0;
    review::EntryReview before;
    review::EntryReview after;

    friend bool operator==(const ReviewChange&, const ReviewChange&) = default;
};
// Cells set and entries added (an import, an update to a new reference),
// and the reviews changed with them, after the edits: a review may be of an
// entry the step added.
struct EditsStep {
    std::vector<xom::Edit> edits;
    std::vector<ReviewChange> reviews;
};
// Reviews changed, and the cell texts changed with them (an Edit accepted
// sets its text and makes the entry translated in one step).
struct ReviewsStep {
    std::vector<ReviewChange> changes;
    std::vector<xom::CellChange> cells;
};
// Entries dropped from anywhere in the table, and the reviews they took
// with them (none when no entry keeps one), in their order.
struct DropStep {
    xom::EntryDrop drop;
    std::vector<review::EntryReview> droppedReviews;
};
// New kinds go at the end: a journal numbers steps by their place here.
using StepChange = std::variant<CellsStep, AddStep, ReorderStep, MoveDownStep, EditsStep, ReviewsStep, DropStep>;

struct Step {
    // What the Undo and Redo items name: "Edit", "Sort", "Import".
    QString text;
    StepChange change;
    // Whether the step changes what a save writes: marks are never saved,
    // so a step that only sets marks leaves the file as it was.
    bool changesFile = true;
    // The version of the file's content once the step is done.
    std::uint64_t contentVersion = 0;
};

// The linear undo history of a document, and whether its content differs
// from the file last loaded or saved. The history alone cannot tell: a mark
// is a step, but marks are never saved, so marking a row (and unmarking it,
// or marking another) leaves the file unchanged.
//
// Each step pushed gets the version of the content it leaves: a new version
// when it changes the file, the version below it when it does not. The
// content is unchanged exactly while the step below the index carries the
// version last loaded or saved. Steps that a push drops from the redo end
// take their versions with them, so a saved version that can no longer be
// reached counts as changed.
class UndoHistory {
public:
    // Drops the steps after the index and adds step as done.
    void push(Step step);

    [[nodiscard]] int count() const noexcept { return static_cast<int>(m_steps.size()); }
    // How many steps are done: the next undo takes back step index() - 1.
    [[nodiscard]] int index() const noexcept { return m_index; }
    [[nodiscard]] bool canUndo() const noexcept { return m_index > 0; }
    [[nodiscard]] bool canRedo() const noexcept { return m_index < count(); }
    // The names of the steps an undo and a redo would take; empty when none.
    [[nodiscard]] QString undoText() const;
    [[nodiscard]] QString redoText() const;

    // The step an undo takes back, then moves below it; the step a redo
    // makes again, then moves past it. Only while canUndo() or canRedo().
    [[nodiscard]] Step& stepToUndo() { return m_steps[static_cast<std::size_t>(m_index - 1)]; }
    [[nodiscard]] Step& stepToRedo() { return m_steps[static_cast<std::size_t>(m_index)]; }
    void stepBack() { --m_index; }
    void stepForward() { ++m_index; }

    // Steps a recovery knows from its journal but that were made before
    // the journal began: one already done below every other step (the
    // content it left is the one below the old bottom), or one undone above
    // every other step. Neither changes which content counts as saved.
    void insertDoneBelow(Step step);
    void appendUndone(Step step);

    // A new file: no steps, and its content is the saved one.
    void startOver();
    // The current content was just written.
    void markSaved();
    // No content in the history is what the file holds now (it was changed
    // by someone else since it was loaded).
    void markNoneSaved();
    [[nodiscard]] bool unsaved() const { return currentVersion() != m_savedVersion; }

private:
    [[nodiscard]] std::uint64_t currentVersion() const;

    std::vector<Step> m_steps;
    int m_index = 0;
    std::uint64_t m_lastVersion = 0;
    // The version of an empty history.
    std::uint64_t m_baseVersion = 0;
    std::uint64_t m_savedVersion = 0;
};

} // namespace document
