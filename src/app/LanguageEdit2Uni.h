#pragma once

#include "app/RecentFiles.h"
#include "app/WindowActions.h"

#include "checks/DocumentChecks.h"

#include "dialogs/SearchTarget.h"
#include "dialogs/SelectedCell.h"

#include "document/Document.h"
#include "document/RowFilter.h"

#include "memory/MemoryFiller.h"
#include "memory/TranslationMemory.h"

#include "recovery/DocumentJournal.h"

#include "xom/EntryTable.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCloseEvent;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QResizeEvent;
class QSplitter;
class QStatusBar;

namespace dialogs {
class ChecksDialog;
class EditNameForm;
class FindReplaceDialog;
class GoToForm;
class MemorySearchDialog;
class PreTranslateDialog;
class TAddForm;
class TEditForm;
} // namespace dialogs

namespace app {

class EntryGridModel;
class EntryGridView;
class MemoryLookup;
class SuggestionsPane;
class SpellingScan;
class WindowSpeller;
class FileDialogs;
class MessageBoxes;

// The main window `FormXom`: the entry grid, the preview pane, the status bar
// and a handler per user action. The handlers connect events to the xom
// operations and show what they did; they decide nothing themselves.
//
// It holds one document (the loaded file, its entries, the reference, the
// undo history), which the grid model shows; a load that succeeded replaces
// the document's file whole and one that did not leaves it alone.
//
// Every change of the entries or the model is an undo step of the document.
// The file has unsaved changes while the entries differ from the file last
// loaded or saved as a save would write them (marks are never saved); the
// caption then ends in " *", and closing the window, Quit and Open first
// ask whether to save them. Above the usual client area a menu bar offers every handler
// with its shortcuts.
//
// The views always show the current cell as it is: after every change, undo
// and redo the current cell is the entry the change concerned, scrolled into
// view, and the row panel, the preview and the reference under it show its
// row and its present texts.
//
// The implementation is spread by concern: the form and its handlers here,
// the menus (WindowMenus.cpp), files (WindowFiles.cpp), the reference
// (WindowReference.cpp), searches (WindowSearch.cpp), what the views show of
// the current cell (WindowViews.cpp), and the window's size and settings
// (WindowGeometry.cpp).
class TFormXom final : public QMainWindow, public dialogs::SelectedCell, public dialogs::SearchTarget {
    Q_OBJECT

public:
    explicit TFormXom(QWidget* parent = nullptr);
    ~TFormXom() override;

    // The dialogs of the run, which are created after this window. Add and
    // Edit do nothing until they are attached.
    void attachDialogs(dialogs::TEditForm& editForm, dialogs::TAddForm& addForm);
    // The Edit dialog of names and Go to Entry.
    void attachEntryDialogs(dialogs::EditNameForm& editNameForm, dialogs::GoToForm& goToForm);
    // Find and Replace does nothing until its dialog is attached.
    void attachFindReplace(dialogs::FindReplaceDialog& findReplace);

    // Replace the toolkit's file dialogs and message boxes (tests do).
    void setFileDialogs(std::unique_ptr<FileDialogs> fileDialogs);
    void setMessageBoxes(std::unique_ptr<MessageBoxes> messageBoxes);

    [[nodiscard]] const xom::LanguageModel& languageModel() const noexcept { return m_document.model(); }
    [[nodiscard]] const xom::EntryTable& entries() const noexcept { return m_document.entries(); }
    [[nodiscard]] document::Document& document() noexcept { return m_document; }
    [[nodiscard]] const WindowActions& actions() const noexcept { return m_actions; }
    // The translation memory the window uses (WindowMemory.cpp): its file,
    // from the settings or the user's own; the lookups, on their thread;
    // and the pane that shows them.
    void setMemoryPath(const QString& path);
    [[nodiscard]] MemoryLookup& memoryLookup() noexcept { return *m_memoryLookup; }
    [[nodiscard]] SuggestionsPane& suggestionsPane() noexcept { return *Suggestions; }
    [[nodiscard]] dialogs::PreTranslateDialog& preTranslateDialog();
    [[nodiscard]] dialogs::ChecksDialog& checksDialog();
    [[nodiscard]] dialogs::MemorySearchDialog& memorySearchDialog();
    [[nodiscard]] const RecentFiles& recentFiles() const noexcept { return m_recentFiles; }
    // Whether the entries differ from the file last loaded or saved as a
    // save would write them. Nothing counts before a file was loaded.
    [[nodiscard]] bool hasUnsavedChanges() const { return m_document.isModified(); }

    // Sets any number of cell texts as one undo step named text, as a
    // replace over many cells or an import does.
    void setCellTexts(std::vector<xom::CellChange> changes, const QString& text);

    // Opens the file at path as the Open button does after its dialog:
    // first the question about unsaved changes, then the all-or-nothing
    // load. A file that is not there is reported, naming it. Gives whether
    // the file was loaded.
    bool openFile(const QString& path);

    // Offers to recover the changes a run that did not end cleanly left to
    // the file at path, or, without a path, to the file most recently
    // changed so (the start does this). Gives whether a file was recovered.
    bool offerRecovery(const QString& path = {});
    [[nodiscard]] recovery::DocumentJournal& journal() noexcept { return *m_journal; }

    [[nodiscard]] QString selectedCellText() const override;
    void setSelectedCellText(const QString& text) override;
    [[nodiscard]] QString selectedEntryLabel() const override;
    [[nodiscard]] bool referenceIsOpen() const override;
    [[nodiscard]] std::optional<QString> selectedReferenceText() const override;
    [[nodiscard]] QString renameWarning(const QString& name) const override;

    [[nodiscard]] QString searchProblem(const dialogs::SearchRequest& request) const override;
    [[nodiscard]] std::optional<dialogs::FoundText> findMatch(const dialogs::SearchRequest& request,
        const std::optional<dialogs::FoundText>& from, bool backwards) const override;
    dialogs::ReplaceOutcome replaceMatch(
        const dialogs::SearchRequest& request, const dialogs::FoundText& found, const QString& replacement) override;
    QString replaceAll(const dialogs::SearchRequest& request, const QString& replacement) override;
    [[nodiscard]] QString countMatches(const dialogs::SearchRequest& request) const override;
    [[nodiscard]] int currentGridRow() const override;
    [[nodiscard]] int currentColumn() const override;
    void selectFoundCell(int gridRow, int column) override;

    // Applies the exchange file at path, read as format, to the document as
    // one undo step, and shows what it did; a file refused changes nothing
    // and its refusals are shown by line. Gives whether it was applied.
    bool importFile(const QString& path, exchange::ExchangeFormat format);
    // Writes the entries to path as format, the reference's texts as the
    // sources while one is open. Gives whether the file was written.
    bool exportFile(const QString& path, exchange::ExchangeFormat format);

    // Loads the file at path as the reference language, read-only, through
    // the loader of Open: a rejected file shows Open's errors (a missing one
    // is named) and leaves the previous reference (or none) in place. Gives
    // whether it was taken.
    bool openReference(const QString& path);

    // Selects the entry a query names by number or name (see
    // xom::findEntryRow); false when there is none.
    bool goToEntry(const QString& query);

public slots:
    void Button1Click();
    // The "Save lang*.xom" button and File › Save As…: the save dialog.
    void SaveLangClick();
    // File › Save: to the file open (or last saved), without a dialog.
    void saveClick();
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
    // File › Import… and File › Export…: the file and its type chosen in a
    // dialog.
    void importClick();
    void exportClick();
    void CloseReferenceClick();
    // File › Update from New Reference…: the translation carried to the
    // reference file chosen, which then is the reference open; the one open
    // before stands in for the sources entries kept none of.
    void updateFromReferenceClick();
    bool updateFromReference(const QString& path);
    // Select the Text cell of the next or previous entry that fails a check,
    // wrapping round; nothing without a reference or a failing entry.
    void NextWarningClick();
    void PreviousWarningClick();
    // The current entry's reference text becomes its text, one undo step.
    void copyReferenceClick();
    // The translation memory (WindowMemory.cpp): the current entry's
    // suggestions asked for and shown, one put in the entry (Ctrl+1 …), the
    // memory searched (Ctrl+K), the untranslated entries filled, and a
    // save's new translations given to the memory.
    void buildMemoryControls();
    void lookUpCurrentEntry();
    void showSuggestions(quint64 serial, const std::vector<memory::MemoryMatch>& matches);
    void insertSuggestion(int index);
    void searchMemoryClick();
    void preTranslateClick();
    void memoryFileClick();
    void giveSavedUnitsToMemory();
    // Asks for the languages where the names tell none, once a file (or
    // always, from Edit › Languages…); the review file keeps them.
    void askLanguages(bool always);
    [[nodiscard]] memory::LanguagePair memoryLanguages() const;
    // The checks the review runs (WindowChecks.cpp): the file's choices
    // applied whenever they, the file or its language change; Edit ›
    // Checks… and Edit › Fix….
    void buildCheckControls();
    void applyChecks();
    void checksClick();
    void fixClick();
    // The whole file spelled again: at once for a small file, on the
    // spelling thread for a large one; the rows of cells changed at once.
    void spellWholeFile();
    void spellChangedRows(const std::vector<xom::CellChange>& changes);
    // Ctrl+Enter and Ctrl+Shift+Enter (WindowReviewFile.cpp).
    void approveCurrent();
    void goToNextToReview();
    // The grid shows only the rows that pass filter (WindowFilter.cpp); the
    // filter box follows.
    void showOnly(document::RowFilter filter);
    // Edit on the current cell: F2, Enter or a double click on the grid. A
    // Text cell opens the Edit dialog, a Name cell the Edit Name dialog;
    // numbers, marks and references are not edited.
    void editCurrentCell();
    void toggleCurrentMark();
    void undo();
    void redo();
    void findInTexts();
    // F3 and Shift+F3, wherever the focus is in the window.
    void searchAgain(bool backwards);
    // Find and Replace, and Find: the same dialog with the search box's text.
    void FindReplaceClick();
    void FindClick();
    void goToClick();
    void showAbout();
    void showKeyboardShortcuts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class MissingFile { Ignore, Report };

    void buildControls();
    void buildReviewControls();
    void buildMenus();
    void connectMenus();
    void setTabOrders();

    // What the name dialogs say of name: which entry other than the one at
    // exceptGridRow (0: none) has it already.
    [[nodiscard]] QString sharedNameWarning(const QString& name, int exceptGridRow) const;
    // Runs a handler; an error it raises, a shortage of memory included, is
    // shown in the error box and the event loop carries on.
    void guarded(const std::function<void()>& handler);

    // Files (WindowFiles.cpp).
    // Reads and loads a language file, showing Open's errors; nothing when
    // it was not taken. A missing file is reported only when asked to.
    [[nodiscard]] std::optional<xom::LoadedFile> readLanguageFile(
        const QString& path, MissingFile missing, QByteArray* bytesRead = nullptr);
    // The question before unsaved changes would go. Gives whether to go on:
    // nothing unsaved, Discard, or Save and the save succeeded.
    bool settleUnsavedChanges();
    // Open's load of path, after the offer to recover it.
    bool loadFile(const QString& path, MissingFile missing);
    // Loads the file at source as the document's file path.
    bool loadFileAs(const QString& source, const QString& path, MissingFile missing);
    void takeLoadedFile(xom::LoadedFile file, const QString& path);
    // Save with its dialog; gives whether a file was written.
    bool saveWithDialog();
    // Save to the file open; gives whether it was written.
    bool saveDocument();
    bool saveTo(const QString& path);
    // Before a save replaces a file: only another existing file than the one
    // open is asked about. Gives whether to go on.
    bool mayReplace(const QString& path);
    void openRecent(const RecentFile& file);
    void rememberRecentFiles();
    void rebuildRecentMenu();

    // The reference (WindowReference.cpp).
    void showUpdateSummary(document::UpdateResult result);
    // The recent files remember the reference now open (or none) with the
    // file.
    void rememberReference();
    // The review's panels: the totals, the current entry's failing checks
    // and its reference text.
    void showReview();
    void showCurrentReview();
    // Gives whether an entry was found to go to.
    bool stepToFailingEntry(bool forward);

    // The filter box in the status bar, its counts kept current
    // (WindowFilter.cpp).
    void buildFilterControls();
    void showFilterCounts();
    // Selects a grid row's cell; a row the filter hides shows all rows
    // first, since what the user goes to must be in view.
    void selectGridCell(int gridRow, int column);
    // The nearest row shown after (or before) the current one for which
    // wanted holds, wrapping round; nothing when no shown row does.
    [[nodiscard]] std::optional<int> nextShownRow(bool forward, const std::function<bool(int gridRow)>& wanted) const;
    // The reference pane: the reference text, or with its source changed
    // since the entry was accepted, the words deleted and inserted since.
    void showReferenceOf(int gridRow);

    // The review file beside the file just loaded from bytes
    // (WindowReviewFile.cpp): taken, or refused by line with the file
    // opened without states; what it says of entries the file lacks, and
    // a review saved with other bytes, are told.
    void takeReviewBeside(const QString& path, const QByteArray& bytes);

    // Recovery and backups (WindowRecovery.cpp).
    void buildRecoveryControls();
    // Loads the file a left journal began on (or, given its path, the copy
    // of it the journal holds) and replays the journal onto it.
    bool recoverFrom(recovery::LeftJournal left, const QString& copyPath);

    // Size and settings (WindowGeometry.cpp).
    void placeOnScreen();
    void layOutClient();
    void restoreWindowState();
    void storeWindowState();
    // Moves a modeless dialog off the grid row it was made to select.
    void keepClearOfCurrentRow(QWidget& dialog);

    // What the views show of the current cell: its row and texts as they
    // are now; revealing it also scrolls it into view, after a change that
    // concerned it (a click on a mark, far from it, leaves the view alone).
    void showCurrentCell();
    void revealCurrentCell();
    void showConcernedRow(int gridRow);
    void showConcernedCells(const std::vector<xom::CellChange>& changes);
    void showPreview(const QString& text);
    void showCountPanel();
    void showNotFound();
    void followEditButton(const QModelIndex& current);

    void setButtonEnabled(QPushButton& button, QAction& action, bool enabled);
    void setSaveEnabled(bool enabled);
    void setCaption(const QString& caption);
    void updateCaption();
    void updateUndoTexts();
    void fitNumberWidths();
    void setProgress(int position);
    void showError(const QString& message);

    document::Document m_document;
    // Goes before the document, which it follows.
    std::unique_ptr<recovery::DocumentJournal> m_journal;
    EntryGridModel* m_grid;
    std::unique_ptr<FileDialogs> m_fileDialogs;
    std::unique_ptr<MessageBoxes> m_messageBoxes;
    dialogs::TEditForm* m_editForm = nullptr;
    dialogs::TAddForm* m_addForm = nullptr;
    dialogs::EditNameForm* m_editNameForm = nullptr;
    dialogs::GoToForm* m_goToForm = nullptr;
    dialogs::FindReplaceDialog* m_findReplace = nullptr;
    dialogs::PreTranslateDialog* m_preTranslateDialog = nullptr;
    dialogs::ChecksDialog* m_checksDialog = nullptr;
    dialogs::MemorySearchDialog* m_memorySearchDialog = nullptr;
    // What the count panel says without a reference: the container count of
    // the last load, or the number of the entry last added.
    QString m_entryCount;
    // The count panel says "Not found" until the next selection.
    bool m_notFound = false;
    // The texts the preview and the reference under it show (see
    // setPaneText).
    QString m_previewText;
    QString m_referencePreviewText;
    // The texts of the difference the reference pane shows, before and after;
    // nothing while it shows a plain text.
    std::optional<std::pair<QString, QString>> m_referenceDiffShown;
    // Where the next save dialog starts: the previous save's path.
    QString m_lastSavePath;
    WindowActions m_actions;
    RecentFiles m_recentFiles;
    // The caption as it reads without unsaved changes.
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
    // The checks the review runs now, and the context of their details;
    // applied again only when the selection or the language changes.
    std::optional<std::pair<checks::CheckSelection, QString>> m_appliedChecks;
    checks::TextCheckContext m_checkContext;
    // The Edit dialog's spelling, in the file's language.
    std::unique_ptr<WindowSpeller> m_speller;
    // The unknown words of the whole file, by row, and the scan whose
    // answer they wait for.
    SpellingScan* m_spellingScan = nullptr;
    quint64 m_spellingSerial = 0;
    checks::UnknownWords m_unknownWords;
    // Shown only while changes are not being recorded for recovery.
    QLabel* m_recoveryPanel = nullptr;
    // Under the reference pane while a reference is open.
    SuggestionsPane* Suggestions = nullptr;
    MemoryLookup* m_memoryLookup = nullptr;
    memory::MemoryFiller m_memoryFiller;
    QString m_memoryPath;
    // The lookup whose answer the pane waits for, and the source it was for.
    quint64 m_lookupSerial = 0;
    QString m_lookupSource;
    // Whether the languages were asked for since the file was opened.
    bool m_languagesAsked = false;
    // Which entries the grid shows, with the count of each choice.
    QComboBox* FilterBox = nullptr;
    bool m_filterCountsDue = false;
    // Whether the number column has room for the state icons.
    bool m_numberIconRoom = false;
};

} // namespace app
