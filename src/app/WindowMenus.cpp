// The main window's menus: each item connected to its handler, the items
// enabled while they have something to do, Undo and Redo naming their step,
// and the Help boxes.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridView.h"
#include "app/MessageBoxes.h"
#include "app/WindowCaptions.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>

namespace app {

void TFormXom::buildMenus()
{
    m_actions = WindowActions::build(*this, *Table);
}

void TFormXom::connectMenus()
{
    connect(m_actions.open, &QAction::triggered, this, &TFormXom::Button1Click);
    connect(m_actions.recentMenu, &QMenu::aboutToShow, this, &TFormXom::rebuildRecentMenu);
    connect(m_actions.openReference, &QAction::triggered, this, &TFormXom::OpenReferenceClick);
    connect(m_actions.closeReference, &QAction::triggered, this, &TFormXom::CloseReferenceClick);
    connect(m_actions.updateFromReference, &QAction::triggered, this, &TFormXom::updateFromReferenceClick);
    connect(m_actions.save, &QAction::triggered, this, &TFormXom::saveClick);
    connect(m_actions.saveAs, &QAction::triggered, this, &TFormXom::SaveLangClick);
    connect(m_actions.importFile, &QAction::triggered, this, &TFormXom::importClick);
    connect(m_actions.exportFile, &QAction::triggered, this, &TFormXom::exportClick);
    connect(m_actions.quit, &QAction::triggered, this, &QWidget::close);
    connect(m_actions.undo, &QAction::triggered, this, &TFormXom::undo);
    connect(m_actions.redo, &QAction::triggered, this, &TFormXom::redo);
    connect(m_actions.add, &QAction::triggered, this, &TFormXom::AddRowClick);
    connect(m_actions.edit, &QAction::triggered, this, &TFormXom::EditTextClick);
    connect(m_actions.toggleMark, &QAction::triggered, this, &TFormXom::toggleCurrentMark);
    connect(m_actions.moveDown, &QAction::triggered, this, &TFormXom::MoveDownClick);
    connect(m_actions.sort, &QAction::triggered, this, &TFormXom::SortClick);
    connect(m_actions.findInTexts, &QAction::triggered, this, &TFormXom::findInTexts);
    connect(m_actions.find, &QAction::triggered, this, &TFormXom::FindClick);
    connect(m_actions.findReplace, &QAction::triggered, this, &TFormXom::FindReplaceClick);
    connect(m_actions.searchNext, &QAction::triggered, this, [this] { searchAgain(false); });
    connect(m_actions.searchPrevious, &QAction::triggered, this, [this] { searchAgain(true); });
    connect(m_actions.goTo, &QAction::triggered, this, &TFormXom::goToClick);
    connect(m_actions.copyReference, &QAction::triggered, this, &TFormXom::copyReferenceClick);
    connect(m_actions.approve, &QAction::triggered, this, &TFormXom::approveCurrent);
    connect(m_actions.nextToReview, &QAction::triggered, this, &TFormXom::goToNextToReview);
    connect(m_actions.nextWarning, &QAction::triggered, this, &TFormXom::NextWarningClick);
    connect(m_actions.previousWarning, &QAction::triggered, this, &TFormXom::PreviousWarningClick);
    connect(m_actions.about, &QAction::triggered, this, &TFormXom::showAbout);
    connect(m_actions.keyboardShortcuts, &QAction::triggered, this, &TFormXom::showKeyboardShortcuts);

    setSaveEnabled(SaveLang->isEnabled());
    m_actions.add->setEnabled(AddRow->isEnabled());
    m_actions.edit->setEnabled(EditText->isEnabled());
    m_actions.undo->setEnabled(false);
    m_actions.redo->setEnabled(false);
    // The reference's items wait for a reference.
    for (QAction* const action :
        {m_actions.closeReference, m_actions.copyReference, m_actions.nextWarning, m_actions.previousWarning})
        action->setEnabled(false);
}

void TFormXom::updateUndoTexts()
{
    const document::UndoHistory& history = m_document.history();
    m_actions.undo->setText(undoActionText(history.undoText()));
    m_actions.redo->setText(redoActionText(history.redoText()));
    m_actions.undo->setEnabled(history.canUndo());
    m_actions.redo->setEnabled(history.canRedo());
}

void TFormXom::showAbout()
{
    m_messageBoxes->showInformation(QStringLiteral("About"),
        QStringLiteral("%1\nVersion %2\n\nEdits the string resources of a game's language files (lang*.xom).")
            .arg(applicationTitle(), QCoreApplication::applicationVersion()));
}

void TFormXom::showKeyboardShortcuts()
{
    m_messageBoxes->showShortcuts(m_actions.shortcutRows());
}

} // namespace app
