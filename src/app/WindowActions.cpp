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

// The platform's keys for a standard action and then the usual ones, each
// once: a platform without a binding (Quit on some) still has the keys the
// editor documents, and Ctrl+Y redoes, as translators know from elsewhere.
QList<QKeySequence> standardKeys(const QKeySequence::StandardKey standard, const QList<QKeySequence>& usual)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    for (const QKeySequence& key : usual) {
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}

QString withStep(const QString& action, const QString& stepName)
{
    return stepName.isEmpty() ? action : action + QLatin1Char(' ') + stepName;
}

} // namespace

QString undoActionText(const QString& stepName)
{
    return withStep(QStringLiteral("&Undo"), stepName);
}

QString redoActionText(const QString& stepName)
{
    return withStep(QStringLiteral("&Redo"), stepName);
}

WindowActions WindowActions::build(QMainWindow& window, QWidget& grid)
{
    WindowActions actions;
    QMenuBar* const bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));

    actions.fileMenu = bar->addMenu(QStringLiteral("&File"));
    actions.open = makeAction(*actions.fileMenu, QStringLiteral("&Open…"), "actionOpen", {QKeySequence::Open});
    actions.recentMenu = actions.fileMenu->addMenu(QStringLiteral("Open &Recent"));
    actions.recentMenu->setObjectName(QStringLiteral("menuOpenRecent"));
    actions.openReference = makeAction(*actions.fileMenu, QStringLiteral("Open Reference…"), "OpenReference");
    actions.closeReference = makeAction(*actions.fileMenu, QStringLiteral("Close Reference"), "CloseReference");
    actions.updateFromReference
        = makeAction(*actions.fileMenu, QStringLiteral("Update from New Reference…"), "UpdateFromReference");
    actions.fileMenu->addSeparator();
    actions.save = makeAction(*actions.fileMenu, QStringLiteral("&Save"), "actionSave", {QKeySequence::Save});
    actions.saveAs = makeAction(*actions.fileMenu, QStringLiteral("Save &As…"), "actionSaveAs",
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    actions.fileMenu->addSeparator();
    actions.importFile = makeAction(*actions.fileMenu, QStringLiteral("&Import…"), "actionImport");
    actions.exportFile = makeAction(*actions.fileMenu, QStringLiteral("&Export…"), "actionExport");
    actions.fileMenu->addSeparator();
    actions.keepBackups
        = makeAction(*actions.fileMenu, QStringLiteral("Keep a &Backup on First Save"), "actionKeepBackups");
    actions.keepBackups->setCheckable(true);
    actions.fileMenu->addSeparator();
    actions.quit = makeAction(*actions.fileMenu, QStringLiteral("&Quit"), "actionQuit",
        standardKeys(QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}));

    actions.editMenu = bar->addMenu(QStringLiteral("&Edit"));
    actions.undo = makeAction(*actions.editMenu, undoActionText({}), "actionUndo", {QKeySequence::Undo});
    actions.redo = makeAction(*actions.editMenu, redoActionText({}), "actionRedo",
        standardKeys(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::Key_Y)}));
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
    actions.searchNext
        = makeAction(*actions.editMenu, QStringLiteral("Search &Next"), "actionSearchNext", {QKeySequence(Qt::Key_F3)});
    actions.searchPrevious = makeAction(*actions.editMenu, QStringLiteral("Search &Previous"), "actionSearchPrevious",
        {QKeySequence(Qt::SHIFT | Qt::Key_F3)});
    actions.goTo = makeAction(
        *actions.editMenu, QStringLiteral("&Go to Entry…"), "actionGoTo", {QKeySequence(Qt::CTRL | Qt::Key_G)});
    actions.editMenu->addSeparator();
    actions.copyReference = makeAction(*actions.editMenu, QStringLiteral("&Copy Reference into Text"),
        "actionCopyReference", {QKeySequence(Qt::CTRL | Qt::Key_B)});
    actions.approve = makeAction(*actions.editMenu, QStringLiteral("A&pprove"), "actionApprove",
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    actions.nextToReview = makeAction(*actions.editMenu, QStringLiteral("Next to Re&view"), "actionNextToReview",
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter)});
    // In the grid only, as Space: the search box takes every Return as a
    // search.
    for (QAction* const action : {actions.approve, actions.nextToReview}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        grid.addAction(action);
    }
    actions.nextWarning
        = makeAction(*actions.editMenu, QStringLiteral("Next &Warning"), "NextWarning", {QKeySequence(Qt::Key_F8)});
    actions.previousWarning = makeAction(*actions.editMenu, QStringLiteral("Previous W&arning"), "PreviousWarning",
        {QKeySequence(Qt::SHIFT | Qt::Key_F8)});
    actions.checks = makeAction(*actions.editMenu, QStringLiteral("C&hecks…"), "actionChecks");
    actions.fix = makeAction(*actions.editMenu, QStringLiteral("&Fix…"), "actionFix");
    actions.editMenu->addSeparator();
    auto* const suggestions = actions.editMenu->addMenu(QStringLiteral("Insert &Suggestion"));
    for (int k = 0; k < static_cast<int>(actions.insertSuggestion.size()); ++k) {
        actions.insertSuggestion[static_cast<std::size_t>(k)]
            = makeAction(*suggestions, QStringLiteral("Suggestion &%1").arg(k + 1),
                QStringLiteral("actionInsertSuggestion%1").arg(k + 1).toLatin1().constData(),
                {QKeySequence(Qt::CTRL | (Qt::Key_1 + k))});
    }
    actions.searchMemory = makeAction(*actions.editMenu, QStringLiteral("Search &Memory…"), "actionSearchMemory",
        {QKeySequence(Qt::CTRL | Qt::Key_K)});
    actions.preTranslate = makeAction(*actions.editMenu, QStringLiteral("Pre-&translate…"), "actionPreTranslate");
    actions.languages = makeAction(*actions.editMenu, QStringLiteral("&Languages…"), "actionLanguages");
    actions.memoryFile = makeAction(*actions.editMenu, QStringLiteral("Memory &File…"), "actionMemoryFile");

    actions.helpMenu = bar->addMenu(QStringLiteral("&Help"));
    actions.about = makeAction(*actions.helpMenu, QStringLiteral("&About"), "actionAbout");
    actions.keyboardShortcuts
        = makeAction(*actions.helpMenu, QStringLiteral("&Keyboard Shortcuts"), "actionKeyboardShortcuts");
    return actions;
}

QList<QPair<QString, QString>> WindowActions::shortcutRows() const
{
    QList<QPair<QString, QString>> rows;
    const auto keysOf = [](const QAction* action) {
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts())
            keys.append(key.toString(QKeySequence::NativeText));
        return keys.join(QStringLiteral(", "));
    };
    // Undo and Redo by their plain names: their texts name the next step.
    rows.append({QStringLiteral("Undo"), keysOf(undo)});
    rows.append({QStringLiteral("Redo"), keysOf(redo)});
    for (const QAction* const action : {open, save, saveAs, quit, add, edit, find, findReplace, searchNext,
             searchPrevious, goTo, copyReference, approve, nextToReview, nextWarning, previousWarning})
        rows.append({action->text().remove(QLatin1Char('&')).remove(QChar(0x2026)), keysOf(action)});
    rows.append({QStringLiteral("Edit the current cell"), QStringLiteral("Enter or a double click")});
    rows.append({QStringLiteral("Toggle Mark"), QStringLiteral("Space, in the grid")});
    rows.append({QStringLiteral("Accept Edit or Add"), QStringLiteral("Ctrl+Enter")});
    rows.append({QStringLiteral("Accept Edit and go to the next entry to check"), QStringLiteral("Ctrl+Shift+Enter")});
    rows.append({QStringLiteral("Copy the reference in the Edit dialog"), QStringLiteral("Ctrl+B")});
    rows.append({QStringLiteral("Insert a translation memory suggestion"), QStringLiteral("Ctrl+1 … Ctrl+5")});
    rows.append({QStringLiteral("Search Memory"), keysOf(searchMemory)});
    return rows;
}

} // namespace app
