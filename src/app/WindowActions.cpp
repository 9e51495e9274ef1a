#include "app/WindowActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace app {

namespace {

QAction* makeAction(QMenu& menu, const QString& text, const char* name, const QList<QKeySequence>& shortcuts = {})
{
    QAction* const action = menu.addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(shortcuts);
    return action;
}

} // namespace

WindowActions WindowActions::build(QMainWindow& window, QWidget& grid)
{
    WindowActions actions;
    QMenuBar* const bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));

    actions.fileMenu = bar->addMenu(QStringLiteral("&File"));
    actions.open = makeAction(*actions.fileMenu, QStringLiteral("&Open…"), "actionOpen", {QKeySequence::Open});
    actions.save = makeAction(*actions.fileMenu, QStringLiteral("&Save…"), "actionSave", {QKeySequence::Save});
    actions.fileMenu->addSeparator();
    actions.quit = makeAction(*actions.fileMenu, QStringLiteral("&Quit"), "actionQuit", {QKeySequence::Quit});

    actions.editMenu = bar->addMenu(QStringLiteral("&Edit"));
    actions.undo = makeAction(*actions.editMenu, QStringLiteral("&Undo"), "actionUndo", {QKeySequence::Undo});
    actions.redo = makeAction(*actions.editMenu, QStringLiteral("&Redo"), "actionRedo", {QKeySequence::Redo});
    actions.editMenu->addSeparator();
    actions.add = makeAction(*actions.editMenu, QStringLiteral("&Add…"), "actionAdd", {QKeySequence(Qt::Key_Insert)});
    actions.edit = makeAction(*actions.editMenu, QStringLiteral("&Edit…"), "actionEdit", {QKeySequence(Qt::Key_F2)});
    actions.toggleMark = makeAction(
        *actions.editMenu, QStringLiteral("Toggle &Mark"), "actionToggleMark", {QKeySequence(Qt::Key_Space)});
    actions.toggleMark->setShortcutContext(Qt::WidgetShortcut);
    grid.addAction(actions.toggleMark);
    actions.moveDown = makeAction(*actions.editMenu, QStringLiteral("Move &Down"), "actionMoveDown");
    actions.sort = makeAction(*actions.editMenu, QStringLiteral("S&ort"), "actionSort");
    actions.editMenu->addSeparator();
    // Ctrl+F belongs to Find: it opens Find and Replace with what the search
    // box holds, so a search typed there goes on in the dialog.
    actions.findInTexts = makeAction(*actions.editMenu, QStringLiteral("Find &in texts"), "actionFindInTexts");
    actions.find = makeAction(*actions.editMenu, QStringLiteral("&Find…"), "actionFind", {QKeySequence::Find});
    actions.findReplace = makeAction(*actions.editMenu, QStringLiteral("Find and &Replace…"), "actionFindReplace",
        {QKeySequence(Qt::CTRL | Qt::Key_H)});

    actions.helpMenu = bar->addMenu(QStringLiteral("&Help"));
    actions.about = makeAction(*actions.helpMenu, QStringLiteral("&About"), "actionAbout");
    actions.keyboardShortcuts
        = makeAction(*actions.helpMenu, QStringLiteral("&Keyboard Shortcuts"), "actionKeyboardShortcuts");
    return actions;
}

QString WindowActions::shortcutList() const
{
    QStringList lines;
    for (const QAction* const action : {open, save, quit, undo, redo, add, edit, toggleMark, find, findReplace}) {
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts())
            keys.append(key.toString(QKeySequence::NativeText));
        lines.append(
            QStringLiteral("%1\t%2").arg(action->text().remove(QLatin1Char('&')), keys.join(QStringLiteral(", "))));
    }
    lines.append(QStringLiteral("Edit… on a cell\tEnter or a double click"));
    lines.append(QStringLiteral("Toggle Mark\tonly in the grid"));
    lines.append(QStringLiteral("Next and previous text that starts with the search\tF3, Shift+F3 in the search box"));
    lines.append(QStringLiteral("Accept Edit or Add\tCtrl+Enter"));
    return lines.join(QLatin1Char('\n'));
}

} // namespace app
