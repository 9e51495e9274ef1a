#include "AppTestSupport.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/UserSettings.h"

#include "support/FileBuilder.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <new>
#include <utility>

namespace apptest {

QString FakeFileDialogs::chooseOpenFile()
{
    if (std::exchange(openRunsOutOfMemory, false))
        throw std::bad_alloc();
    if (openAnswers.empty())
        return {};
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString FakeFileDialogs::chooseReferenceFile(const QString&)
{
    if (referenceAnswers.empty())
        return {};
    QString answer = referenceAnswers.front();
    referenceAnswers.pop_front();
    return answer;
}

QString FakeFileDialogs::chooseSaveFile(const QString& startPath)
{
    saveStartPaths.append(startPath);
    if (saveAnswers.empty())
        return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

std::optional<app::ExchangeFile> FakeFileDialogs::chooseImportFile()
{
    if (importAnswers.empty())
        return std::nullopt;
    app::ExchangeFile answer = importAnswers.front();
    importAnswers.pop_front();
    return answer;
}

std::optional<app::ExchangeFile> FakeFileDialogs::chooseExportFile(const QString& startPath)
{
    exportStartPaths.append(startPath);
    if (exportAnswers.empty())
        return std::nullopt;
    app::ExchangeFile answer = exportAnswers.front();
    exportAnswers.pop_front();
    return answer;
}

QString FakeFileDialogs::chooseMemoryFile(const QString& currentPath)
{
    memoryStartPaths.append(currentPath);
    if (memoryAnswers.empty())
        return {};
    QString answer = memoryAnswers.front();
    memoryAnswers.pop_front();
    return answer;
}

void FakeMessageBoxes::showBadLanguageFile(const QString& detail)
{
    ++badLanguageFileBoxes;
    badLanguageFileDetails.append(detail);
}

void FakeMessageBoxes::showError(const QString& text)
{
    showErrorWithDetails(text, QString());
}

void FakeMessageBoxes::showErrorWithDetails(const QString& text, const QString& details)
{
    errorTexts.append(text);
    errorDetails.append(details);
}

app::SaveChoice FakeMessageBoxes::askSaveChanges(const QString& text)
{
    questions.append(text);
    if (saveAnswers.empty())
        return app::SaveChoice::Cancel;
    const app::SaveChoice answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

app::RecoverChoice FakeMessageBoxes::askRecover(const QString& text, const bool canRecover)
{
    recoverQuestions.append(text);
    recoverOffered.append(canRecover);
    if (recoverAnswers.empty())
        return app::RecoverChoice::Later;
    const app::RecoverChoice answer = recoverAnswers.front();
    recoverAnswers.pop_front();
    return answer;
}

std::optional<review::ReviewLanguages> FakeMessageBoxes::askLanguages(
    const QString& text, const review::ReviewLanguages&)
{
    languageQuestions.append(text);
    if (languageAnswers.empty())
        return std::nullopt;
    review::ReviewLanguages answer = languageAnswers.front();
    languageAnswers.pop_front();
    return answer;
}

bool FakeMessageBoxes::askFix(const QString& text)
{
    fixQuestions.append(text);
    if (fixAnswers.empty())
        return false;
    const bool answer = fixAnswers.front();
    fixAnswers.pop_front();
    return answer;
}

bool FakeMessageBoxes::askDropRemoved(const QString& text)
{
    dropQuestions.append(text);
    if (dropAnswers.empty())
        return false;
    const bool answer = dropAnswers.front();
    dropAnswers.pop_front();
    return answer;
}

bool FakeMessageBoxes::askReplaceFile(const QString& text)
{
    replaceQuestions.append(text);
    if (replaceAnswers.empty())
        return false;
    const bool answer = replaceAnswers.front();
    replaceAnswers.pop_front();
    return answer;
}

void FakeMessageBoxes::showInformation(const QString& caption, const QString& text)
{
    informationCaptions.append(caption);
    informationTexts.append(text);
}

void FakeMessageBoxes::showShortcuts(const QList<QPair<QString, QString>>& rows)
{
    informationCaptions.append(QStringLiteral("Keyboard Shortcuts"));
    shortcutRows = rows;
}

PinnedSettings::PinnedSettings(const Settings settings)
{
    static const QTemporaryDir folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    // The recovery journals too, under the user's data folder, and the
    // personal word lists under the user's configuration folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    if (settings == Settings::Fresh) {
        const std::unique_ptr<QSettings> user = app::openUserSettings();
        user->clear();
        user->sync();
    }
}

Editor::Editor(const Settings settings)
    : pinnedSettings(settings)
{
    auto fileDialogs = std::make_unique<FakeFileDialogs>();
    files = fileDialogs.get();
    window.setFileDialogs(std::move(fileDialogs));
    auto messageBoxes = std::make_unique<FakeMessageBoxes>();
    boxes = messageBoxes.get();
    window.setMessageBoxes(std::move(messageBoxes));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window was not shown");
}

QString Editor::pathIn(const QString& name) const
{
    return folder.filePath(name);
}

QString Editor::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString path = pathIn(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

void Editor::open(const QString& path)
{
    files->openAnswers.push_back(path);
    click("Button1");
}

void Editor::openEntries(const std::vector<std::pair<QString, QString>>& nameTexts, const QString& fileName)
{
    open(writeFile(fileName, testsupport::simpleFile(nameTexts).bytes()));
}

void Editor::save(const QString& path)
{
    files->saveAnswers.push_back(path);
    click("SaveLang");
}

QString Editor::openReferenceEntries(const std::vector<std::pair<QString, QString>>& nameTexts, const QString& fileName)
{
    const QString path = writeFile(fileName, testsupport::simpleFile(nameTexts).bytes());
    files->referenceAnswers.push_back(path);
    window.actions().openReference->trigger();
    return path;
}

void Editor::activate()
{
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("the main window did not become active");
}

void Editor::click(const char* buttonName)
{
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
}

QPushButton* Editor::button(const char* name) const
{
    auto* const found = window.findChild<QPushButton*>(QLatin1String(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

app::EntryGridView* Editor::table() const
{
    return window.findChild<app::EntryGridView*>(QStringLiteral("Table"));
}

QPlainTextEdit* Editor::preview() const
{
    return window.findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1"));
}

QLineEdit* Editor::searchBox() const
{
    return window.findChild<QLineEdit*>(QStringLiteral("Edit1"));
}

ProgressRecorder::ProgressRecorder(QProgressBar& bar)
{
    QObject::connect(&bar, &QProgressBar::valueChanged, &bar, [this, &bar](const int position) {
        positions.append(position);
        alwaysVisible = alwaysVisible && bar.isVisible();
    });
}

QProgressBar* Editor::progressBar() const
{
    return window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
}

QString Editor::countPanel() const
{
    return window.findChild<QLabel*>(QStringLiteral("StatusPanel0"))->text();
}

QString Editor::rowPanel() const
{
    return window.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text();
}

std::pair<int, int> Editor::currentCell() const
{
    const QModelIndex current = table()->currentIndex();
    if (!current.isValid())
        return {-1, -1};
    const auto* const model = static_cast<const app::EntryGridModel*>(table()->model());
    return {model->gridRowOf(current), current.column()};
}

QString Editor::cell(const int gridRow, const int column) const
{
    return window.entries().gridCell(gridRow, column);
}

QStringList Editor::rows() const
{
    QStringList result;
    for (const xom::Entry& entry : window.entries().entries())
        result.append(QStringList{entry.mark, entry.number, entry.name, entry.text}.join(QLatin1Char('|')));
    return result;
}

QPoint Editor::cellCentre(const int gridRow, const int column) const
{
    const auto* const model = static_cast<const app::EntryGridModel*>(table()->model());
    return table()->visualRect(model->indexOfCell(gridRow, column)).center();
}

void Editor::clickCell(const int gridRow, const int column, const Qt::MouseButton button)
{
    QTest::mouseClick(table()->viewport(), button, {}, cellCentre(gridRow, column));
}

void Editor::doubleClickCell(const int gridRow, const int column)
{
    QWidget* const viewport = table()->viewport();
    const QPoint centre = cellCentre(gridRow, column);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
}

const std::vector<std::pair<QString, QString>>& frenchEntries()
{
    static const std::vector<std::pair<QString, QString>> entries{
        {QStringLiteral("FE.Start"), QStringLiteral("Démarrer")},
        {QStringLiteral("FE.Options"), QStringLiteral("Options")},
        {QStringLiteral("FE.Score"), QStringLiteral("points")},
        {QStringLiteral("FE.Quit"), QStringLiteral("Quitter")},
        {QStringLiteral("FE.New"), QStringLiteral("Nouveau")},
    };
    return entries;
}

const std::vector<std::pair<QString, QString>>& englishReferenceEntries()
{
    static const std::vector<std::pair<QString, QString>> entries{
        {QStringLiteral("FE.Quit"), QStringLiteral("Quit")},
        {QStringLiteral("FE.Score"), QStringLiteral("%d points")},
        {QStringLiteral("FE.Options"), QStringLiteral("Options")},
        {QStringLiteral("FE.Start"), QStringLiteral("Start")},
        {QStringLiteral("FE.Start"), QStringLiteral("a later duplicate")},
    };
    return entries;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

// Posts the action when the dialog is first shown; the post is delivered by
// the modal loop that exec() then runs. A dialog that the action leaves open
// would keep exec() waiting for ever: after a bound far beyond any action's
// need, the watchdog fails the test and rejects the dialog, so the test ends.
class ShowWatcher final : public QObject {
public:
    ShowWatcher(QDialog& dialog, std::function<void()> action)
        : QObject(&dialog)
        , m_dialog(dialog)
        , m_action(std::move(action))
    {
        dialog.installEventFilter(this);
        m_watchdog.setSingleShot(true);
        m_watchdog.setInterval(longestDialogMs);
        connect(&m_watchdog, &QTimer::timeout, this, &ShowWatcher::giveUp);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_dialog)
            return false;
        if (event->type() == QEvent::Show && m_action) {
            QMetaObject::invokeMethod(&m_dialog, std::exchange(m_action, {}), Qt::QueuedConnection);
            m_watchdog.start();
        } else if (event->type() == QEvent::Hide && !m_action) {
            m_dialog.removeEventFilter(this);
            m_watchdog.stop();
            deleteLater();
        }
        return false;
    }

private:
    static constexpr int longestDialogMs = 60 * 1000;

    void giveUp()
    {
        QTest::qFail("the dialog was still open a minute after the test's action", __FILE__, __LINE__);
        m_dialog.reject();
    }

    QDialog& m_dialog;
    std::function<void()> m_action;
    QTimer m_watchdog;
};

} // namespace

void whenShown(QDialog& dialog, std::function<void()> action)
{
    new ShowWatcher(dialog, std::move(action));
}

} // namespace apptest
