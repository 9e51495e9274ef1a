#include "LiteralProcedures.h"

#include "xom/EntryOperations.h"

#include "support/MarksAndMoveDown.h"
#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>

namespace {

// A table from "mark|name|text" rows, numbered 1, 2, ... in order.
xom::EntryTable tableOf(const std::vector<const char16_t*>& rows)
{
    xom::EntryTable table;
    int number = 1;
    for (const char16_t* row : rows) {
        const QStringList cells = QString::fromUtf16(row).split(u'|');
        table.append(xom::Entry{cells.value(0), QString::number(number++), cells.value(1), cells.value(2)});
    }
    return table;
}

// The rows as "mark|number|name".
QStringList describe(const xom::EntryTable& table)
{
    QStringList out;
    for (const xom::Entry& e : table.entries())
        out << e.mark + u'|' + e.number + u'|' + e.name;
    return out;
}

TEST(Marks, ToggleWritesXOrClearsAnyContent)
{
    xom::EntryTable table = tableOf({u"|a|", u"x|b|", u"X|c|", u"any|d|"});
    for (int row = 1; row <= 4; ++row)
        testsupport::toggleMark(table, row);
    testsupport::toggleMark(table, 0);
    testsupport::toggleMark(table, 5);
    testsupport::toggleMark(table, -1);
    EXPECT_EQ(describe(table), (QStringList{"x|1|a", "|2|b", "|3|c", "|4|d"}));
}

struct MoveDownCase {
    const char* what;
    std::vector<const char16_t*> before;
    QStringList after;
};

class MoveDown : public testing::TestWithParam<MoveDownCase> { };

TEST_P(MoveDown, MarkedRowsGoToTheBottomUnmarked)
{
    xom::EntryTable table = tableOf(GetParam().before);
    testsupport::moveMarkedRowsDown(table);
    EXPECT_EQ(describe(table), GetParam().after) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(MoveDown, MoveDown,
    testing::Values(MoveDownCase{"two marks", {u"x|A|", u"|B|", u"x|C|", u"|D|"}, {"|2|B", "|4|D", "|1|A", "|3|C"}},
        MoveDownCase{"marks already at the bottom", {u"|A|", u"x|B|", u"x|C|"}, {"|1|A", "|2|B", "|3|C"}},
        MoveDownCase{"only x is a mark", {u"X|A|", u"x |B|", u"x|C|", u"|D|"}, {"X|1|A", "x |2|B", "|4|D", "|3|C"}},
        MoveDownCase{"no marks", {u"|A|", u"|B|"}, {"|1|A", "|2|B"}}, MoveDownCase{"no entries", {}, {}},
        MoveDownCase{"every row marked", {u"x|A|", u"x|B|", u"x|C|"}, {"|1|A", "|2|B", "|3|C"}},
        MoveDownCase{"first and last marked", {u"x|A|", u"|B|", u"|C|", u"x|D|"}, {"|2|B", "|3|C", "|1|A", "|4|D"}},
        MoveDownCase{"runs of marks", {u"|A|", u"x|B|", u"x|C|", u"|D|", u"|E|", u"x|F|", u"|G|"},
            {"|1|A", "|4|D", "|5|E", "|7|G", "|2|B", "|3|C", "|6|F"}},
        MoveDownCase{"one row, marked", {u"x|A|"}, {"|1|A"}},
        MoveDownCase{"marks but no x", {u"X|A|", u"|B|"}, {"X|1|A", "|2|B"}}));

TEST(MoveDown, MoveRowToEndMovesOneRowAndClearsItsMark)
{
    xom::EntryTable table = tableOf({u"x|A|", u"x|B|", u"|C|"});
    testsupport::MoveRowToEnd(table, 1);
    EXPECT_EQ(describe(table), (QStringList{"x|2|B", "|3|C", "|1|A"}));
    testsupport::MoveRowToEnd(table, 3);
    testsupport::MoveRowToEnd(table, 0);
    testsupport::MoveRowToEnd(table, 4);
    EXPECT_EQ(describe(table), (QStringList{"x|2|B", "|3|C", "|1|A"}));
}

TEST(Sort, EqualNamesKeepTheirOrder)
{
    xom::EntryTable table = tableOf({u"x|b|", u"|A|", u"|a|", u"|B|"});
    std::vector<int> positions;
    xom::sortEntriesByName(table, [&](const int p) { positions.push_back(p); });
    EXPECT_EQ(describe(table), (QStringList{"|2|A", "|3|a", "x|1|b", "|4|B"}));
    // R = 5: k = 2, 3, 4 over R + 2 = 7.
    EXPECT_EQ(positions, (std::vector<int>{29, 43, 57}));
}

TEST(Sort, OneEntryOrNoneMovesNothing)
{
    for (const std::vector<const char16_t*>& rows :
        {std::vector<const char16_t*>{}, std::vector<const char16_t*>{u"|z|"}}) {
        xom::EntryTable table = tableOf(rows);
        const xom::EntryTable before = table;
        std::vector<int> positions;
        xom::sortEntriesByName(table, [&](const int p) { positions.push_back(p); });
        EXPECT_EQ(table, before);
        EXPECT_TRUE(positions.empty());
    }
}

TEST(Sort, ProgressHalvesGoToEven)
{
    // R = 6: 2/8, 3/8, 4/8, 5/8 of 100 are 25, 37.5, 50, 62.5.
    EXPECT_EQ(xom::sortProgressPosition(3, 6), 38);
    EXPECT_EQ(xom::sortProgressPosition(5, 6), 62);
    EXPECT_EQ(xom::sortProgressPosition(2, 6), 25);
}

TEST(Search, FirstTextThatBeginsWithTheSearch)
{
    const xom::EntryTable table = tableOf({u"|n1|Hello", u"|n2|help", u"|n3|World"});
    EXPECT_EQ(xom::searchRowForPrefix(table, u"HEL"), 1);
    EXPECT_EQ(xom::searchRowForPrefix(table, u"help"), 2);
    // The last entry takes part.
    EXPECT_EQ(xom::searchRowForPrefix(table, u"wor"), 3);
    EXPECT_EQ(xom::searchRowForPrefix(table, u"nothing"), 1);
    EXPECT_EQ(xom::searchRowForPrefix(table, u""), 1);
    EXPECT_EQ(xom::searchRowForPrefix(xom::EntryTable{}, u"x"), std::nullopt);
}

TEST(Search, TextsOutsideTheCodePageAreNotQuestionMarks)
{
    const xom::EntryTable table = tableOf({u"|a|\u65E5\u672C", u"|b|\u0416\u0423\u041A", u"|c|Stra\u00DFe"});
    EXPECT_EQ(xom::searchRowForPrefix(table, u"\u0436\u0443"), 2);
    EXPECT_EQ(xom::searchRowForPrefix(table, u"\u4E2D"), 1);
    // Simple case folding: ß is one letter, so "STRASS" begins no text.
    EXPECT_EQ(xom::searchRowForPrefix(table, u"STRASS"), 1);
    EXPECT_EQ(xom::searchRowForPrefix(table, u"STRA\u1E9E"), 3);
}

TEST(Search, AgainStepsRoundFromTheCurrentRow)
{
    const xom::EntryTable table = tableOf({u"|a|Help", u"|b|World", u"|c|help me", u"|d|HELP!"});
    const struct {
        const char16_t* search;
        int current;
        bool backwards;
        std::optional<int> found;
    } rows[] = {
        {u"help", 1, false, 3},
        {u"help", 3, false, 4},
        {u"help", 4, false, 1}, // round past the last row
        {u"help", 0, false, 1}, // from the header: the first row on
        {u"help", 1, true, 4},  // round past the first row
        {u"help", 4, true, 3},
        {u"help", 0, true, 4},
        {u"wor", 2, false, 2}, // the only match is the current row
        {u"wor", 2, true, 2},
        {u"nothing", 2, false, std::nullopt},
        {u"", 2, false, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(xom::searchRowForPrefixAgain(table, row.search, row.current, row.backwards), row.found)
            << QString::fromUtf16(row.search).toStdString() << " from " << row.current;
    EXPECT_EQ(xom::searchRowForPrefixAgain(xom::EntryTable{}, u"x", 1, false), std::nullopt);
}

TEST(Add, AppendsANumberedRowAndItsStrings)
{
    xom::EntryTable table = tableOf({u"x|a|A", u"|b|B"});
    xom::LanguageModel model = testsupport::modelForEntries(table);
    const xom::StringListSummary strings = model.StringList;
    EXPECT_EQ(xom::addEntry(table, model, QStringLiteral("FE.NewString"), QStringLiteral("NewString")), 3);
    EXPECT_EQ(model.StringList.lastButOne, QStringLiteral("FE.NewString"));
    EXPECT_EQ(model.StringList.last, QStringLiteral("NewString"));
    EXPECT_EQ(xom::addEntry(table, model, QString(), QString()), 4);
    EXPECT_EQ(describe(table), (QStringList{"x|1|a", "|2|b", "|3|FE.NewString", "|4|"}));
    EXPECT_EQ(table.text(2), QStringLiteral("NewString"));
    EXPECT_EQ(model.TypeTable[2].instanceCount, 4);
    ASSERT_EQ(model.StringList.count, strings.count + 4);
    EXPECT_EQ(model.StringList.second, strings.second);
    EXPECT_EQ(model.StringList.lastButOne, QString());
    EXPECT_EQ(model.StringList.last, QString());
}

TEST(Add, WithoutAStringResourceTypeNoCountChanges)
{
    xom::EntryTable table;
    xom::LanguageModel model = testsupport::modelForEntries(table);
    model.StringResourceType = -1;
    const auto types = model.TypeTable;
    EXPECT_EQ(xom::addEntry(table, model, QStringLiteral("n"), QStringLiteral("t")), 1);
    EXPECT_EQ(model.TypeTable, types);
    EXPECT_EQ(table.entryCount(), 1);
}

TEST(CrossCheck, SortAndMoveDownGiveTheRowCopyProceduresOrder)
{
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        const int count = std::uniform_int_distribution<int>(0, 60)(random);
        xom::EntryTable table = testsupport::randomEntries(random, count);
        // Names from a small pool, so that many compare equal: case
        // variants, accents and characters outside the code page.
        static const QStringList pool{"a", "A", "b", "B", "ab", "Ab", QString::fromUtf16(u"\u00E9"), "e", "E",
            QString::fromUtf16(u"\u0416"), QString::fromUtf16(u"\u0436"), QString::fromUtf16(u"\u65E5"), "?", "", "zz",
            QString::fromUtf16(u"\u0100x"), "Ax", "ax", "a-b", "ab-"};
        for (int row = 0; row < table.entryCount(); ++row)
            table.setCell(row, xom::NameColumn,
                pool[std::uniform_int_distribution<int>(0, static_cast<int>(pool.size()) - 1)(random)]);

        literal::Grid grid = literal::gridOf(table);
        std::vector<int> literalPositions;
        literal::sortByName(grid, literalPositions);
        xom::EntryTable sorted = table;
        std::vector<int> positions;
        xom::sortEntriesByName(sorted, [&](const int p) { positions.push_back(p); });
        ASSERT_EQ(sorted, literal::tableOf(grid)) << "round " << round;
        EXPECT_EQ(positions, literalPositions);

        literal::Grid moved = literal::gridOf(table);
        literal::moveDown(moved);
        xom::EntryTable fastMoved = table;
        testsupport::moveMarkedRowsDown(fastMoved);
        ASSERT_EQ(fastMoved, literal::tableOf(moved)) << "round " << round;
    }
}

} // namespace
