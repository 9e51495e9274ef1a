#pragma once

#include <QString>

#include <optional>

namespace dialogs {

// The main grid's selected cell as the Edit dialogs see it: the window that
// owns the grid implements it, so the dialogs need nothing of the window.
class SelectedCell {
public:
    virtual ~SelectedCell() = default;

    // The text of the selected cell; empty when no cell is selected.
    [[nodiscard]] virtual QString selectedCellText() const = 0;
    // Writes text into the selected cell; nothing when no cell is selected.
    virtual void setSelectedCellText(const QString& text) = 0;

    // The selected cell's entry as a dialog names it, "#12 FE.Menu.Start";
    // empty when no entry is selected.
    [[nodiscard]] virtual QString selectedEntryLabel() const = 0;
    // Whether a reference language is open beside the entries.
    [[nodiscard]] virtual bool referenceIsOpen() const = 0;
    // The selected entry's reference text; nothing when no reference is
    // open or it has no entry of the selected entry's name.
    [[nodiscard]] virtual std::optional<QString> selectedReferenceText() const = 0;
    // What to tell the user about name as the selected entry's new name:
    // that another entry has it, or nothing (an empty text).
    [[nodiscard]] virtual QString renameWarning(const QString& name) const = 0;

protected:
    SelectedCell() = default;
    SelectedCell(const SelectedCell&) = default;
    SelectedCell& operator=(const SelectedCell&) = default;
};

} // namespace dialogs
