// Every reversible operation, taken back, gives the table and the model it
// started from; made again, it gives what it gave the first time.
#include "xom/EntryOperations.h"
#include "xom/ReversibleOperations.h"

#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

// What the model keeps of its string list: the count, string 1 and the last
// two strings.
std::vector<QString> stringsOf(const xom::LanguageModel& model)
{
    const xom::StringListSummary& list = model.StringList;
    return {QString::number(list.count), list.second, list.lastButOne, list.last};
}

class Reversible : public testing::TestWithParam<int> {
protected:
    std::mt19937 random{static_cast<std::mt19937::result_type>(GetParam())};
    const xom::EntryTable original = testsupport::randomEntries(random, GetParam() % 7 == 0 ? 1 : 40 + GetParam());
};

TEST_P(Reversible, RowOrdersMoveRowsWithoutCopiesAndGoBack)
{
    xom::RowOrder shuffled(original.rows.size());
    std::iota(shuffled.begin(), shuffled.end(), 0);
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    for (const xom::RowOrder& order : {xom::sortOrderByName(original), shuffled}) {
        xom::EntryTable expected;
        for (const std::int32_t from : order)
            expected.append(original.entry(from));
        xom::EntryTable table = original;
        xom::applyRowOrder(table, order);
        EXPECT_EQ(table, expected);
        xom::revertRowOrder(table, order);
        EXPECT_EQ(table, original);
    }
    xom::EntryTable sorted = original;
    xom::sortEntriesByName(sorted);
    xom::EntryTable table = original;
    xom::applyRowOrder(table, xom::sortOrderByName(original));
    EXPECT_EQ(table, sorted);
}

// Move Down's result made the plain way: the rows stably partitioned by
// whether their mark is exactly "x", those that move unmarked.
xom::EntryTable movedDownPlainly(const xom::EntryTable& table)
{
    xom::EntryTable moved = table;
    const auto stays = [&](const xom::EntryRow& row) { return table.texts.view(row.mark) != u"x"; };
    const auto firstMoved = std::stable_partition(moved.rows.begin(), moved.rows.end(), stays);
    for (auto row = firstMoved; row != moved.rows.end(); ++row)
        row->mark = xom::TextPool::EmptyText;
    return moved;
}

TEST_P(Reversible, MoveDownGoesBackWithItsMarks)
{
    const xom::EntryTable expected = movedDownPlainly(original);
    xom::EntryTable table = original;
    const xom::MoveDownChange change = xom::moveDownChangeOf(table);
    EXPECT_EQ(table, original);
    xom::redoMoveDown(table, change);
    EXPECT_EQ(table, expected);
    // The arrangement is the one the rows took, which the grid's views
    // follow, and the marks cleared are those of the rows that end it.
    xom::EntryTable arranged = original;
    xom::applyRowOrder(arranged, change.order);
    const std::size_t firstMoved = arranged.rows.size() - change.clearedMarks.size();
    for (std::size_t row = firstMoved; row < arranged.rows.size(); ++row) {
        EXPECT_EQ(arranged.rows[row].mark, change.clearedMarks[row - firstMoved]);
        arranged.rows[row].mark = xom::TextPool::EmptyText;
    }
    EXPECT_EQ(arranged, expected);
    xom::undoMoveDown(table, change);
    EXPECT_EQ(table, original);
    xom::redoMoveDown(table, change);
    EXPECT_EQ(table, expected);
}

TEST_P(Reversible, AddGoesBackToTheCountAndStringsItFound)
{
    const xom::LanguageModel model = testsupport::modelForEntries(original);
    for (const bool withType : {true, false}) {
        xom::LanguageModel changed = model;
        if (!withType)
            changed.StringResourceType = -1;
        const xom::LanguageModel before = changed;
        xom::EntryTable table = original;
        const xom::AddedEntry added
            = xom::addEntryReversibly(table, changed, QStringLiteral("FE.New"), QString::fromUtf16(u"новый"));
        const xom::EntryTable afterAdd = table;
        const xom::LanguageModel modelAfterAdd = changed;
        xom::undoAddEntry(table, changed, added);
        EXPECT_EQ(table, original);
        EXPECT_EQ(changed.TypeTable, before.TypeTable);
        EXPECT_EQ(stringsOf(changed), stringsOf(before));
        xom::addEntryReversibly(table, changed, QStringLiteral("FE.New"), QString::fromUtf16(u"новый"));
        EXPECT_EQ(table, afterAdd);
        EXPECT_EQ(changed.TypeTable, modelAfterAdd.TypeTable);
        EXPECT_EQ(stringsOf(changed), stringsOf(modelAfterAdd));
    }
}

TEST_P(Reversible, CellChangesGoBackInReverse)
{
    std::uniform_int_distribution<int> row(0, original.entryCount() + 1);
    std::uniform_int_distribution<int> column(0, xom::ColumnCount);
    std::vector<xom::CellChange> changes;
    xom::EntryTable expected = original;
    for (int k = 0; k < 30; ++k) {
        // Some cells twice, some outside the table.
        const int gridRow = row(random);
        const int col = column(random);
        const QString after = testsupport::randomText(random, 8);
        const bool inside = gridRow >= 1 && gridRow <= expected.entryCount() && col < xom::ColumnCount;
        const QString before = inside ? expected.gridCell(gridRow, col) : QString();
        if (inside)
            expected.setCell(gridRow - 1, col, after);
        changes.push_back({gridRow, col, before, after});
    }
    changes.push_back(xom::markToggle(original, 1));
    if (original.entryCount() >= 1)
        expected.setCell(0, xom::MarkColumn, changes.back().after);
    xom::EntryTable table = original;
    xom::applyCellChanges(table, changes);
    EXPECT_EQ(table, expected);
    xom::revertCellChanges(table, changes);
    EXPECT_EQ(table, original);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Reversible, testing::Range(1, 15));

} // namespace
