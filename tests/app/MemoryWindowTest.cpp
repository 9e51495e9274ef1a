// The translation memory in the window: the suggestions pane follows the
// current entry, Ctrl+1 puts a suggestion in as one undo step, a save gives
// the memory its new translations, Search Memory and Pre-translate work on
// the memory chosen, and a memory that cannot be used never stops the
// editor.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"
#include "app/LanguageEdit2Uni.h"
#include "app/MemoryLookup.h"
#include "app/SuggestionsPane.h"
#include "app/UserSettings.h"
#include "dialogs/MemorySearchDialog.h"
#include "dialogs/PreTranslateDialog.h"
#include "memory/TranslationMemory.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using apptest::Editor;
using review::State;

namespace {

const std::vector<std::pair<QString, QString>> english{{QStringLiteral("FE.Save"), QStringLiteral("Save the game")},
    {QStringLiteral("FE.Load"), QStringLiteral("Load the saved game now")},
    {QStringLiteral("FE.Quit"), QStringLiteral("Quit")}};
// The German file as a new version has it: every text still English.
const std::vector<std::pair<QString, QString>>& untranslated = english;

memory::MemoryUnit unit(const QString& source, const QString& target)
{
    return memory::MemoryUnit{
        QStringLiteral("en"), QStringLiteral("de"), source, target, QStringLiteral("old.xom"), QString(), {}, false};
}

// An editor whose memory is a file of its folder with these units, and the
// German file open beside the English reference.
void openWithMemory(Editor& editor, const std::vector<memory::MemoryUnit>& units)
{
    const QString path = editor.pathIn(QStringLiteral("memory.ludra-tm"));
    memory::TranslationMemory(path).add(units);
    editor.window.setMemoryPath(path);
    editor.openEntries(untranslated, QStringLiteral("lang_de.xom"));
    editor.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
}

void selectText(Editor& editor, const int gridRow)
{
    editor.table()->selectCell(editor.table()->model()->index(gridRow - 1, xom::TextColumn));
}

} // namespace

class MemoryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theSuggestionsFollowTheCurrentEntry()
    {
        Editor editor;
        openWithMemory(editor, {unit(QStringLiteral("Save the game"), QStringLiteral("Spiel speichern")),
                                   unit(QStringLiteral("Load the saved game"), QStringLiteral("Gespeichertes laden"))});
        app::SuggestionsPane& pane = editor.window.suggestionsPane();
        QVERIFY(pane.isVisible());
        selectText(editor, 1);
        QTRY_COMPARE(pane.shownLines(), (QStringList{QStringLiteral("Translation memory: 1 suggestion"),
                                            QStringLiteral("1  100%  Save the game  →  Spiel speichern")}));
        // n 5, d 1: 80; the pane marks "now" as the entry's own word.
        selectText(editor, 2);
        QTRY_COMPARE(
            pane.shownLines(), (QStringList{QStringLiteral("Translation memory: 1 suggestion"),
                                   QStringLiteral("1  80%  Load the saved game now  →  Gespeichertes laden")}));
        selectText(editor, 3);
        QTRY_COMPARE(pane.shownLines(), QStringList{QStringLiteral("Translation memory: No suggestions")});
    }

    void ctrlOneInsertsAsOneStepAndANearMatchNeedsReview()
    {
        Editor editor;
        openWithMemory(editor, {unit(QStringLiteral("Save the game"), QStringLiteral("Spiel speichern")),
                                   unit(QStringLiteral("Load the saved game"), QStringLiteral("Gespeichertes laden"))});
        for (const auto& [gridRow, target, state] :
            {std::tuple{1, QStringLiteral("Spiel speichern"), State::Translated},
                std::tuple{2, QStringLiteral("Gespeichertes laden"), State::NeedsReview}}) {
            selectText(editor, gridRow);
            QTRY_COMPARE(
                editor.window.suggestionsPane().shownSource(), english[static_cast<std::size_t>(gridRow - 1)].second);
            QCOMPARE(editor.window.suggestionsPane().matches().size(), std::size_t{1});
            editor.activate();
            QTest::keyClick(editor.table(), Qt::Key_1, Qt::ControlModifier);
            QCOMPARE(editor.cell(gridRow, xom::TextColumn), target);
            QCOMPARE(editor.window.document().entryReview(gridRow).state, state);
            QCOMPARE(editor.window.document().entryReview(gridRow).snapshot,
                std::optional(english[static_cast<std::size_t>(gridRow - 1)].second));
            QCOMPARE(editor.window.document().history().undoText(), QStringLiteral("Insert Suggestion"));
            editor.window.document().undo();
            QCOMPARE(editor.cell(gridRow, xom::TextColumn), english[static_cast<std::size_t>(gridRow - 1)].second);
            QCOMPARE(editor.window.document().entryReview(gridRow).state, State::Unset);
            editor.window.document().redo();
        }
        // A suggestion that is not there inserts nothing.
        const int steps = editor.window.document().history().count();
        editor.window.actions().insertSuggestion[4]->trigger();
        QCOMPARE(editor.window.document().history().count(), steps);

        // The save gives the memory the exact one (again, now from this
        // file) and one typed in; the near one needs review and is not given.
        editor.window.document().setCellTexts(
            {{3, xom::TextColumn, QStringLiteral("Quit"), QStringLiteral("Beenden")}}, QStringLiteral("Edit"));
        editor.save(editor.pathIn(QStringLiteral("lang_de.xom")));
        editor.window.memoryLookup().finish();
        memory::TranslationMemory memory(editor.pathIn(QStringLiteral("memory.ludra-tm")));
        QCOMPARE(memory.unitCount(), 3);
        const std::vector<memory::MemoryMatch> saved
            = memory.suggestions({QStringLiteral("en"), QStringLiteral("de")}, QStringLiteral("Save the game"));
        QCOMPARE(saved.size(), std::size_t{1});
        QCOMPARE(saved.front().unit.origin, QStringLiteral("lang_de.xom"));
    }

    void searchMemoryAndPreTranslate()
    {
        Editor editor;
        openWithMemory(editor, {unit(QStringLiteral("Save the game"), QStringLiteral("Spiel speichern")),
                                   unit(QStringLiteral("Load the saved game"), QStringLiteral("Gespeichertes laden"))});
        editor.window.actions().searchMemory->trigger();
        dialogs::MemorySearchDialog& search = editor.window.memorySearchDialog();
        QVERIFY(search.isVisible());
        search.searchFor(QStringLiteral("GAME"));
        QCOMPARE(search.results().rowCount(), 2);
        // A phrase is its words in order: "the saved game" has no "the game".
        search.searchFor(QStringLiteral("the game"));
        QCOMPARE(search.results().rowCount(), 1);
        search.searchFor(QStringLiteral("speichern"));
        QCOMPARE(search.results().rowCount(), 1);
        QCOMPARE(search.results().item(0, 0)->text(), QStringLiteral("Save the game"));
        search.close();

        apptest::whenShown(editor.window.preTranslateDialog(), [&] {
            editor.window.preTranslateDialog().minScore().setValue(80);
            editor.window.preTranslateDialog().accept();
        });
        editor.window.actions().preTranslate->trigger();
        QCOMPARE(editor.rows().mid(0, 3),
            (QStringList{QStringLiteral("|1|FE.Save|Spiel speichern"), QStringLiteral("|2|FE.Load|Gespeichertes laden"),
                QStringLiteral("|3|FE.Quit|Quit")}));
        QCOMPARE(editor.boxes->informationTexts.back(),
            QStringLiteral("Pre-translated: 1 exact (needing review), 1 near (needing review), 1 without a match."));
        QCOMPARE(editor.window.document().history().undoText(), QStringLiteral("Pre-translate"));
    }

    // Names that tell no languages: asked once when the reference opens,
    // kept in the review file by the next save, and asked no more when the
    // file is opened again; Edit › Languages… asks whenever wanted.
    void languagesTheNamesDoNotTellAreAskedOnceAndKept()
    {
        Editor editor;
        const QString memoryPath = editor.pathIn(QStringLiteral("memory.ludra-tm"));
        memory::TranslationMemory(memoryPath).add({unit(QStringLiteral("Quit"), QStringLiteral("Beenden"))});
        editor.window.setMemoryPath(memoryPath);
        editor.openEntries(untranslated, QStringLiteral("strings.xom"));
        editor.boxes->languageAnswers.push_back({QStringLiteral("EN"), QStringLiteral("de")});
        editor.openReferenceEntries(english, QStringLiteral("source.xom"));
        QCOMPARE(editor.boxes->languageQuestions.size(), 1);
        selectText(editor, 3);
        QTRY_COMPARE(editor.window.suggestionsPane().matches().size(), std::size_t{1});

        editor.window.document().setCellTexts(
            {{3, xom::TextColumn, QStringLiteral("Quit"), QStringLiteral("Beenden")}}, QStringLiteral("Edit"));
        const QString saved = editor.pathIn(QStringLiteral("strings.xom"));
        editor.save(saved);
        QVERIFY(apptest::fileBytes(saved + QStringLiteral(".review")).contains("\n# languages en de\n"));
        editor.open(saved);
        editor.openReferenceEntries(english, QStringLiteral("source.xom"));
        QCOMPARE(editor.boxes->languageQuestions.size(), 1);

        editor.boxes->languageAnswers.push_back({QStringLiteral("en"), QStringLiteral("d e")});
        editor.window.actions().languages->trigger();
        QCOMPARE(editor.boxes->languageQuestions.size(), 2);
        QCOMPARE(editor.boxes->errorTexts.size(), 1);
        QVERIFY(editor.boxes->errorTexts.front().contains(QStringLiteral("'d e' is no language tag")));
        QCOMPARE(editor.window.document().languages().target, QStringLiteral("de"));
    }

    // Edit › Memory File… puts another memory to use at once and keeps it
    // for the next run; cancelling keeps the one in use.
    void anotherMemoryChosenIsUsedAndKept()
    {
        Editor editor;
        openWithMemory(editor, {unit(QStringLiteral("Quit"), QStringLiteral("Beenden"))});
        const QString first = editor.pathIn(QStringLiteral("memory.ludra-tm"));
        const QString second = editor.pathIn(QStringLiteral("official.ludra-tm"));
        memory::TranslationMemory(second).add({unit(QStringLiteral("Quit"), QStringLiteral("Verlassen"))});
        selectText(editor, 3);
        QTRY_COMPARE(
            editor.window.suggestionsPane().shownLines().value(1), QStringLiteral("1  100%  Quit  →  Beenden"));

        editor.window.actions().memoryFile->trigger();
        QCOMPARE(editor.files->memoryStartPaths, QStringList{first});
        QTRY_COMPARE(
            editor.window.suggestionsPane().shownLines().value(1), QStringLiteral("1  100%  Quit  →  Beenden"));

        editor.files->memoryAnswers.push_back(second);
        editor.window.actions().memoryFile->trigger();
        QTRY_COMPARE(
            editor.window.suggestionsPane().shownLines().value(1), QStringLiteral("1  100%  Quit  →  Verlassen"));
        QCOMPARE(app::openUserSettings()->value(QStringLiteral("memory/path")).toString(), second);
        // A save now fills the memory chosen, not the first one.
        editor.window.document().setCellTexts(
            {{1, xom::TextColumn, QStringLiteral("Save the game"), QStringLiteral("Spiel sichern")}},
            QStringLiteral("Edit"));
        editor.save(editor.pathIn(QStringLiteral("lang_de.xom")));
        editor.window.memoryLookup().finish();
        QCOMPARE(memory::TranslationMemory(second).unitCount(), 2);
        QCOMPARE(memory::TranslationMemory(first).unitCount(), 1);
    }

    // A file that is no memory: the pane says so, and editing and saving go on.
    void aMemoryThatCannotBeUsedNeverStopsTheEditor()
    {
        Editor editor;
        const QString notMemory = editor.writeFile(QStringLiteral("notes.ludra-tm"), "just notes\n");
        editor.window.setMemoryPath(notMemory);
        editor.openEntries(untranslated, QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
        selectText(editor, 1);
        QTRY_VERIFY(editor.window.suggestionsPane().shownLines().front().contains(QStringLiteral("cannot be used")));
        editor.window.document().setCellTexts(
            {{1, xom::TextColumn, QStringLiteral("Save the game"), QStringLiteral("Speichern")}},
            QStringLiteral("Edit"));
        editor.save(editor.pathIn(QStringLiteral("lang_de.xom")));
        editor.window.memoryLookup().finish();
        QVERIFY(!editor.window.document().isModified());
        QCOMPARE(editor.boxes->errorTexts.size(), 0);
        QCOMPARE(apptest::fileBytes(notMemory), QByteArray("just notes\n"));
    }
};

QTEST_MAIN(MemoryWindowTest)
#include "MemoryWindowTest.moc"
