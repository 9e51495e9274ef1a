#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <QAbstractTableModel>

#include <functional>

namespace app {

// The entry grid's rows as the view sees them. It owns the editor's only
// EntryTable, and every change of the entries goes through it so that the
// view hears of each one. Model row m is grid row m + 1: the grid's header
// row 0 is the view's horizontal header.
//
// Built for a million rows: data() is O(1) and answers only the display
// role; a reordering is announced once, never row by row.
class EntryGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // Starts as the grid of a window that loaded nothing: one empty entry.
    explicit EntryGridModel(QObject* parent = nullptr);

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

    // Runs an operation that only moves rows (the row count stays) and
    // announces it as one layout change. Persistent indexes are left where
    // they were on purpose: the current cell keeps its row and column and
    // then shows whatever entry moved there.
    void reorderRows(const std::function<void(xom::EntryTable&)>& reordering);

    // Sort (see xom::sortOrderByName) as one layout change; the current cell
    // stays at its row and column, as for reorderRows. Gives the arrangement.
    xom::RowOrder sortRowsByName(const xom::ProgressReport& progress);
    // Move Down, as one layout change, the current cell staying in place.
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

private:
    // Runs a reordering whose arrangement is order (after it, row i holds
    // the row that stood at order[i]), moving the persistent indexes with
    // their rows.
    void reorderFollowing(const xom::RowOrder& order, bool reverting, const std::function<void()>& reordering);
    void announceCells(const std::vector<xom::CellChange>& changes);

    xom::EntryTable m_table;
};

} // namespace app
