#pragma once

#include "dialogs/SearchTarget.h"
#include "dialogs/SelectedCell.h"

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QFrame;
class QLabel;
class QAction;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;

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

    [[nodiscard]] QString selectedCellText() const override;
    void setSelectedCellText(const QString& text) override;

    [[nodiscard]] const xom::EntryTable& searchedTable() const override;
    [[nodiscard]] int currentGridRow() const override;
    [[nodiscard]] int currentColumn() const override;
    void selectFoundCell(int gridRow, int column) override;
    void changeCells(std::vector<xom::CellChange> changes, const QString& what) override;

    // "Find and Replace…" (Ctrl+H) and Find (Ctrl+F, which opens the same
    // dialog with the search box's text).
    [[nodiscard]] QAction* findReplaceAction() const noexcept { return m_findReplaceAction; }
    [[nodiscard]] QAction* findAction() const noexcept { return m_findAction; }

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
    // F3 and Shift+F3 in the search box.
    void searchAgain(bool backwards);
    void FindReplaceClick();
    void FindClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
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
    dialogs::FindReplaceDialog* m_findReplace = nullptr;
    QAction* m_findReplaceAction = nullptr;
    QAction* m_findAction = nullptr;
    // What the count panel said before it said "Not found".
    std::optional<QString> m_countBeforeNotFound;
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
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    // The status bar's two panels: a count, and the selected row.
    QLabel* m_countPanel = nullptr;
    QLabel* m_rowPanel = nullptr;
};

} // namespace app
