#pragma once

#include "app/WindowActions.h"

#include "dialogs/SearchTarget.h"
#include "dialogs/SelectedCell.h"

#include "xom/EntryTable.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
#include <vector>

class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QUndoStack;

namespace dialogs {
class FindReplaceDialog;
class TAddForm;
class TEditForm;
} // namespace dialogs

namespace app {

class EntryGridModel;
class EntryGridView;
class FileDialogs;
class MessageBoxes;

// The main window `FormXom`: the entry grid, the preview pane, the status bar
// and a handler per user action. The handlers connect events to the xom
// operations and show what they did; they decide nothing themselves.
//
// It owns the model of the loaded file, apart from the widgets, and through
// the grid model the entries. Both are replaced whole by a load that
// succeeded and left alone by one that did not.
//
// Every change of the entries or the model is an undo step. The file has
// unsaved changes while the undo stack stands away from the step at which it
// was last loaded or saved; the caption then ends in " *", and closing the
// window, Quit and Open first ask whether to save them. Above the usual
// client area a menu bar offers every handler with its shortcuts.
class TFormXom final : public QMainWindow, public dialogs::SelectedCell, public dialogs::SearchTarget {
    Q_OBJECT

public:
    explicit TFormXom(QWidget* parent = nullptr);
    ~TFormXom() override;

    // The dialogs of the run, which are created after this window. Add and
    // Edit do nothing until they are attached.
    void attachDialogs(dialogs::TEditForm& editForm, dialogs::TAddForm& addForm);
    // Find and Replace does nothing until its dialog is attached.
    void attachFindReplace(dialogs::FindReplaceDialog& findReplace);

    // Replace the toolkit's file dialogs and message boxes (tests do).
    void setFileDialogs(std::unique_ptr<FileDialogs> fileDialogs);
    void setMessageBoxes(std::unique_ptr<MessageBoxes> messageBoxes);

    [[nodiscard]] const xom::LanguageModel& languageModel() const noexcept { return m_model; }
    [[nodiscard]] const xom::EntryTable& entries() const noexcept;
    [[nodiscard]] QUndoStack& undoStack() const noexcept { return *m_undoStack; }
    [[nodiscard]] const WindowActions& actions() const noexcept { return m_actions; }
    // Whether the grid or the model differs from the file last loaded or
    // saved. Nothing counts before a file was loaded.
    [[nodiscard]] bool hasUnsavedChanges() const;

    // Sets any number of cell texts as one undo step named text, as a
    // replace over many cells or an import does.
    void setCellTexts(std::vector<xom::CellChange> changes, const QString& text);

    // Opens the file at path as the Open button does after its dialog:
    // first the question about unsaved changes, then the all-or-nothing
    // load. Gives whether the file was loaded.
    bool openFile(const QString& path);

    [[nodiscard]] QString selectedCellText() const override;
    void setSelectedCellText(const QString& text) override;

    [[nodiscard]] const xom::EntryTable& searchedTable() const override;
    [[nodiscard]] int currentGridRow() const override;
    [[nodiscard]] int currentColumn() const override;
    void selectFoundCell(int gridRow, int column) override;
    // One undo step named what.
    void changeCells(std::vector<xom::CellChange> changes, const QString& what) override;

    // Loads the file at path as the reference language, read-only, through
    // the loader of Open: a rejected file shows Open's errors and leaves the
    // previous reference (or none) in place. Gives whether it was taken.
    bool openReference(const QString& path);

    // The reference and warning commands, for the window's menus. Next and
    // Previous Warning (F8, Shift+F8) also work without a menu.
    [[nodiscard]] QAction* openReferenceAction() const noexcept { return m_openReferenceAction; }
    [[nodiscard]] QAction* closeReferenceAction() const noexcept { return m_closeReferenceAction; }
    [[nodiscard]] QAction* nextWarningAction() const noexcept { return m_nextWarningAction; }
    [[nodiscard]] QAction* previousWarningAction() const noexcept { return m_previousWarningAction; }

public slots:
    void Button1Click();
    void SaveLangClick();
    void AddRowClick();
    void EditTextClick();
    void MoveDownClick();
    void SortClick();
    // A mouse press on the mark cell of an entry row.
    void TableMouseDown(int gridRow);
    void TableMouseUp();
    void TableSelectCell(const QModelIndex& cell);
    void Edit1KeyDown(int key);
    void OpenReferenceClick();
    void CloseReferenceClick();
    // Select the Text cell of the next or previous entry that fails a check,
    // wrapping round; nothing without a reference or a failing entry.
    void NextWarningClick();
    void PreviousWarningClick();
    // Edit on the current cell, whatever its column: F2, Enter or a double
    // click on the grid.
    void editCurrentCell();
    void toggleCurrentMark();
    void undo();
    void redo();
    void findInTexts();
    // F3 and Shift+F3 in the search box.
    void searchAgain(bool backwards);
    // Find and Replace, and Find: the same dialog with the search box's text.
    void FindReplaceClick();
    void FindClick();
    void showAbout();
    void showKeyboardShortcuts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void buildReviewControls();
    // Reads and loads a language file, showing Open's errors; nothing when
    // it was not taken.
    [[nodiscard]] std::optional<xom::LoadedFile> readLanguageFile(const QString& path);
    // The review's panels: the totals, the current entry's failing checks
    // and its reference text.
    void showReview();
    void showCurrentReview();
    void stepToFailingEntry(bool forward);
    void buildMenus();
    void setTabOrders();
    // Runs a handler; an error it raises, a shortage of memory included, is
    // shown in the error box and the event loop carries on.
    void guarded(const std::function<void()>& handler);
    // The question before unsaved changes would go. Gives whether to go on:
    // nothing unsaved, Discard, or Save and the save succeeded.
    bool settleUnsavedChanges();
    bool loadFile(const QString& path);
    void takeLoadedFile(xom::EntryTable entries, xom::LanguageModel model, const QString& path);
    // Save with its dialog; gives whether a file was written.
    bool saveWithDialog();
    void setButtonEnabled(QPushButton& button, QAction& action, bool enabled);
    void setCaption(const QString& caption);
    void updateCaption();
    void fitNumberWidths();
    void setProgress(int position);
    void showError(const QString& message);

    xom::LanguageModel m_model;
    EntryGridModel* m_grid;
    std::unique_ptr<FileDialogs> m_fileDialogs;
    std::unique_ptr<MessageBoxes> m_messageBoxes;
    dialogs::TEditForm* m_editForm = nullptr;
    dialogs::TAddForm* m_addForm = nullptr;
    dialogs::FindReplaceDialog* m_findReplace = nullptr;
    // What the count panel said before it said "Not found".
    std::optional<QString> m_countBeforeNotFound;
    // Where the next save dialog starts: the previous save's path.
    QString m_lastSavePath;
    QUndoStack* m_undoStack;
    WindowActions m_actions;
    // The file last loaded or saved, empty before the first load; the
    // caption as it reads without unsaved changes.
    QString m_documentPath;
    QString m_caption;

    QPushButton* Button1 = nullptr;
    QPushButton* AddRow = nullptr;
    QPushButton* EditText = nullptr;
    QPushButton* MoveDown = nullptr;
    QPushButton* Sort = nullptr;
    QLabel* LabSearch = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* SaveLang = nullptr;
    QFrame* Panel1 = nullptr;
    EntryGridView* Table = nullptr;
    QSplitter* Splitter1 = nullptr;
    QPlainTextEdit* RichEdit1 = nullptr;
    // Below the preview under a thin rule while a reference is open.
    QWidget* ReferencePane = nullptr;
    QPlainTextEdit* ReferencePreview = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    // The status bar's two panels: a count (the review's totals while a
    // reference is open), and the selected row.
    QLabel* m_countPanel = nullptr;
    QLabel* m_rowPanel = nullptr;
    // While a reference is open: the checks the current entry fails.
    QLabel* m_checksPanel = nullptr;
    QAction* m_openReferenceAction = nullptr;
    QAction* m_closeReferenceAction = nullptr;
    QAction* m_nextWarningAction = nullptr;
    QAction* m_previousWarningAction = nullptr;
};

} // namespace app
