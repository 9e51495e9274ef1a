#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"
#include "xom/TranslationReview.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>

namespace app {

// The entry grid's rows as the view sees them. It owns the editor's only
// EntryTable, and every change of the entries goes through it so that the
// view hears of each one. Model row m is grid row m + 1: the grid's header
// row 0 is the view's horizontal header.
//
// Built for a million rows: data() is O(1) and answers only the display
// role; a reordering is announced once, never row by row.
//
// With a reference language open it also keeps the translation review of
// the entries current: a fifth, read-only column "Reference" shows each
// entry's reference text, the mark cell's tooltip names the checks the entry
// fails, and each change of the entries rechecks what it changed (the rows
// of the cells changed, an added row; every row for a load or a reordering).
class EntryGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The column that exists only while a reference is open.
    static constexpr int ReferenceColumn = xom::ColumnCount;

    // Starts as the grid of a window that loaded nothing: one empty entry.
    explicit EntryGridModel(QObject* parent = nullptr);
    ~EntryGridModel() override;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The mark column takes presses but can never be selected; no cell is
    // editable in place.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    [[nodiscard]] const xom::EntryTable& table() const noexcept { return m_table; }
    [[nodiscard]] static int gridRowOf(const QModelIndex& index) noexcept { return index.row() + 1; }
    // Invalid for the header row and rows or columns outside the grid.
    [[nodiscard]] QModelIndex indexOfCell(int gridRow, int column) const;
    [[nodiscard]] QString cellText(const QModelIndex& index) const;

    // Replaces every row, as a load does: one model reset.
    void replaceTable(xom::EntryTable table);

    // Sort (see xom::sortOrderByName) as one layout change. The current cell
    // follows its entry, as every persistent index does. Gives the
    // arrangement; a failure while it is worked out leaves the rows alone.
    xom::RowOrder sortRowsByName(const xom::ProgressReport& progress);
    // Move Down as one layout change, the current cell following its entry.
    xom::MoveDownChange moveMarkedRowsDown();

    // An arrangement made again, or taken back. Each is one layout change in
    // which the persistent indexes, the current cell among them, follow their
    // entries: after an undo the current cell is on the entry it was on.
    void applyRowOrder(const xom::RowOrder& order);
    void revertRowOrder(const xom::RowOrder& order);
    void redoMoveDown(const xom::MoveDownChange& change);
    void undoMoveDown(const xom::MoveDownChange& change);

    // Cell texts set, or set back, announced as one change of the cells
    // they span.
    void applyCellChanges(const std::vector<xom::CellChange>& changes);
    void revertCellChanges(const std::vector<xom::CellChange>& changes);

    // Add: see xom::addEntryReversibly.
    xom::AddedEntry addEntry(xom::LanguageModel& model, const QString& name, const QString& text);
    void undoAddEntry(xom::LanguageModel& model, const xom::AddedEntry& added);

    // Opens (or replaces) the reference language: the Reference column
    // appears and every entry is checked.
    void setReference(xom::EntryTable reference);
    // Closes the reference: the Reference column goes, the checks with it.
    void clearReference();
    // Nothing while no reference is open.
    [[nodiscard]] const xom::TranslationReview* review() const noexcept { return m_review.get(); }

    // Tell the views what a change taken back or made again concerned.
    void concernCells(const std::vector<xom::CellChange>& changes) { emit cellsConcerned(changes); }
    void concernRow(int gridRow) { emit rowConcerned(gridRow); }
    void concernCurrentEntry() { emit currentEntryConcerned(); }

signals:
    // The review's results may have changed: a reference was opened or
    // closed, or the entries changed while one is open.
    void reviewChanged();
    // An undo or redo set these cells (the list lasts until the handler
    // returns), or added or removed the row after this one: the view shows
    // the entry concerned.
    void cellsConcerned(const std::vector<xom::CellChange>& changes);
    void rowConcerned(int gridRow);
    // An undo or redo moved rows; the current cell went with its entry.
    void currentEntryConcerned();

private:
    // Runs a reordering whose arrangement is order (after it, row i holds
    // the row that stood at order[i]), moving the persistent indexes with
    // their rows.
    void reorderFollowing(const xom::RowOrder& order, bool reverting, const std::function<void()>& reordering);
    void announceCells(const std::vector<xom::CellChange>& changes);

    // After rows moved, or were replaced or removed: every row afresh.
    void recheckAll();

    xom::EntryTable m_table;
    std::unique_ptr<xom::TranslationReview> m_review;
};

} // namespace app
