#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace app {

// The main window's menu bar: File, Edit and Help, one named action per
// item. The actions belong to the window; the window connects them to its
// handlers and keeps each one enabled exactly when its handler has something
// to do (Save, Add and Edit exactly when their buttons are).
struct WindowActions {
    QMenu* fileMenu = nullptr;
    QMenu* recentMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* helpMenu = nullptr;

    QAction* open = nullptr;
    QAction* openReference = nullptr;
    QAction* closeReference = nullptr;
    // The translation carried to a new version of its reference.
    QAction* updateFromReference = nullptr;
    // Save writes to the file open without a dialog; Save As asks where.
    QAction* save = nullptr;
    QAction* saveAs = nullptr;
    // The exchange files: CSV, PO or XLIFF, by the file type chosen.
    QAction* importFile = nullptr;
    QAction* exportFile = nullptr;
    // Checked: the first save over an existing file keeps its bytes as
    // NAME.bak first.
    QAction* keepBackups = nullptr;
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
    // F3 and Shift+F3: the next or previous text that starts with the
    // search box's text.
    QAction* searchNext = nullptr;
    QAction* searchPrevious = nullptr;
    QAction* goTo = nullptr;
    QAction* copyReference = nullptr;
    // Ctrl+Enter: the current entry approved, or back to translated.
    QAction* approve = nullptr;
    // Ctrl+Shift+Enter: the next entry that needs review or fails a check.
    QAction* nextToReview = nullptr;
    QAction* nextWarning = nullptr;
    QAction* previousWarning = nullptr;
    // The checks this file runs, and the safe fixes of what they find.
    QAction* checks = nullptr;
    QAction* fix = nullptr;
    // Ctrl+1 … Ctrl+5: the translation memory's suggestion put in the entry.
    std::array<QAction*, 5> insertSuggestion{};
    // Ctrl+K: the memory searched for a word or phrase.
    QAction* searchMemory = nullptr;
    // The untranslated entries filled from the memory.
    QAction* preTranslate = nullptr;
    // The languages of the reference and the file, where the names tell none.
    QAction* languages = nullptr;
    // Another translation memory file, kept in the settings.
    QAction* memoryFile = nullptr;
    QAction* about = nullptr;
    QAction* keyboardShortcuts = nullptr;

    // Puts the menus on window's menu bar. Toggle Mark's Space works only
    // where the grid has the focus (grid, given here): anywhere else Space
    // belongs to the focused button or box. Every other key works wherever
    // the focus is in the window.
    [[nodiscard]] static WindowActions build(QMainWindow& window, QWidget& grid);

    // Help › Keyboard Shortcuts: what each key does, and the keys.
    [[nodiscard]] QList<QPair<QString, QString>> shortcutRows() const;
};

// "&Undo" and "&Redo", followed by the name of the step they would take
// back or make again ("Undo Sort").
[[nodiscard]] QString undoActionText(const QString& stepName);
[[nodiscard]] QString redoActionText(const QString& stepName);

} // namespace app
