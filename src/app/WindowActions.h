#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace app {

// The main window's menu bar: File, Edit and Help, one named action per
// item. The actions belong to the window; the window connects them to its
// handlers and keeps each one enabled exactly when the button for the same
// handler is. Features that come later add their items to these menus.
struct WindowActions {
    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* helpMenu = nullptr;

    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* quit = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* add = nullptr;
    QAction* edit = nullptr;
    QAction* toggleMark = nullptr;
    QAction* moveDown = nullptr;
    QAction* sort = nullptr;
    QAction* findInTexts = nullptr;
    // Find and Replace, Ctrl+F opening it with the search box's text.
    QAction* find = nullptr;
    QAction* findReplace = nullptr;
    QAction* about = nullptr;
    QAction* keyboardShortcuts = nullptr;

    // Puts the menus on window's menu bar. Toggle Mark's Space works only
    // where the grid has the focus (grid, given here): anywhere else Space
    // belongs to the focused button or box.
    [[nodiscard]] static WindowActions build(QMainWindow& window, QWidget& grid);

    // The text of Help > Keyboard Shortcuts: every shortcut, one a line.
    [[nodiscard]] QString shortcutList() const;
};

} // namespace app
