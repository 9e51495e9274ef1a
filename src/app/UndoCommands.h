#pragma once

#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <QString>
#include <QUndoCommand>

#include <cstdint>
#include <vector>

namespace app {

class EntryGridModel;

// The undo steps of the window. Each holds what its operation did, never a
// copy of the rows, and changes the entries only through the grid model.
//
// A command is pushed after its operation ran (the operation may fail, and
// then nothing is pushed): the first redo(), which the stack calls on push,
// does nothing. Every later redo and undo tells the grid model what it
// concerned, so that the view shows it.
class GridCommand : public QUndoCommand {
public:
    GridCommand(const GridCommand&) = delete;
    GridCommand& operator=(const GridCommand&) = delete;

    void redo() final;
    void undo() final;

    // Whether the step changes what a save writes. Marks are never saved:
    // a step that only sets marks leaves the file as it was.
    [[nodiscard]] virtual bool changesFile() const = 0;

    // The version of the file's content once this step is done (see
    // FileChanges); set when the step is pushed.
    [[nodiscard]] std::uint64_t contentVersion() const noexcept { return m_contentVersion; }
    void setContentVersion(const std::uint64_t version) noexcept { m_contentVersion = version; }

protected:
    GridCommand(EntryGridModel& grid, const QString& text);

    virtual void redoChange() = 0;
    virtual void undoChange() = 0;
    // Tells the grid model what the step concerned once it was redone or
    // undone. By default the current entry, which has followed its row.
    virtual void showConcerned(bool undone);

    EntryGridModel& m_grid;

private:
    bool m_done = true;
    std::uint64_t m_contentVersion = 0;
};

// Any number of cell texts set in one step: an edit, a mark, a replace
// over many cells, an import.
class SetCellTextsCommand final : public GridCommand {
public:
    SetCellTextsCommand(EntryGridModel& grid, std::vector<xom::CellChange> changes, const QString& text);

    [[nodiscard]] bool changesFile() const override;

private:
    void redoChange() override;
    void undoChange() override;
    void showConcerned(bool undone) override;

    std::vector<xom::CellChange> m_changes;
};

// Add: its undo removes the entry and lowers the type's count again.
class AddEntryCommand final : public GridCommand {
public:
    AddEntryCommand(
        EntryGridModel& grid, xom::LanguageModel& model, const xom::AddedEntry& added, QString name, QString entryText);

    [[nodiscard]] bool changesFile() const override { return true; }

private:
    void redoChange() override;
    void undoChange() override;
    void showConcerned(bool undone) override;

    xom::LanguageModel& m_model;
    xom::AddedEntry m_added;
    QString m_name;
    QString m_entryText;
    // The grid row the entry takes.
    int m_gridRow;
};

// Sort, or any other reordering kept as an arrangement.
class ReorderCommand final : public GridCommand {
public:
    ReorderCommand(EntryGridModel& grid, xom::RowOrder order, const QString& text);

    [[nodiscard]] bool changesFile() const override { return true; }

private:
    void redoChange() override;
    void undoChange() override;

    xom::RowOrder m_order;
};

// Move Down: the arrangement and the marks it cleared.
class MoveDownCommand final : public GridCommand {
public:
    MoveDownCommand(EntryGridModel& grid, xom::MoveDownChange change);

    [[nodiscard]] bool changesFile() const override { return true; }

private:
    void redoChange() override;
    void undoChange() override;

    xom::MoveDownChange m_change;
};

} // namespace app
