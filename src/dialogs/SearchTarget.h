#pragma once

#include "xom/ReversibleOperations.h"
#include "xom/EntryTable.h"

#include <QString>

#include <vector>

namespace dialogs {

// The main grid as the Find and Replace dialog sees it: the window that owns
// the grid implements it, so the dialog needs nothing of the window.
class SearchTarget {
public:
    virtual ~SearchTarget() = default;

    [[nodiscard]] virtual const xom::EntryTable& searchedTable() const = 0;
    // The grid row and column of the current cell; row 0 when none is.
    [[nodiscard]] virtual int currentGridRow() const = 0;
    [[nodiscard]] virtual int currentColumn() const = 0;
    // Selects the cell of a match and shows it.
    virtual void selectFoundCell(int gridRow, int column) = 0;
    // Makes the changes as one step the user can take back whole; what is
    // the step's name ("Replace", "Replace All").
    virtual void changeCells(std::vector<xom::CellChange> changes, const QString& what) = 0;

protected:
    SearchTarget() = default;
    SearchTarget(const SearchTarget&) = default;
    SearchTarget& operator=(const SearchTarget&) = default;
};

} // namespace dialogs
