#pragma once

#include <QString>

namespace dialogs {

// The main grid's selected cell as the Edit dialog sees it: the window that
// owns the grid implements it, so the dialog needs nothing of the window.
class SelectedCell {
public:
    virtual ~SelectedCell() = default;

    // The text of the selected cell; empty when no cell is selected.
    [[nodiscard]] virtual QString selectedCellText() const = 0;
    // Writes text into the selected cell; nothing when no cell is selected.
    virtual void setSelectedCellText(const QString& text) = 0;

protected:
    SelectedCell() = default;
    SelectedCell(const SelectedCell&) = default;
    SelectedCell& operator=(const SelectedCell&) = default;
};

} // namespace dialogs
