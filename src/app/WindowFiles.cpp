// The main window's files: Open, Save and Save As, the questions before
// unsaved changes go or another file is replaced, dropped files and the
// list of recent files.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/ErrorText.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/ProgressShown.h"
#include "app/UserSettings.h"
#include "app/WindowCaptions.h"

#include "text/Decimal.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"
#include "xom/WholeFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace app {

namespace {

// The one language file among dropped data, or an empty string: a single
// local file whose name ends in ".xom".
QString droppedLanguageFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString path = urls.front().toLocalFile();
    if (!path.endsWith(QStringLiteral(".xom"), Qt::CaseInsensitive))
        return {};
    return path;
}

// Whether two paths name one file: the same file reached through links or
// ".." counts once.
bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

void TFormXom::Button1Click()
{
    guarded([this] {
        if (!settleUnsavedChanges())
            return;
        const QString path = m_fileDialogs->chooseOpenFile();
        // The dialog offers only files that are there; one gone meanwhile
        // is passed over as the form always did.
        if (!path.isEmpty())
            loadFile(path, MissingFile::Ignore);
    });
}

bool TFormXom::openFile(const QString& path)
{
    bool loaded = false;
    guarded([this, &path, &loaded] { loaded = settleUnsavedChanges() && loadFile(path, MissingFile::Report); });
    return loaded;
}

std::optional<xom::LoadedFile> TFormXom::readLanguageFile(
    const QString& path, const MissingFile missing, QByteArray* const bytesRead)
{
    const xom::WholeFile file = xom::readWholeFile(path);
    switch (file.status) {
    case xom::WholeFile::Status::Missing:
        if (missing == MissingFile::Report)
            showError(QStringLiteral("Cannot open file %1: there is no such file").arg(path));
        return std::nullopt;
    case xom::WholeFile::Status::Unreadable:
        showError(QStringLiteral("Cannot open file %1").arg(path));
        return std::nullopt;
    case xom::WholeFile::Status::TooLarge:
        m_messageBoxes->showBadLanguageFile(QStringLiteral("the file is larger than 2 GiB"));
        return std::nullopt;
    case xom::WholeFile::Status::Read:
        break;
    }

    xom::LoadResult result = xom::loadLanguageFile(file.bytes);
    // The loader gives all or nothing: a rejected file changes nothing here,
    // so Save and Add only ever see a complete model.
    if (const auto* const error = std::get_if<xom::LoadError>(&result)) {
        if (error->kind == xom::LoadError::Kind::BadLanguageFile)
            m_messageBoxes->showBadLanguageFile(error->detail);
        else
            showError(error->message());
        return std::nullopt;
    }
    if (bytesRead)
        *bytesRead = file.bytes;
    return std::get<xom::LoadedFile>(std::move(result));
}

bool TFormXom::loadFile(const QString& path, const MissingFile missing)
{
    if (offerRecovery(path))
        return true;
    return loadFileAs(path, path, missing);
}

bool TFormXom::loadFileAs(const QString& source, const QString& path, const MissingFile missing)
{
    QByteArray bytes;
    std::optional<xom::LoadedFile> loaded = readLanguageFile(source, missing, &bytes);
    if (!loaded)
        return false;
    if (loaded->containerCounter)
        m_entryCount = text::FormatDecimal(*loaded->containerCounter);
    m_notFound = false;
    showCountPanel();
    takeLoadedFile(std::move(*loaded), path);
    takeReviewBeside(path, bytes);
    m_recentFiles.note(path, m_document.referencePath());
    rememberRecentFiles();
    return true;
}

void TFormXom::takeLoadedFile(xom::LoadedFile file, const QString& path)
{
    // The selection stays at its row and column, clamped to the new rows,
    // without a select event; the panels and the preview then show what
    // that cell holds now.
    const QModelIndex before = Table->currentIndex();
    const int row = before.isValid() ? before.row() : 0;
    const int column = before.isValid() ? before.column() : static_cast<int>(xom::NumberColumn);

    // The history of the previous file ends with it.
    m_document.open(std::move(file), path);
    Table->setCurrentCellQuietly(m_grid->index(std::min(row, m_grid->rowCount() - 1), column));
    // A file without entries leaves no cell for Edit.
    if (!Table->currentIndex().isValid())
        setButtonEnabled(*EditText, *m_actions.edit, false);
    fitNumberWidths();
    setCaption(loadedCaption(path));
    setSaveEnabled(true);
    setButtonEnabled(*AddRow, *m_actions.add, true);
    revealCurrentCell();
}

void TFormXom::SaveLangClick()
{
    guarded([this] { saveWithDialog(); });
}

void TFormXom::saveClick()
{
    guarded([this] { saveDocument(); });
}

bool TFormXom::saveDocument()
{
    if (!m_document.isLoaded())
        return saveWithDialog();
    return saveTo(m_document.path());
}

bool TFormXom::saveWithDialog()
{
    const QString path = m_fileDialogs->chooseSaveFile(m_lastSavePath);
    if (path.isEmpty())
        return false;
    m_lastSavePath = path;
    if (!mayReplace(path))
        return false;
    return saveTo(path);
}

bool TFormXom::mayReplace(const QString& path)
{
    // The file open is replaced without a word, as a save always did; any
    // other file would be lost for good.
    if (!QFileInfo(path).isFile() || sameFile(path, m_document.path()))
        return true;
    return m_messageBoxes->askReplaceFile(QStringLiteral("%1 already exists. Replace it?").arg(fileNameOf(path)));
}

bool TFormXom::saveTo(const QString& path)
{
    const bool another = !sameFile(path, m_document.path());
    std::optional<QString> failure;
    {
        const ProgressShown shown(*ProgressBar1);
        failure
            = failureOf([this, &path] { m_document.saveAs(path, [this](int position) { setProgress(position); }); });
    }
    if (failure) {
        showError(*failure);
        return false;
    }
    setCaption(savedCaption(path));
    if (another) {
        m_recentFiles.note(path, m_document.referencePath());
        rememberRecentFiles();
    }
    return true;
}

bool TFormXom::settleUnsavedChanges()
{
    if (!hasUnsavedChanges())
        return true;
    const QString question = QStringLiteral("Save changes to %1?").arg(fileNameOf(m_document.path()));
    switch (m_messageBoxes->askSaveChanges(question)) {
    case SaveChoice::Save:
        return saveDocument();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        return false;
    }
    return false;
}

void TFormXom::closeEvent(QCloseEvent* event)
{
    bool close = false;
    guarded([this, &close] { close = settleUnsavedChanges(); });
    if (!close) {
        event->ignore();
        return;
    }
    storeWindowState();
    // A clean end: nothing is left to recover.
    m_journal->end();
    event->accept();
}

void TFormXom::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedLanguageFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFormXom::dropEvent(QDropEvent* event)
{
    const QString path = droppedLanguageFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag source waits until the drop returns: the question and the
    // load run once it has.
    QMetaObject::invokeMethod(
        this, [this, path] { openFile(path); }, Qt::QueuedConnection);
}

void TFormXom::openRecent(const RecentFile& file)
{
    if (!QFileInfo::exists(file.path)) {
        showError(QStringLiteral("Cannot open file %1: there is no such file").arg(file.path));
        m_recentFiles.remove(file.path);
        rememberRecentFiles();
        return;
    }
    if (!openFile(file.path))
        return;
    // The reference comes back as it was beside the file.
    if (file.reference.isEmpty())
        CloseReferenceClick();
    else if (!sameFile(file.reference, m_document.referencePath()))
        openReference(file.reference);
}

void TFormXom::rememberRecentFiles()
{
    // The menu is made afresh each time it opens: an item must not be
    // deleted while it runs.
    const std::unique_ptr<QSettings> settings = openUserSettings();
    m_recentFiles.store(*settings);
}

void TFormXom::rebuildRecentMenu()
{
    QMenu& menu = *m_actions.recentMenu;
    menu.clear();
    int number = 0;
    for (const RecentFile& file : m_recentFiles.files()) {
        ++number;
        QString text = QStringLiteral("&%1 %2").arg(number).arg(fileNameOf(file.path));
        if (!file.reference.isEmpty())
            text += QStringLiteral(" (reference %1)").arg(fileNameOf(file.reference));
        QAction* const action = menu.addAction(text);
        action->setToolTip(file.path);
        action->setStatusTip(file.path);
        connect(action, &QAction::triggered, this, [this, file] { openRecent(file); });
    }
    if (m_recentFiles.files().isEmpty()) {
        menu.addAction(QStringLiteral("No recent files"))->setEnabled(false);
        return;
    }
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("&Clear the List")), &QAction::triggered, this, [this] {
        m_recentFiles.clear();
        rememberRecentFiles();
    });
}

} // namespace app
