// Marks, Move Down, Sort and the search box, and how the grid tells the view
// about them.

#include "AppTestSupport.h"

#include "app/EntryGridModel.h"
#include "document/Document.h"
#include "app/EntryGridView.h"

#include "support/RandomEntries.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

using apptest::Editor;

namespace {

std::vector<std::pair<QString, QString>> namesAndTexts(const QStringList& names, const QStringList& texts)
{
    std::vector<std::pair<QString, QString>> entries;
    for (qsizetype i = 0; i < names.size(); ++i)
        entries.emplace_back(names[i], texts[i]);
    return entries;
}

QStringList marks(const Editor& editor)
{
    QStringList result;
    for (const xom::Entry& entry : editor.window.entries().entries())
        result.append(entry.mark);
    return result;
}

// Counts what the grid model announces.
struct Announcements {
    explicit Announcements(const QAbstractItemModel* model)
        : layoutChanges(model, &QAbstractItemModel::layoutChanged)
        , resets(model, &QAbstractItemModel::modelReset)
        , moves(model, &QAbstractItemModel::rowsMoved)
        , cellChanges(model, &QAbstractItemModel::dataChanged)
    {
    }
    QSignalSpy layoutChanges;
    QSignalSpy resets;
    QSignalSpy moves;
    QSignalSpy cellChanges;
};

struct PaintCounter final : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

void pressEnter(
    Editor& editor, const QString& search, Qt::Key key = Qt::Key_Return, Qt::KeyboardModifiers modifiers = {})
{
    editor.searchBox()->setText(search);
    QTest::keyClick(editor.searchBox(), key, modifiers);
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void pressesOnTheMarkColumnToggleMarks();
    void doubleClickLeavesTheMarkAsItWas();
    void pressesElsewhereChangeNoMark();

    void moveDownIsOneLayoutChangeAndKeepsTheCurrentEntry();
    void sortMovesTheProgressBarAndKeepsTheCurrentEntry();
    void sortPaintsTheBarOncePerPosition();
    void rowAddedAfterSortOrMoveDownHoldsOnlyWhatAddWrote();

    void searchSelectsTheTextCellOfTheRowFound();
    void searchFiresOneSelectEventPerStepAndScrolls();
    void searchLeavesTheEditButtonAlone();
    void searchWithoutEntriesSelectsNothing();
    void operationsWorkBeforeAnyFile();

    void cellsShowTheirLinesOnOneLine_data();
    void cellsShowTheirLinesOnOneLine();
    void millionRows();
};

void GridTest::pressesOnTheMarkColumnToggleMarks()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"A", "B", "C"}, {"a", "b", "c"}));
    editor.clickCell(2, 2);

    editor.clickCell(1, 0);
    QCOMPARE(marks(editor), (QStringList{"x", "", ""}));
    editor.clickCell(1, 0, Qt::RightButton);
    QCOMPARE(marks(editor), (QStringList{"", "", ""}));
    editor.clickCell(3, 0, Qt::RightButton);
    editor.clickCell(2, 0, Qt::MiddleButton);
    QTest::mouseClick(editor.table()->viewport(), Qt::LeftButton, Qt::ShiftModifier, editor.cellCentre(1, 0));
    QCOMPARE(marks(editor), (QStringList{"x", "x", "x"}));

    // The presses moved neither the selection nor the panels.
    QCOMPARE(editor.currentCell(), std::make_pair(2, 2));
    QCOMPARE(editor.rowPanel(), QStringLiteral("2"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("B"));
}

void GridTest::doubleClickLeavesTheMarkAsItWas()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"A", "B"}, {"a", "b"}));
    editor.doubleClickCell(1, 0);
    QCOMPARE(marks(editor), (QStringList{"", ""}));
    editor.clickCell(2, 0);
    editor.doubleClickCell(2, 0);
    QCOMPARE(marks(editor), (QStringList{"", "x"}));
}

void GridTest::pressesElsewhereChangeNoMark()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"A", "B"}, {"a", "b"}));
    editor.clickCell(1, 0);
    for (int column = 1; column < 4; ++column) {
        editor.clickCell(1, column);
        editor.clickCell(2, column, Qt::RightButton);
        // A double click on a name or text opens its Edit dialog; numbers
        // are not edited.
        if (column == xom::NameColumn)
            apptest::whenShown(editor.forms.EditNameForm, [&editor] { editor.forms.EditNameForm.reject(); });
        if (column == xom::TextColumn)
            apptest::whenShown(editor.forms.EditForm, [&editor] { editor.forms.EditForm.reject(); });
        editor.doubleClickCell(2, column);
    }
    QWidget* const header = editor.table()->horizontalHeader()->viewport();
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(header, Qt::RightButton, {}, QPoint(5, 5));
    // Below the last row is outside every cell.
    QTest::mouseClick(editor.table()->viewport(), Qt::LeftButton, {}, QPoint(7, 300));
    QCOMPARE(marks(editor), (QStringList{"x", ""}));
    QCOMPARE(editor.table()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("x"));
}

void GridTest::moveDownIsOneLayoutChangeAndKeepsTheCurrentEntry()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"A", "B", "C", "D"}, {"a", "b", "c", "d"}));
    editor.clickCell(1, 0);
    editor.clickCell(3, 0);
    editor.clickCell(2, 3);
    const Announcements announced(editor.table()->model());
    QSignalSpy selects(editor.table(), &app::EntryGridView::cellSelected);

    editor.click("MoveDown");

    QCOMPARE(editor.rows(), (QStringList{"|2|B|b", "|4|D|d", "|1|A|a", "|3|C|c"}));
    QCOMPARE(announced.layoutChanges.count(), 1);
    QCOMPARE(announced.resets.count(), 0);
    QCOMPARE(announced.moves.count(), 0);
    // The current cell goes with its entry, B, now on row 1, without a
    // select event; the panel says its row.
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));
    QCOMPARE(editor.table()->selectionModel()->selectedIndexes(), QModelIndexList{editor.table()->currentIndex()});
    QCOMPARE(selects.count(), 0);
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("b"));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1"));
}

void GridTest::sortMovesTheProgressBarAndKeepsTheCurrentEntry()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"b", "A", "a", "B"}, {"1", "2", "3", "4"}));
    editor.clickCell(4, 2);
    const QString countPanel = editor.countPanel();
    QProgressBar* const bar = editor.progressBar();
    const apptest::ProgressRecorder recorded(*bar);
    const Announcements announced(editor.table()->model());

    editor.click("Sort");

    QCOMPARE(editor.rows(), (QStringList{"|2|A|2", "|3|a|3", "|1|b|1", "|4|B|4"}));
    // R = 5 rows: positions k / 7 * 100 for k = 2, 3, 4, after the start at 0.
    QCOMPARE(recorded.positions, (QList<int>{0, 29, 43, 57}));
    QVERIFY(recorded.alwaysVisible);
    QVERIFY(!bar->isVisible());
    QCOMPARE(announced.layoutChanges.count(), 1);
    QCOMPARE(announced.resets.count(), 0);
    QCOMPARE(editor.currentCell(), std::make_pair(4, 2));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("B"));
    QCOMPARE(editor.countPanel(), countPanel);
    for (int column = 0; column < 4; ++column)
        QCOMPARE(editor.table()->model()->headerData(column, Qt::Horizontal).toString(),
            xom::EntryTable::headerTexts()[static_cast<std::size_t>(column)]);
}

// Sort reports a position per row, and nothing yields to the event loop
// meanwhile: the bar is painted by hand, but only when its position changes.
void GridTest::sortPaintsTheBarOncePerPosition()
{
    std::vector<std::pair<QString, QString>> entries;
    for (int k = 0; k < 3000; ++k)
        entries.emplace_back(QStringLiteral("N%1").arg((k * 7919) % 3000), QStringLiteral("t"));
    Editor editor;
    editor.openEntries(entries);
    PaintCounter paints(editor.progressBar());
    editor.click("Sort");
    // One paint per position 0 .. 100 and a few for showing the bar, not one
    // per row.
    QVERIFY(paints.count > 0);
    QVERIFY2(paints.count <= 110, qPrintable(QString::number(paints.count)));
}

void GridTest::rowAddedAfterSortOrMoveDownHoldsOnlyWhatAddWrote()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"c", "b", "a"}, {"3", "2", "1"}));
    editor.clickCell(1, 0);
    editor.click("MoveDown");
    editor.click("Sort");
    apptest::whenShown(editor.forms.AddForm, [&] {
        QTest::mouseClick(editor.forms.AddForm.findChild<QPushButton*>(QStringLiteral("AddBut")), Qt::LeftButton);
    });
    editor.click("AddRow");
    QCOMPARE(editor.rows(), (QStringList{"|3|a|1", "|2|b|2", "|1|c|3", "|4|FE.NewString|NewString"}));
}

void GridTest::searchSelectsTheTextCellOfTheRowFound()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"N1", "N2", "N3"}, {"Hello", "help", "World"}));

    pressEnter(editor, QStringLiteral("HEL"));
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("Hello"));

    pressEnter(editor, QStringLiteral("wor"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(editor.currentCell(), std::make_pair(3, 3));
    QCOMPARE(editor.rowPanel(), QStringLiteral("3"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("World"));

    pressEnter(editor, QString(), Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("Hello"));

    pressEnter(editor, QStringLiteral("nothing like it"));
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));

    // Only Enter searches.
    editor.clickCell(2, 2);
    QTest::keyClicks(editor.searchBox(), QStringLiteral("W"));
    QTest::keyClick(editor.searchBox(), Qt::Key_Tab);
    QCOMPARE(editor.currentCell(), std::make_pair(2, 2));
}

void GridTest::searchFiresOneSelectEventPerStepAndScrolls()
{
    std::vector<std::pair<QString, QString>> entries;
    for (int k = 1; k < 200; ++k)
        entries.emplace_back(QStringLiteral("N%1").arg(k), QStringLiteral("text %1").arg(k));
    entries.emplace_back(QStringLiteral("Last"), QStringLiteral("Zebra"));
    Editor editor;
    editor.openEntries(entries);
    QSignalSpy selects(editor.table(), &app::EntryGridView::cellSelected);

    // From row 1, column 1: first column 3 of row 1, then row 200.
    pressEnter(editor, QStringLiteral("zeb"));
    QCOMPARE(selects.count(), 2);
    QCOMPARE(selects.at(0).at(0).toModelIndex(), editor.table()->model()->index(0, 3));
    QCOMPARE(selects.at(1).at(0).toModelIndex(), editor.table()->model()->index(199, 3));
    const QRect cellRect = editor.table()->visualRect(editor.table()->currentIndex());
    QVERIFY(editor.table()->viewport()->rect().contains(cellRect));

    // The same search again moves nothing, so nothing fires.
    pressEnter(editor, QStringLiteral("zeb"));
    QCOMPARE(selects.count(), 2);
}

void GridTest::searchLeavesTheEditButtonAlone()
{
    Editor editor;
    editor.openEntries(namesAndTexts({"N1", "N2"}, {"Hello", "help"}));
    pressEnter(editor, QStringLiteral("hel"));
    QVERIFY(!editor.button("EditText")->isEnabled());
    editor.clickCell(2, 3);
    editor.clickCell(2, 3);
    QVERIFY(editor.button("EditText")->isEnabled());
    editor.clickCell(2, 0); // keeps it enabled, from the unchanged selection
    QTest::keyClick(editor.table(), Qt::Key_Left);
    pressEnter(editor, QStringLiteral("hel"));
    QVERIFY(editor.button("EditText")->isEnabled());
}

void GridTest::searchWithoutEntriesSelectsNothing()
{
    Editor editor;
    editor.openEntries({});
    QSignalSpy selects(editor.table(), &app::EntryGridView::cellSelected);
    pressEnter(editor, QStringLiteral("a"));
    pressEnter(editor, QString());
    QCOMPARE(selects.count(), 0);
    QCOMPARE(editor.currentCell(), std::make_pair(-1, -1));
    editor.click("Sort");
    editor.click("MoveDown");
    QCOMPARE(editor.table()->model()->rowCount(), 0);
}

void GridTest::operationsWorkBeforeAnyFile()
{
    Editor editor;
    editor.clickCell(1, 0);
    editor.click("Sort");
    editor.click("MoveDown");
    QCOMPARE(editor.rows(), QStringList{QStringLiteral("|||")});
    pressEnter(editor, QString());
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1"));
    QCOMPARE(editor.preview()->toPlainText(), QString());
}

void GridTest::cellsShowTheirLinesOnOneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one line") << QStringLiteral("a\tb") << QStringLiteral("a\tb");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a b");
    QTest::newRow("LF and CR") << QStringLiteral("a\nb\rc") << QStringLiteral("a b c");
    QTest::newRow("separators") << QStringLiteral("a\u2028b\u2029c") << QStringLiteral("a b c");
    QTest::newRow("long") << QString(5000, QLatin1Char('w')) << QString(1000, QLatin1Char('w'));
}

void GridTest::cellsShowTheirLinesOnOneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const app::EntryGridView view;
    const auto* const delegate = qobject_cast<const QStyledItemDelegate*>(view.itemDelegate());
    QVERIFY(delegate);
    QCOMPARE(delegate->displayText(text, QLocale()), shown);
}

// A million rows go through the grid model and view the way a load, a
// reordering and a search do: nothing here may touch every row through the
// view (measuring rows, one notification per row), or it would take minutes.
void GridTest::millionRows()
{
    constexpr int Rows = 1'000'000;
    document::Document document;
    app::EntryGridModel model(document);
    app::EntryGridView view;
    view.setModel(&model);
    view.resize(620, 351);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    xom::LoadedFile file;
    file.entries = testsupport::syntheticEntries(Rows);
    document.open(std::move(file), QStringLiteral("million.xom"));
    view.setCurrentCellQuietly(model.indexOfCell(Rows, 3));
    QCOMPARE(view.rowHeight(Rows - 1), 17);
    const QString lastNumber = document.entries().number(Rows - 1);
    const Announcements announced(&model);
    QVERIFY(document.sortByName());
    QCOMPARE(announced.layoutChanges.count(), 1);
    // The current cell went with its entry, and comes back with it.
    QCOMPARE(document.entries().number(view.currentIndex().row()), lastNumber);
    document.undo();
    QCOMPARE(announced.layoutChanges.count(), 2);
    QCOMPARE(view.currentIndex().row(), Rows - 1);
    view.selectCell(model.indexOfCell(1, 3));
    QVERIFY(view.viewport()->rect().contains(view.visualRect(view.currentIndex())));
    view.selectCell(model.indexOfCell(Rows, 2));
    QVERIFY(view.viewport()->rect().contains(view.visualRect(view.currentIndex())));
    QCOMPARE(model.data(model.index(0, 3), Qt::ToolTipRole), QVariant());
}

QTEST_MAIN(GridTest)
#include "GridTest.moc"
