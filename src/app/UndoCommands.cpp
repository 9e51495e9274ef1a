#include "app/UndoCommands.h"

#include "app/EntryGridModel.h"

#include <algorithm>

namespace app {

GridCommand::GridCommand(EntryGridModel& grid, const QString& text)
    : QUndoCommand(text)
    , m_grid(grid)
{
}

void GridCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    redoChange();
    showConcerned(false);
}

void GridCommand::undo()
{
    undoChange();
    showConcerned(true);
}

void GridCommand::showConcerned(bool)
{
    m_grid.concernCurrentEntry();
}

SetCellTextsCommand::SetCellTextsCommand(
    EntryGridModel& grid, std::vector<xom::CellChange> changes, const QString& text)
    : GridCommand(grid, text)
    , m_changes(std::move(changes))
{
}

bool SetCellTextsCommand::changesFile() const
{
    return std::any_of(m_changes.begin(), m_changes.end(),
        [](const xom::CellChange& change) { return change.column != xom::MarkColumn; });
}

void SetCellTextsCommand::redoChange()
{
    m_grid.applyCellChanges(m_changes);
}

void SetCellTextsCommand::undoChange()
{
    m_grid.revertCellChanges(m_changes);
}

void SetCellTextsCommand::showConcerned(bool)
{
    m_grid.concernCells(m_changes);
}

AddEntryCommand::AddEntryCommand(
    EntryGridModel& grid, xom::LanguageModel& model, const xom::AddedEntry& added, QString name, QString entryText)
    : GridCommand(grid, QStringLiteral("Add"))
    , m_model(model)
    , m_added(added)
    , m_name(std::move(name))
    , m_entryText(std::move(entryText))
    , m_gridRow(grid.table().gridRowCount() - 1)
{
}

void AddEntryCommand::redoChange()
{
    m_added = m_grid.addEntry(m_model, m_name, m_entryText);
}

void AddEntryCommand::undoChange()
{
    m_grid.undoAddEntry(m_model, m_added);
}

void AddEntryCommand::showConcerned(const bool undone)
{
    // Taken back, the entry leaves the one before it last.
    m_grid.concernRow(undone ? m_gridRow - 1 : m_gridRow);
}

ReorderCommand::ReorderCommand(EntryGridModel& grid, xom::RowOrder order, const QString& text)
    : GridCommand(grid, text)
    , m_order(std::move(order))
{
}

void ReorderCommand::redoChange()
{
    m_grid.applyRowOrder(m_order);
}

void ReorderCommand::undoChange()
{
    m_grid.revertRowOrder(m_order);
}

MoveDownCommand::MoveDownCommand(EntryGridModel& grid, xom::MoveDownChange change)
    : GridCommand(grid, QStringLiteral("Move Down"))
    , m_change(std::move(change))
{
}

void MoveDownCommand::redoChange()
{
    m_grid.redoMoveDown(m_change);
}

void MoveDownCommand::undoChange()
{
    m_grid.undoMoveDown(m_change);
}

} // namespace app
