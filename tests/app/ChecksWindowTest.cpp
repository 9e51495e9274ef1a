// The checks in the window: the status bar names what the current entry
// fails with its details, Edit › Checks… turns a check off and sets a
// length limit (kept by the review file and read back with the file), and
// Edit › Fix… makes the safe fixes as one undo step.

#include "AppTestSupport.h"

#include "app/LanguageEdit2Uni.h"
#include "dialogs/ChecksDialog.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

using apptest::Editor;

namespace {

const std::vector<std::pair<QString, QString>> english{
    {QStringLiteral("FE.Tag"), QStringLiteral("Press <b>Enter</b>.")},
    {QStringLiteral("FE.Coins"), QStringLiteral("You found 12 coins.")},
    {QStringLiteral("FE.Load"), QStringLiteral("Load game...")},
    {QStringLiteral("FE.Save"), QStringLiteral("Save game…")},
};
const std::vector<std::pair<QString, QString>> german{
    {QStringLiteral("FE.Tag"), QStringLiteral("Drücke <b>Enter.")},
    {QStringLiteral("FE.Coins"), QStringLiteral("Du hast 15 Münzen gefunden.")},
    {QStringLiteral("FE.Load"), QStringLiteral("Spiel\u200B laden...")},
    {QStringLiteral("FE.Save"), QStringLiteral(" Spiel speichern...")},
};

QString panelOf(Editor& editor, const int gridRow)
{
    editor.clickCell(gridRow, xom::TextColumn);
    return editor.window.findChild<QLabel*>(QStringLiteral("StatusPanel2"))->text();
}

// The dialog's box of the check named name.
QTreeWidgetItem* itemNamed(dialogs::ChecksDialog& dialog, const QString& name)
{
    const QList<QTreeWidgetItem*> found = dialog.list().findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

} // namespace

class ChecksWindowTest : public QObject {
    Q_OBJECT

private slots:
    void thePanelTellsWhatEachCheckFound()
    {
        Editor editor;
        editor.openEntries(german, QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
        QCOMPARE(editor.countPanel(), QStringLiteral("0 untranslated · 4 with warnings"));
        QCOMPARE(panelOf(editor, 1), QStringLiteral("tags differ (missing </b>)"));
        QCOMPARE(panelOf(editor, 2), QStringLiteral("numbers differ (missing 12; extra 15)"));
        QCOMPARE(panelOf(editor, 3), QStringLiteral("invisible characters (U+200B at 5)"));
        QCOMPARE(panelOf(editor, 4), QStringLiteral("whitespace differs"));
    }

    void aCheckTurnedOffIsKeptWithTheFile()
    {
        Editor editor;
        editor.openEntries(german, QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
        dialogs::ChecksDialog& dialog = editor.window.checksDialog();
        apptest::whenShown(dialog, [&] {
            QTreeWidgetItem* const numbers = itemNamed(dialog, QStringLiteral("numbers differ"));
            QVERIFY(numbers);
            QCOMPARE(numbers->checkState(0), Qt::Checked);
            // The length check is off until asked for; a limit asks for it.
            QCOMPARE(itemNamed(dialog, QStringLiteral("too long"))->checkState(0), Qt::Unchecked);
            numbers->setCheckState(0, Qt::Unchecked);
            dialog.maxCharacters().setValue(16);
            dialog.accept();
        });
        editor.window.actions().checks->trigger();
        QCOMPARE(panelOf(editor, 2), QStringLiteral("too long (27 characters, at most 16)"));
        QCOMPARE(panelOf(editor, 1), QStringLiteral("tags differ (missing </b>)"));

        const QString path = editor.pathIn(QStringLiteral("lang_de.xom"));
        editor.save(path);
        QVERIFY(apptest::fileBytes(path + QStringLiteral(".review"))
                    .contains("\n# checks +length -numbers max-characters=16\n"));
        // Opened again, the file runs its own choice.
        editor.open(path);
        editor.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
        QCOMPARE(panelOf(editor, 2), QStringLiteral("too long (27 characters, at most 16)"));
        // Cancelling changes nothing.
        apptest::whenShown(dialog, [&] {
            itemNamed(dialog, QStringLiteral("tags differ"))->setCheckState(0, Qt::Unchecked);
            dialog.reject();
        });
        editor.window.actions().checks->trigger();
        QCOMPARE(panelOf(editor, 1), QStringLiteral("tags differ (missing </b>)"));
    }

    void theSafeFixesAreOneStep()
    {
        Editor editor;
        editor.openEntries(german, QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
        // Cancelled: nothing changes.
        editor.window.actions().fix->trigger();
        QCOMPARE(editor.boxes->fixQuestions.size(), 1);
        QVERIFY(editor.boxes->fixQuestions.front().startsWith(QStringLiteral("Make the safe fixes in 2 entries?")));
        QCOMPARE(editor.cell(3, xom::TextColumn), QStringLiteral("Spiel\u200B laden..."));

        editor.boxes->fixAnswers.push_back(true);
        editor.window.actions().fix->trigger();
        QCOMPARE(editor.cell(3, xom::TextColumn), QStringLiteral("Spiel laden..."));
        QCOMPARE(editor.cell(4, xom::TextColumn), QStringLiteral("Spiel speichern…"));
        QCOMPARE(editor.countPanel(), QStringLiteral("0 untranslated · 2 with warnings"));
        QCOMPARE(editor.window.document().history().undoText(), QStringLiteral("Fix"));
        editor.window.actions().undo->trigger();
        QCOMPARE(editor.cell(4, xom::TextColumn), QStringLiteral(" Spiel speichern..."));
        QCOMPARE(editor.countPanel(), QStringLiteral("0 untranslated · 4 with warnings"));
    }
};

QTEST_MAIN(ChecksWindowTest)
#include "ChecksWindowTest.moc"
