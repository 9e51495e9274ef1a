#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace dialogs {

// A button of a dialog, owned by parent, at a fixed place. No dialog button
// is a default button: Enter in a text box must not end the dialog. Return
// or Enter on the focused button presses it.
[[nodiscard]] QPushButton* makeDialogButton(
    const QString& caption, const char* objectName, QWidget* parent, const QRect& geometry);

} // namespace dialogs
