#pragma once

#include "dialogs/SelectedCell.h"

#include "xom/EntryTable.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageModel.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;

namespace dialogs {
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
class TFormXom final : public QMainWindow, public dialogs::SelectedCell {
    Q_OBJECT

public:
    explicit TFormXom(QWidget* parent = nullptr);
    ~TFormXom() override;

    // The dialogs of the run, which are created after this window. Add and
    // Edit do nothing until they are attached.
    void attachDialogs(dialogs::TEditForm& editForm, dialogs::TAddForm& addForm);

    // Replace the toolkit's file dialogs and message boxes (tests do).
    void setFileDialogs(std::unique_ptr<FileDialogs> fileDialogs);
    void setMessageBoxes(std::unique_ptr<MessageBoxes> messageBoxes);

    [[nodiscard]] const xom::LanguageModel& languageModel() const noexcept { return m_model; }
    [[nodiscard]] const xom::EntryTable& entries() const noexcept;

    [[nodiscard]] QString selectedCellText() const override;
    void setSelectedCellText(const QString& text) override;

    // Loads the file at path as the reference language, read-only, through
    // the loader of Open: a rejected file shows Open's errors and leaves the
    // previous reference (or none) in place. Gives whether it was taken.
    bool openReference(const QString& path);

    // The hook for the File menu: appends Open Reference… and Close
    // Reference to menu (any widget that shows actions).
    void addReferenceActionsTo(QWidget& menu) const;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    void setTabOrders();
    void takeLoadedFile(xom::EntryTable entries, xom::LanguageModel model, const QString& path);
    void setProgress(int position);
    void showError(const QString& message);

    xom::LanguageModel m_model;
    EntryGridModel* m_grid;
    std::unique_ptr<FileDialogs> m_fileDialogs;
    std::unique_ptr<MessageBoxes> m_messageBoxes;
    dialogs::TEditForm* m_editForm = nullptr;
    dialogs::TAddForm* m_addForm = nullptr;
    // Where the next save dialog starts: the previous save's path.
    QString m_lastSavePath;

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
