#include "xom/EntryLookup.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

xom::EntryTable lookupTable()
{
    xom::EntryTable table;
    // Numbers in grid order 3, 1, 2, 12, then a number cell that is text.
    table.append({{}, QStringLiteral("3"), QStringLiteral("FE.Menu.Start"), QStringLiteral("Start")});
    table.append({{}, QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("a name of digits")});
    table.append({{}, QStringLiteral("2"), QStringLiteral("FE.Menu.Quit"), QStringLiteral("Quit")});
    table.append({{}, QStringLiteral("12"), QStringLiteral("fe.menu.start"), QStringLiteral("start")});
    table.append({{}, QStringLiteral("07"), QStringLiteral("FE.Menu.Start"), QStringLiteral("again")});
    return table;
}

struct LookupRow {
    const char* why;
    const char16_t* query;
    std::optional<int> gridRow;
};

const LookupRow LookupRows[] = {
    {"a number", u"2", 3},
    {"a number with a hash and spaces", u"  # 3 ", 1},
    {"a number before a name of the same digits", u"12", 4},
    {"a number no entry has, then the name", u"1", 2},
    {"a name, the first of it in grid order", u"FE.Menu.Start", 1},
    {"a name with spaces around", u" FE.Menu.Quit ", 3},
    {"a name in another case", u"FE.MENU.QUIT", 3},
    {"an exact name before one in another case", u"fe.menu.start", 4},
    {"a number cell that is not plain decimal is no number", u"7", std::nullopt},
    {"nothing of that name", u"FE.Menu.Options", std::nullopt},
    {"an empty query", u"  ", std::nullopt},
};

class GoingToAnEntry : public testing::TestWithParam<LookupRow> { };

TEST_P(GoingToAnEntry, FindsTheRowANumberOrANameNames)
{
    const LookupRow& row = GetParam();
    EXPECT_EQ(xom::findEntryRow(lookupTable(), QString::fromUtf16(row.query)), row.gridRow) << row.why;
}

INSTANTIATE_TEST_SUITE_P(Queries, GoingToAnEntry, testing::ValuesIn(LookupRows));

TEST(OtherRowNamed, SkipsTheRowBeingRenamed)
{
    const xom::EntryTable table = lookupTable();
    EXPECT_EQ(xom::otherRowNamed(table, QStringLiteral("FE.Menu.Start")), 1);
    EXPECT_EQ(xom::otherRowNamed(table, QStringLiteral("FE.Menu.Start"), 1), 5);
    EXPECT_EQ(xom::otherRowNamed(table, QStringLiteral("FE.Menu.Quit"), 3), std::nullopt);
    // Names are compared exactly: another case is another name.
    EXPECT_EQ(xom::otherRowNamed(table, QStringLiteral("FE.MENU.QUIT")), std::nullopt);
}

} // namespace
