#pragma once

#include "app/EditorForms.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace app {
class EntryGridView;
}

namespace apptest {

// Answers the file dialogs from queues; an empty queue answers "cancelled".
class FakeFileDialogs final : public app::FileDialogs {
public:
    std::deque<QString> openAnswers;
    std::deque<QString> referenceAnswers;
    std::deque<QString> saveAnswers;
    // The start path of every save dialog shown, in order.
    QStringList saveStartPaths;
    // The next open dialog fails for want of memory.
    bool openRunsOutOfMemory = false;
    // The import and export dialogs' answers, and where each export dialog
    // started.
    std::deque<app::ExchangeFile> importAnswers;
    std::deque<app::ExchangeFile> exportAnswers;
    QStringList exportStartPaths;
    // The memory dialogs' answers, and where each started.
    std::deque<QString> memoryAnswers;
    QStringList memoryStartPaths;

    [[nodiscard]] QString chooseOpenFile() override;
    [[nodiscard]] QString chooseReferenceFile(const QString& title) override;
    [[nodiscard]] QString chooseSaveFile(const QString& startPath) override;
    [[nodiscard]] std::optional<app::ExchangeFile> chooseImportFile() override;
    [[nodiscard]] std::optional<app::ExchangeFile> chooseExportFile(const QString& startPath) override;
    [[nodiscard]] QString chooseMemoryFile(const QString& currentPath) override;
};

// Records the boxes that would have been shown, and answers the question
// about unsaved changes from a queue (empty: Cancel).
class FakeMessageBoxes final : public app::MessageBoxes {
public:
    int badLanguageFileBoxes = 0;
    QStringList badLanguageFileDetails;
    QStringList errorTexts;
    // The details behind each error box, empty where it had none.
    QStringList errorDetails;
    // What each information box said.
    QStringList informationTexts;
    QStringList questions;
    std::deque<app::SaveChoice> saveAnswers;
    // The questions before a save replaces another file, and their answers
    // (empty: Cancel).
    QStringList replaceQuestions;
    std::deque<bool> replaceAnswers;
    QStringList informationCaptions;
    QList<QPair<QString, QString>> shortcutRows;
    // The recovery questions, whether each offered Recover, and their
    // answers (empty: Later).
    QStringList recoverQuestions;
    QList<bool> recoverOffered;
    std::deque<app::RecoverChoice> recoverAnswers;
    // The questions after an update found entries to drop, and their
    // answers (empty: Keep Them).
    QStringList dropQuestions;
    std::deque<bool> dropAnswers;
    // The questions before the safe fixes, and their answers (empty: Cancel).
    QStringList fixQuestions;
    std::deque<bool> fixAnswers;
    // The questions for languages, and their answers (empty: Cancel).
    QStringList languageQuestions;
    std::deque<review::ReviewLanguages> languageAnswers;

    void showBadLanguageFile(const QString& detail) override;
    void showError(const QString& text) override;
    void showErrorWithDetails(const QString& text, const QString& details) override;
    [[nodiscard]] app::SaveChoice askSaveChanges(const QString& text) override;
    [[nodiscard]] bool askReplaceFile(const QString& text) override;
    [[nodiscard]] app::RecoverChoice askRecover(const QString& text, bool canRecover) override;
    [[nodiscard]] bool askDropRemoved(const QString& text) override;
    [[nodiscard]] bool askFix(const QString& text) override;
    [[nodiscard]] std::optional<review::ReviewLanguages> askLanguages(
        const QString& text, const review::ReviewLanguages& guess) override;
    void showInformation(const QString& caption, const QString& text) override;
    void showShortcuts(const QList<QPair<QString, QString>>& rows) override;
};

// The user's settings in a folder of the test's own, the same for every
// editor of one test program, so that no test sees the machine's settings.
// Each editor starts from empty settings unless told to keep what an editor
// before it left (recent files, the window's geometry).
enum class Settings { Fresh, Kept };
struct PinnedSettings {
    explicit PinnedSettings(Settings settings);
};

// The editor's windows as the application creates them, shown, with both
// seams replaced and a temporary folder for files.
class Editor {
public:
    explicit Editor(Settings settings = Settings::Fresh);

    // Before the windows, which read the settings as they are made.
    PinnedSettings pinnedSettings;
    app::EditorForms forms;
    app::TFormXom& window = forms.FormXom;
    FakeFileDialogs* files = nullptr;
    FakeMessageBoxes* boxes = nullptr;
    QTemporaryDir folder;

    // Writes bytes to a file of the folder; gives its path.
    [[nodiscard]] QString writeFile(const QString& name, const QByteArray& bytes) const;
    [[nodiscard]] QString pathIn(const QString& name) const;
    // Answers the next open dialog with path and clicks "Open lang*.xom".
    void open(const QString& path);
    // Writes a well-formed file of these (name, text) entries and opens it.
    void openEntries(const std::vector<std::pair<QString, QString>>& nameTexts,
        const QString& fileName = QStringLiteral("lang.xom"));
    // Answers the next save dialog with path and clicks "Save lang*.xom".
    void save(const QString& path);
    // Writes a well-formed file of these entries and opens it through File ›
    // Open Reference…; gives its path.
    QString openReferenceEntries(const std::vector<std::pair<QString, QString>>& nameTexts,
        const QString& fileName = QStringLiteral("lang_en.xom"));
    // Gives the window the activation, which its shortcuts need.
    void activate();

    void click(const char* buttonName);
    [[nodiscard]] QPushButton* button(const char* name) const;
    [[nodiscard]] app::EntryGridView* table() const;
    [[nodiscard]] QPlainTextEdit* preview() const;
    [[nodiscard]] QLineEdit* searchBox() const;
    [[nodiscard]] QProgressBar* progressBar() const;
    [[nodiscard]] QString countPanel() const;
    [[nodiscard]] QString rowPanel() const;

    // The current cell as grid row and column; (-1, -1) for none.
    [[nodiscard]] std::pair<int, int> currentCell() const;
    [[nodiscard]] QString cell(int gridRow, int column) const;
    // Every entry row's four cells, in grid order, as "mark|number|name|text".
    [[nodiscard]] QStringList rows() const;

    // Presses and releases a mouse button over a cell, as a window system
    // would deliver it.
    void clickCell(int gridRow, int column, Qt::MouseButton button = Qt::LeftButton);
    // A double click as widgets receive it: press, release, double-click
    // event (the second press), release.
    void doubleClickCell(int gridRow, int column);
    [[nodiscard]] QPoint cellCentre(int gridRow, int column) const;
};

// Every position a progress bar is set to while the recorder lives, and
// whether the bar was visible at each of them.
class ProgressRecorder {
public:
    explicit ProgressRecorder(QProgressBar& bar);

    QList<int> positions;
    bool alwaysVisible = true;
};

// A French file to translate and its English reference, for the tests of the
// reference: row 2 is untranslated, row 3 lost its placeholder, row 5 has
// no reference; the reference names FE.Start twice, the first one counting.
[[nodiscard]] const std::vector<std::pair<QString, QString>>& frenchEntries();
[[nodiscard]] const std::vector<std::pair<QString, QString>>& englishReferenceEntries();

// A file's bytes; empty when it cannot be read.
[[nodiscard]] QByteArray fileBytes(const QString& path);

// Runs action once the dialog's modal loop is running, so that the test can
// fill the dialog in and end it while exec() waits. A dialog still open a
// minute later fails the test and is rejected, so exec() never hangs.
void whenShown(QDialog& dialog, std::function<void()> action);

} // namespace apptest
