// What translators expect of an editor beyond the form: Save without a
// dialog, Undo and Redo that name their step, Go to, copying the reference,
// working through the entries from the Edit dialog, duplicate names, recent
// files, and a window that grows and remembers its place.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"

#include "dialogs/PlainTextBox.h"
#include "support/FileBuilder.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>

using apptest::Editor;
using apptest::fileBytes;

namespace {

const std::vector<std::pair<QString, QString>>& Working = apptest::frenchEntries();
const std::vector<std::pair<QString, QString>>& Reference = apptest::englishReferenceEntries();

template <typename Widget> Widget* childOf(const QWidget& parent, const char* name)
{
    auto* const widget = parent.findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

QStringList recentMenuTexts(const Editor& editor)
{
    QMenu* const menu = editor.window.actions().recentMenu;
    emit menu->aboutToShow();
    QStringList texts;
    for (const QAction* const action : menu->actions()) {
        if (!action->isSeparator())
            texts.append(action->text());
    }
    return texts;
}

} // namespace

class TranslatorActionsTest : public QObject {
    Q_OBJECT

private slots:
    void saveWritesTheFileOpenWithoutADialog();
    void undoAndRedoNameTheirStep();
    void goToFindsANumberOrAName_data();
    void goToFindsANumberOrAName();
    void copyReferenceIsOneUndoStep();
    void editDialogShowsTheEntryAndGoesOnToTheNextToCheck();
    void duplicateNamesAreWarnedAboutAndCounted();
    void recentFilesComeBackWithTheirReference();
    void shortcutsAreATableOfTwoColumns();
    void windowGrowsBeyondTheFormAndRemembersItsPlace();
};

void TranslatorActionsTest::saveWritesTheFileOpenWithoutADialog()
{
    Editor editor;
    editor.openEntries(Working, QStringLiteral("lang_fr.xom"));
    editor.click("Sort");
    const QString copy = editor.pathIn(QStringLiteral("copy.xom"));
    editor.save(copy);
    editor.click("Sort"); // sorted already: no step
    editor.window.setCellTexts(
        {{1, xom::TextColumn, editor.cell(1, xom::TextColumn), QStringLiteral("Neu")}}, QStringLiteral("Edit"));
    editor.save(copy);
    QCOMPARE(editor.files->saveStartPaths.size(), 2);

    editor.window.setCellTexts(
        {{1, xom::TextColumn, QStringLiteral("Neu"), QStringLiteral("Neuer")}}, QStringLiteral("Edit"));
    editor.activate();
    QTest::keySequence(&editor.window, QKeySequence::Save);
    // No dialog: the file last saved gets what Save As would have written.
    QCOMPARE(editor.files->saveStartPaths.size(), 2);
    QVERIFY(!editor.window.hasUnsavedChanges());
    const QByteArray saved = fileBytes(copy);
    editor.save(editor.pathIn(QStringLiteral("again.xom")));
    QCOMPARE(fileBytes(editor.pathIn(QStringLiteral("again.xom"))), saved);
    QCOMPARE(editor.window.windowTitle(), QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] - [again.xom]"));
    QVERIFY(editor.boxes->replaceQuestions.isEmpty());
}

void TranslatorActionsTest::undoAndRedoNameTheirStep()
{
    Editor editor;
    editor.openEntries(Working);
    const app::WindowActions& actions = editor.window.actions();
    QCOMPARE(actions.undo->text(), QStringLiteral("&Undo"));
    editor.click("Sort");
    QCOMPARE(actions.undo->text(), QStringLiteral("&Undo Sort"));
    editor.window.setCellTexts(
        {{1, xom::TextColumn, editor.cell(1, xom::TextColumn), QStringLiteral("x")}}, QStringLiteral("Replace All"));
    actions.undo->trigger();
    QCOMPARE(actions.undo->text(), QStringLiteral("&Undo Sort"));
    QCOMPARE(actions.redo->text(), QStringLiteral("&Redo Replace All"));
    // Ctrl+Y redoes, beside the platform's own keys.
    editor.activate();
    QTest::keyClick(&editor.window, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(editor.cell(1, xom::TextColumn), QStringLiteral("x"));
    QCOMPARE(actions.redo->text(), QStringLiteral("&Redo"));
}

void TranslatorActionsTest::goToFindsANumberOrAName_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("name"); // empty: none; the dialog stays open
    QTest::newRow("a number") << "5"
                              << "FE.New";
    QTest::newRow("a number after a hash") << "#2"
                                           << "FE.Options";
    QTest::newRow("a name") << "FE.Quit"
                            << "FE.Quit";
    QTest::newRow("a name in another case") << "fe.score"
                                            << "FE.Score";
    QTest::newRow("nothing of the kind") << "FE.Nowhere"
                                         << "";
}

void TranslatorActionsTest::goToFindsANumberOrAName()
{
    QFETCH(QString, query);
    QFETCH(QString, name);
    Editor editor;
    editor.openEntries(Working);
    // Sorted by name, rows and numbers differ: entry 5 is on row 1.
    editor.click("Sort");
    editor.clickCell(2, xom::NameColumn);
    dialogs::GoToForm& goTo = editor.forms.GoToForm;
    QString said;
    bool stayedOpen = false;
    apptest::whenShown(goTo, [&] {
        auto* const box = childOf<QLineEdit>(goTo, "Query");
        QTest::keyClicks(box, query);
        QTest::keyClick(box, Qt::Key_Return);
        stayedOpen = goTo.isVisible();
        said = childOf<QLabel>(goTo, "Result")->text();
        if (goTo.isVisible())
            goTo.reject();
    });
    editor.activate();
    QTest::keyClick(&editor.window, Qt::Key_G, Qt::ControlModifier);

    QCOMPARE(stayedOpen, name.isEmpty());
    if (name.isEmpty()) {
        QCOMPARE(said, QStringLiteral("No entry is numbered or named \u201C%1\u201D.").arg(query));
        QCOMPARE(editor.currentCell(), std::make_pair(2, static_cast<int>(xom::NameColumn)));
        return;
    }
    // The column the user was in stays.
    const auto [row, column] = editor.currentCell();
    QCOMPARE(column, static_cast<int>(xom::NameColumn));
    QCOMPARE(editor.cell(row, xom::NameColumn), name);
    QCOMPARE(editor.rowPanel(), QString::number(row));
}

void TranslatorActionsTest::copyReferenceIsOneUndoStep()
{
    Editor editor;
    editor.openEntries(Working);
    editor.openReferenceEntries(Reference);
    editor.clickCell(3, xom::NameColumn);
    editor.activate();
    QTest::keyClick(&editor.window, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(editor.cell(3, xom::TextColumn), QStringLiteral("%d points"));
    QCOMPARE(editor.window.document().history().count(), 1);
    QCOMPARE(editor.window.actions().undo->text(), QStringLiteral("&Undo Copy Reference"));
    // An entry without a reference, or one that has it already, is no step.
    editor.window.copyReferenceClick();
    editor.clickCell(5, xom::TextColumn);
    editor.window.copyReferenceClick();
    QCOMPARE(editor.window.document().history().count(), 1);
    editor.window.undo();
    QCOMPARE(editor.cell(3, xom::TextColumn), QStringLiteral("points"));

    // In the Edit dialog Ctrl+B fills the box; Save makes it one step.
    editor.clickCell(1, xom::TextColumn);
    dialogs::TEditForm& edit = editor.forms.EditForm;
    QString reference;
    apptest::whenShown(edit, [&] {
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        reference = childOf<QPlainTextEdit>(edit, "ReferenceText")->toPlainText();
        auto* const box = childOf<dialogs::PlainTextBox>(edit, "RichEdit1");
        QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        if (edit.isVisible())
            edit.reject();
    });
    editor.click("EditText");
    QCOMPARE(reference, QStringLiteral("Start"));
    QCOMPARE(editor.cell(1, xom::TextColumn), QStringLiteral("Start"));
    QCOMPARE(editor.window.document().history().index(), 1);
}

void TranslatorActionsTest::editDialogShowsTheEntryAndGoesOnToTheNextToCheck()
{
    Editor editor;
    editor.openEntries(Working);
    dialogs::TEditForm& edit = editor.forms.EditForm;
    // Without a reference: the designed dialog, its caption naming the entry.
    editor.clickCell(4, xom::TextColumn);
    QString caption;
    QSize size;
    apptest::whenShown(edit, [&] {
        caption = edit.windowTitle();
        size = edit.size();
        edit.reject();
    });
    editor.click("EditText");
    QCOMPARE(caption, QStringLiteral("Edit Text - #4 FE.Quit"));
    QCOMPARE(size, QSize(390, 296));

    // With one, Ctrl+Shift+Enter saves and opens the next entry that fails
    // a check, as F8 finds it: rows 2 (untranslated), 3 (placeholder), 5
    // (no reference); the text typed into row 2 makes it pass.
    editor.openReferenceEntries(Reference);
    editor.clickCell(1, xom::TextColumn);
    QStringList captions;
    QStringList references;
    std::function<void()> step;
    step = [&] {
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        captions.append(edit.windowTitle());
        references.append(childOf<QPlainTextEdit>(edit, "ReferenceText")->toPlainText());
        auto* const box = childOf<dialogs::PlainTextBox>(edit, "RichEdit1");
        if (captions.size() == 1)
            box->setText(QStringLiteral("Einstellungen"));
        if (captions.size() < 4) {
            apptest::whenShown(edit, step);
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            edit.reject();
        }
    };
    editor.clickCell(1, xom::TextColumn);
    editor.activate();
    QTest::keyClick(editor.table(), Qt::Key_Down);
    apptest::whenShown(edit, step);
    editor.click("EditText");
    QCOMPARE(
        captions, (QStringList{QStringLiteral("Edit Text - #2 FE.Options"), QStringLiteral("Edit Text - #3 FE.Score"),
                      QStringLiteral("Edit Text - #5 FE.New"), QStringLiteral("Edit Text - #3 FE.Score")}));
    QCOMPARE(references,
        (QStringList{QStringLiteral("Options"), QStringLiteral("%d points"), QString(), QStringLiteral("%d points")}));
    QCOMPARE(editor.cell(2, xom::TextColumn), QStringLiteral("Einstellungen"));
    QCOMPARE(editor.currentCell(), std::make_pair(3, static_cast<int>(xom::TextColumn)));
}

void TranslatorActionsTest::duplicateNamesAreWarnedAboutAndCounted()
{
    Editor editor;
    editor.openEntries(Working);
    dialogs::TAddForm& add = editor.forms.AddForm;
    QString warned;
    apptest::whenShown(add, [&] {
        auto* const name = childOf<QLineEdit>(add, "EditName");
        name->setText(QStringLiteral("FE.Quit"));
        warned = childOf<QLabel>(add, "NameVerdict")->text();
        QTest::mouseClick(childOf<QPushButton>(add, "AddBut"), Qt::LeftButton);
    });
    editor.click("AddRow");
    // Warned, not refused: the file may hold such names.
    QCOMPARE(warned, QStringLiteral("Entry #4 has this name too."));
    QCOMPARE(editor.cell(6, xom::NameColumn), QStringLiteral("FE.Quit"));

    // Renaming: an entry is no twin of itself.
    dialogs::EditNameForm& rename = editor.forms.EditNameForm;
    QStringList verdicts;
    apptest::whenShown(rename, [&] {
        auto* const name = childOf<QLineEdit>(rename, "EditName");
        verdicts.append(childOf<QLabel>(rename, "NameVerdict")->text());
        name->setText(QStringLiteral("FE.Start"));
        verdicts.append(childOf<QLabel>(rename, "NameVerdict")->text());
        rename.reject();
    });
    editor.clickCell(1, xom::NameColumn);
    editor.window.editCurrentCell();
    QCOMPARE(verdicts, (QStringList{QString(), QString()}));

    // The checks beside a reference count both entries of the name; both
    // have its reference text, translated otherwise in the other, which the
    // panel names.
    editor.openReferenceEntries(Reference);
    QCOMPARE(editor.countPanel(), QStringLiteral("1 untranslated · 4 with warnings"));
    editor.clickCell(4, xom::TextColumn);
    QCOMPARE(editor.window.findChild<QLabel*>(QStringLiteral("StatusPanel2"))->text(),
        QStringLiteral("duplicate name, inconsistent translation (#6)"));
}

void TranslatorActionsTest::recentFilesComeBackWithTheirReference()
{
    QString first;
    QString reference;
    {
        Editor editor;
        editor.openEntries(Working, QStringLiteral("lang_fr.xom"));
        first = editor.pathIn(QStringLiteral("lang_fr.xom"));
        reference = editor.openReferenceEntries(Reference);
        editor.openEntries(Reference, QStringLiteral("lang_it.xom"));
        editor.window.actions().closeReference->trigger();
        QCOMPARE(recentMenuTexts(editor),
            (QStringList{QStringLiteral("&1 lang_it.xom"), QStringLiteral("&2 lang_fr.xom (reference lang_en.xom)"),
                QStringLiteral("&Clear the List")}));
    }
    // The next editor has the list; the first editor's folder went with it,
    // so the files it names are gone: opening one says so and drops it.
    Editor editor(apptest::Settings::Kept);
    QCOMPARE(editor.window.recentFiles().files().size(), 2);
    QCOMPARE(editor.window.recentFiles().files().at(1), (app::RecentFile{first, reference}));
    QMenu* const menu = editor.window.actions().recentMenu;
    recentMenuTexts(editor);
    menu->actions().at(1)->trigger();
    QCOMPARE(editor.boxes->errorTexts,
        QStringList{QStringLiteral("Cannot open file %1: there is no such file.").arg(first)});
    QCOMPARE(editor.window.recentFiles().files().size(), 1);

    // A file that is there opens with the reference that was beside it.
    editor.openEntries(Working, QStringLiteral("lang_fr.xom"));
    const QString back = editor.pathIn(QStringLiteral("lang_fr.xom"));
    const QString backReference = editor.openReferenceEntries(Reference);
    editor.openEntries(Reference, QStringLiteral("lang_it.xom"));
    editor.window.actions().closeReference->trigger();
    recentMenuTexts(editor);
    menu->actions().at(1)->trigger();
    QCOMPARE(editor.window.windowTitle(), QStringLiteral("LudraLanguageEditor v.2.0 [Unicode]  - [lang_fr.xom]"));
    QVERIFY(editor.window.actions().closeReference->isEnabled());
    QCOMPARE(editor.window.recentFiles().files().front(), (app::RecentFile{back, backReference}));
    QCOMPARE(editor.window.recentFiles().files().size(), 3);
}

void TranslatorActionsTest::shortcutsAreATableOfTwoColumns()
{
    Editor editor;
    editor.window.actions().keyboardShortcuts->trigger();
    const QList<QPair<QString, QString>>& rows = editor.boxes->shortcutRows;
    QVERIFY(rows.size() > 15);
    QStringList whats;
    for (const auto& [what, keys] : rows) {
        QVERIFY2(!what.isEmpty() && !keys.isEmpty(), qPrintable(what + u'|' + keys));
        QVERIFY2(!what.contains(u'&') && !what.contains(u'\t'), qPrintable(what));
        whats.append(what);
    }
    for (const QString& expected :
        {QStringLiteral("Undo"), QStringLiteral("Redo"), QStringLiteral("Save"), QStringLiteral("Save As"),
            QStringLiteral("Go to Entry"), QStringLiteral("Search Next"), QStringLiteral("Copy Reference into Text")})
        QVERIFY2(whats.contains(expected), qPrintable(expected));
    const auto redo = std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row.first == u"Redo"; });
    QVERIFY(redo->second.contains(QStringLiteral("Ctrl+Y")));
}

void TranslatorActionsTest::windowGrowsBeyondTheFormAndRemembersItsPlace()
{
    QSize grown;
    QList<int> splitterSizes;
    {
        Editor editor;
        app::TFormXom& window = editor.window;
        editor.openEntries(Working);
        const int around = window.menuBar()->height() + window.statusBar()->height();
        auto* const saveButton = editor.button("SaveLang");
        auto* const panel = childOf<QWidget>(window, "Panel1");
        app::EntryGridView* const table = editor.table();
        // The form at its size.
        QCOMPARE(window.centralWidget()->size(), QSize(622, 610));
        QCOMPARE(saveButton->geometry(), QRect(512, 8, 105, 33));
        QCOMPARE(panel->geometry(), QRect(0, 48, 622, 562));
        QCOMPARE(table->height(), 351);
        QCOMPARE(table->columnWidth(xom::TextColumn), 255);

        window.resize(1600, 1000 + around);
        QVERIFY(QTest::qWaitFor([&] { return window.centralWidget()->width() == 1600; }));
        QCOMPARE(saveButton->geometry(), QRect(1600 - 110, 8, 105, 33));
        QCOMPARE(editor.button("Button1")->geometry(), QRect(8, 8, 113, 33));
        QCOMPARE(panel->geometry(), QRect(0, 48, 1600, 952));
        QVERIFY(table->height() > 351);
        QVERIFY(editor.preview()->height() > 206);
        QCOMPARE(table->columnWidth(xom::TextColumn), 255 + 978);
        editor.openReferenceEntries(Reference);
        QCOMPARE(table->columnWidth(xom::TextColumn) + table->columnWidth(xom::ColumnCount), 400 + 978);

        // Back to the form's size, the form's layout again.
        editor.window.actions().closeReference->trigger();
        window.resize(622, 610 + around);
        QVERIFY(QTest::qWaitFor([&] { return window.centralWidget()->width() == 622; }));
        QCOMPARE(saveButton->geometry(), QRect(512, 8, 105, 33));
        QCOMPARE(panel->geometry(), QRect(0, 48, 622, 562));
        QCOMPARE(table->columnWidth(xom::TextColumn), 255);

        window.resize(760, 700);
        grown = window.size();
        splitterSizes = childOf<QSplitter>(window, "Splitter1")->sizes();
        window.close();
    }
    Editor editor(apptest::Settings::Kept);
    QCOMPARE(editor.window.size(), grown);
    QCOMPARE(childOf<QSplitter>(editor.window, "Splitter1")->sizes(), splitterSizes);
}

QTEST_MAIN(TranslatorActionsTest)
#include "TranslatorActionsTest.moc"
