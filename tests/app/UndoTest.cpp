// Undo and redo through the real window: every change taken back gives the
// grid, the model and the bytes a save would write as they were, and made
// again gives them as the change left them.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"

#include "dialogs/PlainTextBox.h"
#include "text/LineBreaks.h"
#include "xom/LanguageFileWriter.h"

#include <QFile>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using apptest::Editor;

namespace {

// What an undo step must give back whole.
struct Snapshot {
    QStringList rows;
    std::vector<xom::XTypeCont> types;
    xom::StringListSummary strings;
    QByteArray image;
    QString countPanel;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshotOf(const Editor& editor)
{
    Snapshot shot;
    shot.rows = editor.rows();
    const xom::LanguageModel& model = editor.window.languageModel();
    shot.types = model.TypeTable;
    shot.strings = model.StringList;
    // The image from a copy: saving would move the clean state.
    xom::LanguageModel copy = model;
    shot.image = xom::buildLanguageImage(editor.window.entries(), copy);
    return shot;
}

// The entry number of the current cell's row.
QString currentEntry(const Editor& editor)
{
    const auto [row, column] = editor.currentCell();
    return row < 0 ? QString() : editor.cell(row, xom::NumberColumn);
}

void editCell(Editor& editor, const int gridRow, const int column, const QString& text)
{
    editor.clickCell(gridRow, column);
    dialogs::TEditForm& form = editor.forms.EditForm;
    apptest::whenShown(form, [&form, text] {
        form.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"))->setText(text);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    // The grid's way to Edit, which takes any column.
    editor.window.editCurrentCell();
}

void renameCell(Editor& editor, const int gridRow, const QString& name)
{
    editor.clickCell(gridRow, xom::NameColumn);
    dialogs::EditNameForm& form = editor.forms.EditNameForm;
    apptest::whenShown(form, [&form, name] {
        form.findChild<QLineEdit*>(QStringLiteral("EditName"))->setText(name);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Save")), Qt::LeftButton);
    });
    editor.window.editCurrentCell();
}

void addEntry(Editor& editor, const QString& name, const QString& text)
{
    dialogs::TAddForm& form = editor.forms.AddForm;
    apptest::whenShown(form, [&form, name, text] {
        form.findChild<QLineEdit*>(QStringLiteral("EditName"))->setText(name);
        form.findChild<dialogs::PlainTextBox*>(QStringLiteral("EditText"))->setText(text);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("AddBut")), Qt::LeftButton);
    });
    editor.click("AddRow");
}

int resourceCount(const Editor& editor)
{
    const xom::LanguageModel& model = editor.window.languageModel();
    return model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
}

using Step = std::function<void(Editor&)>;

} // namespace

Q_DECLARE_METATYPE(Step)

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void everyChangeUndoesAndRedoes_data();
    void everyChangeUndoesAndRedoes();
    void stepsUndoInTheReverseOrder();
    void aLoadEndsTheHistory();
};

void UndoTest::everyChangeUndoesAndRedoes_data()
{
    QTest::addColumn<Step>("change");
    QTest::addColumn<int>("steps");
    // Whether a save would write something else: marks are never saved.
    QTest::addColumn<bool>("changesFile");
    // The entry current after the undo and after the redo: the one the
    // change concerned. The row 2 entry is current before each change.
    QTest::addColumn<QString>("currentAfterUndo");
    QTest::addColumn<QString>("currentAfterRedo");

    QTest::newRow("edit a text") << Step([](Editor& e) {
        editCell(e, 2, xom::TextColumn, QStringLiteral("new\r\ntext"));
    }) << 1 << true << "2"
                                 << "2";
    QTest::newRow("edit a name") << Step([](Editor& e) { renameCell(e, 3, QStringLiteral("FE.Renamed")); }) << 1 << true
                                 << "3"
                                 << "3";
    QTest::newRow("mark by click") << Step([](Editor& e) { e.clickCell(4, xom::MarkColumn); }) << 1 << false << "4"
                                   << "4";
    QTest::newRow("add") << Step([](Editor& e) { addEntry(e, QStringLiteral("FE.Added"), QStringLiteral("Added")); })
                         << 1 << true << "5"
                         << "6";
    QTest::newRow("move down") << Step([](Editor& e) { e.click("MoveDown"); }) << 1 << true << "2"
                               << "2";
    QTest::newRow("sort") << Step([](Editor& e) { e.click("Sort"); }) << 1 << true << "2"
                          << "2";
    QTest::newRow("sort from the menu") << Step([](Editor& e) { e.window.actions().sort->trigger(); }) << 1 << true
                                        << "2"
                                        << "2";
    QTest::newRow("move down, then sort") << Step([](Editor& e) {
        e.click("MoveDown");
        e.click("Sort");
    }) << 2 << true << "2"
                                          << "2";
    QTest::newRow("many cells in one step") << Step([](Editor& e) {
        e.window.setCellTexts({{1, xom::TextColumn, QStringLiteral("Zulu"), QStringLiteral("one")},
                                  {2, xom::NameColumn, QStringLiteral("FE.Alpha"), QStringLiteral("FE.b")},
                                  {1, xom::TextColumn, QStringLiteral("one"), QStringLiteral("two")}},
            QStringLiteral("Replace"));
    }) << 1 << true << "2"
                                            << "2";
    QTest::newRow("many cells elsewhere") << Step([](Editor& e) {
        e.window.setCellTexts({{5, xom::TextColumn, QStringLiteral("Kilo"), QStringLiteral("K")},
                                  {4, xom::TextColumn, QStringLiteral("bravo"), QStringLiteral("B")}},
            QStringLiteral("Replace All"));
    }) << 1 << true << "5"
                                          << "5";
}

void UndoTest::everyChangeUndoesAndRedoes()
{
    QFETCH(Step, change);
    QFETCH(int, steps);
    QFETCH(bool, changesFile);
    QFETCH(QString, currentAfterUndo);
    QFETCH(QString, currentAfterRedo);
    Editor editor;
    editor.openEntries({{QStringLiteral("FE.Zulu"), QStringLiteral("Zulu")},
        {QStringLiteral("FE.Alpha"), QStringLiteral("Alpha")}, {QStringLiteral("FE.Mike"), QStringLiteral("Mike")},
        {QStringLiteral("FE.bravo"), QStringLiteral("bravo")}, {QStringLiteral("FE.Kilo"), QStringLiteral("Kilo")}});
    // Two marks, then a clean start.
    editor.clickCell(1, xom::MarkColumn);
    editor.clickCell(3, xom::MarkColumn);
    editor.save(editor.pathIn(QStringLiteral("start.xom")));
    editor.clickCell(2, xom::NameColumn);
    QVERIFY(!editor.window.hasUnsavedChanges());
    const QString cleanCaption = editor.window.windowTitle();
    const QString changedCaption = changesFile ? cleanCaption + QStringLiteral(" *") : cleanCaption;
    const Snapshot before = snapshotOf(editor);
    const int start = editor.window.document().history().index();

    change(editor);
    const Snapshot after = snapshotOf(editor);
    QVERIFY(after.rows != before.rows || after.types != before.types);
    QCOMPARE(after.image != before.image, changesFile);
    QCOMPARE(editor.window.document().history().index() - start, steps);
    QCOMPARE(editor.window.windowTitle(), changedCaption);
    QCOMPARE(editor.window.hasUnsavedChanges(), changesFile);

    editor.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    const auto expectCurrent = [&editor](const QString& entry) {
        QCOMPARE(currentEntry(editor), entry);
        QVERIFY(
            editor.table()->viewport()->rect().contains(editor.table()->visualRect(editor.table()->currentIndex())));
        QCOMPARE(editor.rowPanel(), QString::number(editor.currentCell().first));
        const QString text = editor.cell(editor.currentCell().first, editor.currentCell().second);
        QCOMPARE(editor.preview()->toPlainText(), text::withLineBreaksAs(text, u"\n"));
    };
    for (int round = 0; round < 2; ++round) {
        for (int step = 0; step < steps; ++step)
            QTest::keySequence(&editor.window, QKeySequence::Undo);
        QCOMPARE(snapshotOf(editor), before);
        QCOMPARE(editor.window.windowTitle(), cleanCaption);
        QVERIFY(!editor.window.hasUnsavedChanges());
        expectCurrent(currentAfterUndo);
        for (int step = 0; step < steps; ++step)
            QTest::keySequence(&editor.window, QKeySequence::Redo);
        QCOMPARE(snapshotOf(editor), after);
        QCOMPARE(editor.window.windowTitle(), changedCaption);
        expectCurrent(currentAfterRedo);
    }
    // What a save writes after undo and redo is what it would have written.
    editor.save(editor.pathIn(QStringLiteral("after.xom")));
    QFile written(editor.pathIn(QStringLiteral("after.xom")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), after.image);
    QVERIFY(editor.boxes->errorTexts.isEmpty());
}

void UndoTest::stepsUndoInTheReverseOrder()
{
    Editor editor;
    editor.openEntries({{QStringLiteral("B"), QStringLiteral("b")}, {QStringLiteral("A"), QStringLiteral("a")}});
    const QStringList loaded = editor.rows();
    editor.clickCell(1, xom::MarkColumn);
    editor.click("MoveDown");
    addEntry(editor, QStringLiteral("C"), QStringLiteral("c"));
    QCOMPARE(editor.countPanel(), QStringLiteral("3"));
    editor.click("Sort");
    QCOMPARE(
        editor.rows(), (QStringList{QStringLiteral("|2|A|a"), QStringLiteral("|1|B|b"), QStringLiteral("|3|C|c")}));
    QCOMPARE(resourceCount(editor), 3);
    for (int step = 0; step < 4; ++step)
        editor.window.actions().undo->trigger();
    QCOMPARE(editor.rows(), loaded);
    QCOMPARE(resourceCount(editor), 2);
    QVERIFY(!editor.window.actions().undo->isEnabled());
    QVERIFY(editor.window.actions().redo->isEnabled());
}

void UndoTest::aLoadEndsTheHistory()
{
    Editor editor;
    editor.openEntries({{QStringLiteral("B"), QStringLiteral("b")}, {QStringLiteral("A"), QStringLiteral("a")}});
    editor.click("Sort");
    editor.boxes->saveAnswers.push_back(app::SaveChoice::Discard);
    editor.openEntries({{QStringLiteral("C"), QStringLiteral("c")}}, QStringLiteral("other.xom"));
    QCOMPARE(editor.window.document().history().count(), 0);
    QVERIFY(!editor.window.actions().undo->isEnabled());
    QVERIFY(!editor.window.hasUnsavedChanges());
}

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
