// Recovery as a translator meets it: an editor that dies leaves its journal;
// the next start asks "Recover unsaved changes to ...?" and Recover brings
// back the grid, the undo history and the unsaved mark, onto the file as
// it was recorded even when another file has replaced it since; Discard
// removes the journal, Later keeps it; ludra-lang info tells what a journal
// records.

#include "AppTestSupport.h"

#include "app/LanguageEdit2Uni.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTest>

using apptest::Editor;

namespace {

// What a killed editor leaves: a copy of its journal that no running
// editor holds. The editor itself stays open (its folder holds the file)
// and keeps its own journal to itself.
struct DiedEditor {
    QStringList rows;
    QString undoText;
    QString leftJournal;
    QString path;
};

DiedEditor editAndDie(Editor& editor)
{
    editor.openEntries({{QStringLiteral("FE.A"), QStringLiteral("apple")},
        {QStringLiteral("FE.B"), QStringLiteral("pear")}, {QStringLiteral("FE.C"), QStringLiteral("plum")}});
    document::Document& document = editor.window.document();
    editor.window.setCellTexts(
        {{2, xom::TextColumn, QStringLiteral("pear"), QStringLiteral("Birne")}}, QStringLiteral("Edit"));
    document.toggleMark(3);
    document.addEntry(QStringLiteral("FE.D"), QStringLiteral("\U0001F34B lemon"));
    editor.window.journal().waitUntilDurable();
    const QString journal = editor.window.journal().journalPath();
    DiedEditor died{editor.rows(), document.history().undoText(), journal.chopped(8) + QStringLiteral("-died.journal"),
        document.path()};
    if (!QFile::copy(journal, died.leftJournal))
        qWarning() << "cannot copy" << journal;
    return died;
}

QByteArray runLudraLang(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(LUDRA_LANG_PATH), arguments);
    if (!process.waitForFinished(60'000) || process.exitCode() != 0)
        return QByteArrayLiteral("(ludra-lang failed)");
    return process.readAllStandardOutput();
}

} // namespace

class RecoveryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void recoverBringsBackGridHistoryAndUnsavedMark()
    {
        Editor first;
        const DiedEditor died = editAndDie(first);
        QVERIFY(QFile::exists(died.leftJournal));
        const QByteArray info = runLudraLang({QStringLiteral("info"), died.leftJournal});
        QVERIFY2(info.contains("Recovery journal\n") && info.contains("Changes: 3\n"), info.constData());
        QVERIFY(info.contains(QFile::encodeName(QFileInfo(died.path).absoluteFilePath())));

        Editor editor(apptest::Settings::Kept);
        editor.boxes->recoverAnswers = {app::RecoverChoice::Recover};
        QVERIFY(editor.window.offerRecovery());
        QCOMPARE(editor.boxes->recoverQuestions.size(), 1);
        QVERIFY(editor.boxes->recoverQuestions.front().startsWith(
            QStringLiteral("Recover unsaved changes to lang.xom from ")));
        QCOMPARE(editor.boxes->recoverOffered, QList<bool>{true});
        QCOMPARE(editor.rows(), died.rows);
        QVERIFY(editor.window.hasUnsavedChanges());
        QVERIFY(editor.window.windowTitle().endsWith(QStringLiteral(" *")));
        QCOMPARE(editor.window.document().history().undoText(), died.undoText);
        // The file itself is untouched until a save.
        editor.window.document().undo();
        editor.window.document().undo();
        editor.window.document().undo();
        QVERIFY(!editor.window.hasUnsavedChanges());
        QVERIFY(!editor.window.findChild<QLabel*>(QStringLiteral("RecoveryPanel"))->isVisible());
    }

    void aReplacedFileIsRecoveredOntoTheRecordedCopy()
    {
        Editor first;
        const DiedEditor died = editAndDie(first);
        {
            // Another program writes the file meanwhile.
            QFile file(died.path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("other bytes");
        }
        Editor editor(apptest::Settings::Kept);
        editor.boxes->recoverAnswers = {app::RecoverChoice::Recover};
        editor.window.openFile(died.path);
        QCOMPARE(editor.boxes->recoverQuestions.size(), 1);
        QVERIFY(editor.boxes->recoverQuestions.front().contains(QStringLiteral("has changed since")));
        QCOMPARE(editor.boxes->recoverOffered, QList<bool>{true});
        QCOMPARE(editor.rows(), died.rows);
        QVERIFY(editor.window.hasUnsavedChanges());
        QFile file(died.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("other bytes"));
    }

    // Opening the file from an editor with unsaved changes of its own asks
    // about those once, then offers the recovery.
    void openingWithUnsavedChangesAsksOnceThenOffers()
    {
        Editor first;
        const DiedEditor died = editAndDie(first);
        Editor editor(apptest::Settings::Kept);
        editor.openEntries({{QStringLiteral("FE.X"), QStringLiteral("x")}}, QStringLiteral("other.xom"));
        editor.window.setCellTexts(
            {{1, xom::TextColumn, QStringLiteral("x"), QStringLiteral("y")}}, QStringLiteral("Edit"));
        editor.boxes->saveAnswers = {app::SaveChoice::Discard};
        editor.boxes->recoverAnswers = {app::RecoverChoice::Recover};
        QVERIFY(editor.window.openFile(died.path));
        QCOMPARE(editor.boxes->questions.size(), 1);
        QCOMPARE(editor.boxes->recoverQuestions.size(), 1);
        QCOMPARE(editor.rows(), died.rows);
    }

    void discardRemovesTheJournalAndLaterKeepsIt()
    {
        Editor first;
        const DiedEditor died = editAndDie(first);
        {
            Editor editor(apptest::Settings::Kept);
            QVERIFY(!editor.window.offerRecovery()); // no answer: Later
            QVERIFY(QFile::exists(died.leftJournal));
        }
        Editor editor(apptest::Settings::Kept);
        editor.boxes->recoverAnswers = {app::RecoverChoice::Discard};
        QVERIFY(!editor.window.offerRecovery());
        QVERIFY(!QFile::exists(died.leftJournal));
        QVERIFY(!editor.window.offerRecovery());
        QCOMPARE(editor.boxes->recoverQuestions.size(), 1);
    }

    // A journal that cannot be written stops nothing: the status bar says
    // recovery is off, and the save still writes the file.
    void recoveryOffShowsInTheStatusBarAndSavesGoOn()
    {
        // The journals' folder cannot be made: a file stands where it goes
        // (in the test's own data folder, pinned first).
        const apptest::PinnedSettings pinned(apptest::Settings::Fresh);
        QVERIFY(!qgetenv("XDG_DATA_HOME").isEmpty());
        const QString ludraData = QFile::decodeName(qgetenv("XDG_DATA_HOME")) + QStringLiteral("/Ludra");
        QDir(ludraData).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(ludraData).path()));
        QFile blocker(ludraData);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        Editor editor(apptest::Settings::Kept);
        editor.openEntries({{QStringLiteral("FE.A"), QStringLiteral("apple")}});
        auto* const panel = editor.window.findChild<QLabel*>(QStringLiteral("RecoveryPanel"));
        QVERIFY(!panel->isVisible());
        editor.window.setCellTexts(
            {{1, xom::TextColumn, QStringLiteral("apple"), QStringLiteral("Apfel")}}, QStringLiteral("Edit"));
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->text(), QStringLiteral("Recovery is off"));
        QVERIFY(panel->toolTip().contains(QStringLiteral("Saving still works")));
        editor.save(editor.window.document().path());
        QVERIFY(!editor.window.hasUnsavedChanges());
        QVERIFY(editor.boxes->errorTexts.isEmpty());
        QFile::remove(ludraData);
    }

    // File › Keep a Backup on First Save: on by default, kept in the
    // settings; the first save over the file keeps its previous bytes.
    void theFirstSaveKeepsABackupUnlessTurnedOff()
    {
        for (const bool keep : {true, false}) {
            {
                Editor editor(keep ? apptest::Settings::Fresh : apptest::Settings::Kept);
                auto* const action = editor.window.findChild<QAction*>(QStringLiteral("actionKeepBackups"));
                QVERIFY(action);
                QCOMPARE(action->isChecked(), true);
                if (!keep)
                    action->trigger();
            }
            Editor editor(apptest::Settings::Kept);
            QCOMPARE(editor.window.findChild<QAction*>(QStringLiteral("actionKeepBackups"))->isChecked(), keep);
            editor.openEntries({{QStringLiteral("FE.A"), QStringLiteral("apple")}});
            QFile file(editor.window.document().path());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray before = file.readAll();
            editor.window.setCellTexts(
                {{1, xom::TextColumn, QStringLiteral("apple"), QStringLiteral("Apfel")}}, QStringLiteral("Edit"));
            editor.save(editor.window.document().path());
            const QString backup = editor.window.document().path() + QStringLiteral(".bak");
            QCOMPARE(QFile::exists(backup), keep);
            if (keep) {
                QFile kept(backup);
                QVERIFY(kept.open(QIODevice::ReadOnly));
                QCOMPARE(kept.readAll(), before);
            }
            // Turned on again for the next editors.
            if (!keep)
                editor.window.findChild<QAction*>(QStringLiteral("actionKeepBackups"))->trigger();
        }
    }
};

QTEST_MAIN(RecoveryWindowTest)
#include "RecoveryWindowTest.moc"
