#pragma once

#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <QString>
#include <QUndoCommand>

#include <vector>

namespace app {

class EntryGridModel;

// The undo steps of the window. Each holds what its operation did, never a
// copy of the rows, and changes the entries only through the grid model.
//
// A command is pushed after its operation ran (the operation may fail, and
// then nothing is pushed): the first redo(), which the stack calls on push,
// does nothing.
class GridCommand : public QUndoCommand {
public:
    GridCommand(const GridCommand&) = delete;
    GridCommand& operator=(const GridCommand&) = delete;

    void redo() final;
    void undo() final;

protected:
    GridCommand(EntryGridModel& grid, const QString& text);

    virtual void redoChange() = 0;
    virtual void undoChange() = 0;

    EntryGridModel& m_grid;

private:
    bool m_done = true;
};

// Any number of cell texts set in one step: an edit, a mark, a replace
// over many cells, an import.
class SetCellTextsCommand final : public GridCommand {
public:
    SetCellTextsCommand(EntryGridModel& grid, std::vector<xom::CellChange> changes, const QString& text);

private:
    void redoChange() override;
    void undoChange() override;

    std::vector<xom::CellChange> m_changes;
};

// Add: its undo removes the entry and lowers the type's count again.
class AddEntryCommand final : public GridCommand {
public:
    AddEntryCommand(
        EntryGridModel& grid, xom::LanguageModel& model, const xom::AddedEntry& added, QString name, QString entryText);

private:
    void redoChange() override;
    void undoChange() override;

    xom::LanguageModel& m_model;
    xom::AddedEntry m_added;
    QString m_name;
    QString m_entryText;
};

// Sort, or any other reordering kept as an arrangement.
class ReorderCommand final : public GridCommand {
public:
    ReorderCommand(EntryGridModel& grid, xom::RowOrder order, const QString& text);

private:
    void redoChange() override;
    void undoChange() override;

    xom::RowOrder m_order;
};

// Move Down: the arrangement and the marks it cleared.
class MoveDownCommand final : public GridCommand {
public:
    MoveDownCommand(EntryGridModel& grid, xom::MoveDownChange change);

private:
    void redoChange() override;
    void undoChange() override;

    xom::MoveDownChange m_change;
};

} // namespace app
