#pragma once

class QAbstractButton;
class QDialog;
class QWidget;

namespace dialogs {

// Keyboard conveniences of the dialogs, each an event filter owned by the
// widget it serves.

// The text box selects its whole text whenever it takes the focus, so that
// typing replaces the text it was given.
void selectAllOnFocus(QWidget& box);

// Return or Enter on the focused button presses it, as Space does. The
// dialogs have no default button, so Return in a text box ends nothing.
void clickOnReturn(QAbstractButton& button);

// Ctrl+Enter anywhere in the dialog presses accept.
void acceptOnCtrlEnter(QDialog& dialog, QAbstractButton& accept);

} // namespace dialogs
