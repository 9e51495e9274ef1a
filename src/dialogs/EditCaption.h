#pragma once

#include <QString>

namespace dialogs {

// An Edit dialog's caption: its own name, then the entry it edits when
// there is one ("Edit Text - #12 FE.Menu.Start").
[[nodiscard]] inline QString editCaption(const QString& dialogName, const QString& entryLabel)
{
    return entryLabel.isEmpty() ? dialogName : dialogName + QStringLiteral(" - ") + entryLabel;
}

} // namespace dialogs
