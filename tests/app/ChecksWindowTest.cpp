// The checks in the window: the status bar names what the current entry
// fails with its details, Edit › Checks… turns a check off and sets a
// length limit (kept by the review file and read back with the file), and
// Edit › Fix… makes the safe fixes as one undo step. In the Edit dialog,
// misspelt words are underlined with Debian's German dictionary, corrected
// from the box's menu or added to the translator's own list, and names the
// reference has are never underlined.

#include "AppTestSupport.h"

#include "app/LanguageEdit2Uni.h"
#include "dialogs/ChecksDialog.h"
#include "dialogs/EditUni.h"
#include "dialogs/PlainTextBox.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>
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

// The words of the box's first line drawn with the spelling underline.
QStringList underlinedWords(const dialogs::PlainTextBox& box)
{
    QStringList words;
    const QTextBlock block = box.document()->firstBlock();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            words << block.text().mid(range.start, range.length);
    }
    return words;
}

// The point of the box's viewport over the character at position.
QPoint pointAt(const dialogs::PlainTextBox& box, const int position)
{
    QTextCursor cursor(box.document());
    cursor.setPosition(position);
    return box.cursorRect(cursor).center() + QPoint(2, 0);
}

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* const action : menu.actions())
        texts << action->text();
    return texts;
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

    void misspeltWordsAreUnderlinedAndCorrected()
    {
        if (!QFile::exists(QStringLiteral("/usr/share/hunspell/de_DE.dic")))
            QSKIP("needs Debian's hunspell-de-de");
        Editor editor;
        editor.openEntries({{QStringLiteral("FE.Saved"), QStringLiteral("Zorvek hat das Spiel gespeichret")}},
            QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries(
            {{QStringLiteral("FE.Saved"), QStringLiteral("Zorvek saved the game")}}, QStringLiteral("lang_en.xom"));
        dialogs::TEditForm& form = editor.forms.EditForm;
        auto* const box = form.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"));
        QStringList underlined;
        QStringList offered;
        QCOMPARE(panelOf(editor, 1), QStringLiteral("spelling (gespeichret)"));
        apptest::whenShown(form, [&] {
            // The game's name is the reference's: never underlined.
            underlined = underlinedWords(*box);
            std::unique_ptr<QMenu> menu(form.contextMenuAt(pointAt(*box, 25)));
            offered = actionTexts(*menu);
            menu->actions().front()->trigger();
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        });
        editor.click("EditText");
        QCOMPARE(underlined, QStringList{QStringLiteral("gespeichret")});
        QCOMPARE(offered.front(), QStringLiteral("gespeichert"));
        QVERIFY(offered.contains(QStringLiteral("Add to Dictionary")));
        QCOMPARE(editor.cell(1, xom::TextColumn), QStringLiteral("Zorvek hat das Spiel gespeichert"));

        // A word added to the dictionary is underlined no more, in this run
        // and the next.
        editor.window.document().setCellTexts(
            {{1, xom::TextColumn, editor.cell(1, xom::TextColumn), QStringLiteral("Die Zorvekburg wartet")}},
            QStringLiteral("Edit"));
        apptest::whenShown(form, [&] {
            underlined = underlinedWords(*box);
            std::unique_ptr<QMenu> menu(form.contextMenuAt(pointAt(*box, 6)));
            const QList<QAction*> actions = menu->actions();
            const auto add = std::find_if(actions.begin(), actions.end(),
                [](const QAction* a) { return a->text() == QStringLiteral("Add to Dictionary"); });
            QVERIFY(add != actions.end());
            (*add)->trigger();
            offered = underlinedWords(*box);
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
        });
        editor.click("EditText");
        QCOMPARE(underlined, QStringList{QStringLiteral("Zorvekburg")});
        QCOMPARE(offered, QStringList());

        // Spelling turned off for the file: nothing is underlined.
        dialogs::ChecksDialog& dialog = editor.window.checksDialog();
        apptest::whenShown(dialog, [&] {
            itemNamed(dialog, QStringLiteral("spelling"))->setCheckState(0, Qt::Unchecked);
            dialog.accept();
        });
        editor.window.actions().checks->trigger();
        editor.window.document().setCellTexts(
            {{1, xom::TextColumn, editor.cell(1, xom::TextColumn), QStringLiteral("Das Spiel wird gespeichret")}},
            QStringLiteral("Edit"));
        apptest::whenShown(form, [&] {
            underlined = underlinedWords(*box);
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
        });
        editor.click("EditText");
        QCOMPARE(underlined, QStringList());
    }

    // The whole file is spelled: the entries whose only fault is an unknown
    // word count with warnings and F8 stops at them; an edit spells its row
    // again. A file too large to spell at once is spelled on the spelling
    // thread and counted when it is done.
    void theWholeFileIsSpelled()
    {
        if (!QFile::exists(QStringLiteral("/usr/share/hunspell/de_DE.dic")))
            QSKIP("needs Debian's hunspell-de-de");
        Editor editor;
        editor.openEntries({{QStringLiteral("FE.Start"), QStringLiteral("Spiel starten")},
                               {QStringLiteral("FE.Saved"), QStringLiteral("Spiel gespeichret")},
                               {QStringLiteral("FE.Quit"), QStringLiteral("Beenden")}},
            QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries({{QStringLiteral("FE.Start"), QStringLiteral("Start game")},
                                        {QStringLiteral("FE.Saved"), QStringLiteral("Game saved")},
                                        {QStringLiteral("FE.Quit"), QStringLiteral("Quit")}},
            QStringLiteral("lang_en.xom"));
        QCOMPARE(editor.countPanel(), QStringLiteral("0 untranslated · 1 with warnings"));
        editor.clickCell(1, xom::TextColumn);
        editor.window.actions().nextWarning->trigger();
        QCOMPARE(editor.currentCell(), std::make_pair(2, static_cast<int>(xom::TextColumn)));
        editor.window.document().setCellTexts(
            {{2, xom::TextColumn, QStringLiteral("Spiel gespeichret"), QStringLiteral("Spiel gespeichert")}},
            QStringLiteral("Edit"));
        QCOMPARE(editor.countPanel(), QStringLiteral("0 untranslated · 0 with warnings"));

        std::vector<std::pair<QString, QString>> english;
        std::vector<std::pair<QString, QString>> german;
        // Each reference text and each translation of its own, so that
        // only spelling finds anything.
        for (int i = 0; i < 2'500; ++i) {
            const QString name = QStringLiteral("FE.Entry%1").arg(i);
            english.emplace_back(name, QStringLiteral("Game %1 saved").arg(i));
            german.emplace_back(
                name, (i % 500 == 7 ? QStringLiteral("Spiel %1 gespeichret") : QStringLiteral("Spiel %1 gespeichert"))
                          .arg(i));
        }
        Editor large;
        large.openEntries(german, QStringLiteral("lang_de.xom"));
        large.openReferenceEntries(english, QStringLiteral("lang_en.xom"));
        QTRY_COMPARE(large.countPanel(), QStringLiteral("0 untranslated · 5 with warnings"));
    }

    // Another dictionary than the file's language, chosen from those
    // installed, spells it from then on and is kept with the file.
    void anotherDictionaryCanBeChosen()
    {
        if (!QFile::exists(QStringLiteral("/usr/share/hunspell/en_US.dic"))
            || !QFile::exists(QStringLiteral("/usr/share/hunspell/de_DE.dic")))
            QSKIP("needs Debian's hunspell-en-us and hunspell-de-de");
        Editor editor;
        editor.openEntries(
            {{QStringLiteral("FE.Play"), QStringLiteral("Spiel starten")}}, QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries(
            {{QStringLiteral("FE.Play"), QStringLiteral("Start game")}}, QStringLiteral("lang_en.xom"));
        QCOMPARE(panelOf(editor, 1), QString());
        dialogs::ChecksDialog& dialog = editor.window.checksDialog();
        QStringList offered;
        apptest::whenShown(dialog, [&] {
            for (int i = 0; i < dialog.dictionary().count(); ++i)
                offered << dialog.dictionary().itemText(i);
            dialog.dictionary().setCurrentIndex(dialog.dictionary().findData(QStringLiteral("en-US")));
            dialog.accept();
        });
        editor.window.actions().checks->trigger();
        QCOMPARE(offered.front(), QStringLiteral("The file's language (de)"));
        QVERIFY(offered.contains(QStringLiteral("de-DE")));
        QCOMPARE(panelOf(editor, 1), QStringLiteral("spelling (starten)"));
        const QString path = editor.pathIn(QStringLiteral("lang_de.xom"));
        editor.save(path);
        QVERIFY(apptest::fileBytes(path + QStringLiteral(".review")).contains("\n# checks dictionary=en-US\n"));
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
