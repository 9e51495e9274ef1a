#include "xom/LanguageFileWriter.h"
#include "xom/TableSearch.h"

#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>

namespace {

using xom::LookIn;
using xom::NameColumn;
using xom::TextColumn;

xom::EntryTable tableOf(const std::vector<std::pair<const char16_t*, const char16_t*>>& rows)
{
    xom::EntryTable table;
    int number = 1;
    for (const auto& [name, text] : rows)
        table.append(
            xom::Entry{QString(), QString::number(number++), QString::fromUtf16(name), QString::fromUtf16(text)});
    return table;
}

// Matches as "row:N|T:start".
QString describe(const xom::CellMatch& match)
{
    return QStringLiteral("%1:%2:%3")
        .arg(match.gridRow)
        .arg(QChar(match.column == NameColumn ? u'N' : u'T'))
        .arg(match.start);
}

const xom::EntryTable& sampleTable()
{
    static const xom::EntryTable table = tableOf({
        {u"FE.Continue", u"Continue"},
        {u"FE.Quit", u"Quit without saving?"},
        {u"FE.Load", u"Continue or continue\r\nlater"},
        {u"FE.Save", u"Saved"},
    });
    return table;
}

TEST(TableSearch, FindNextAndPreviousVisitEveryMatchInGridOrderAndWrap)
{
    const struct {
        LookIn lookIn;
        QStringList expected;
    } rows[] = {
        {LookIn::Texts, {"1:T:0", "3:T:0", "3:T:12"}},
        {LookIn::Names, {"1:N:3"}},
        {LookIn::Both, {"1:N:3", "1:T:0", "3:T:0", "3:T:12"}},
    };
    for (const auto& row : rows) {
        const xom::TableSearch search({QStringLiteral("continue"), text::MatchMode::Contains, false}, row.lookIn);
        const xom::EntryTable& table = sampleTable();

        // From the header, Find Next goes round once and starts over.
        QStringList forward;
        std::optional<xom::CellMatch> found = search.findNext(table, {0, NameColumn, 0});
        for (qsizetype i = 0; found && i <= row.expected.size(); ++i) {
            forward << describe(*found);
            found = search.findAfter(table, *found);
        }
        QStringList wanted = row.expected;
        wanted << row.expected.front();
        EXPECT_EQ(forward, wanted);

        // Find Previous from the start of the first cell meets them backwards.
        QStringList backward;
        found = search.findPrevious(table, {1, NameColumn, 0});
        for (qsizetype i = 0; found && i < row.expected.size(); ++i) {
            backward << describe(*found);
            found = search.findPrevious(table, {found->gridRow, found->column, found->start});
        }
        QStringList reversed(row.expected.rbegin(), row.expected.rend());
        EXPECT_EQ(backward, reversed);
    }
    // A start in a cell the search does not look at begins at the next one.
    const xom::TableSearch texts({QStringLiteral("saved"), text::MatchMode::StartsWith, false}, LookIn::Texts);
    EXPECT_EQ(describe(*texts.findNext(sampleTable(), {2, xom::NumberColumn, 99})), QStringLiteral("4:T:0"));
    EXPECT_EQ(describe(*texts.findPrevious(sampleTable(), {4, xom::MarkColumn, 0})), QStringLiteral("4:T:0"));
    EXPECT_FALSE(texts.findNext(xom::EntryTable(), {1, TextColumn, 0}));
}

TEST(TableSearch, ReplaceOneMatchThenResumeAfterIt)
{
    const xom::TableSearch search({QStringLiteral("continue"), text::MatchMode::Contains, false}, LookIn::Texts);
    xom::EntryTable table = sampleTable();
    const std::optional<xom::CellMatch> second = search.findAfter(table, *search.findNext(table, {1, TextColumn, 0}));
    ASSERT_TRUE(second);

    const std::optional<xom::SingleReplacement> replaced = search.replaceMatch(table, *second, QStringLiteral("Go"));
    ASSERT_TRUE(replaced);
    xom::applyCellChanges(table, {replaced->change});
    EXPECT_EQ(table.text(2), QStringLiteral("Go or continue\r\nlater"));
    EXPECT_EQ(describe(*search.findNext(table, replaced->resume)), QStringLiteral("3:T:6"));

    // The match is no longer there: nothing is replaced.
    EXPECT_FALSE(search.replaceMatch(table, *second, QStringLiteral("Go")));
}

// Replace All over a random grid: the count agrees with the count of
// matches before, the changes touch only the cells looked in, and taking
// them back gives the same table and so the same saved bytes.
TEST(TableSearch, ReplaceAllCountsAndIsTakenBackExactly)
{
    std::mt19937 random(13);
    testsupport::TextMix mix;
    mix.controlCodes = true;
    mix.loneSurrogates = true;
    const xom::EntryTable original = testsupport::randomEntries(random, 400, mix);
    xom::LanguageModel model = testsupport::modelForEntries(original);
    const QByteArray originalBytes = xom::buildLanguageImage(original, model);

    for (const LookIn lookIn : {LookIn::Texts, LookIn::Names, LookIn::Both}) {
        for (const auto& options : {text::MatchOptions{QStringLiteral("a"), text::MatchMode::Contains, false},
                 text::MatchOptions{QStringLiteral("[aeiou]+(.)"), text::MatchMode::RegularExpression, true}}) {
            const xom::TableSearch search(options, lookIn);
            const xom::MatchTally before = search.countMatches(original);
            const xom::ReplaceAllResult result = search.replaceAll(original, QStringLiteral("<\\1>"));
            EXPECT_GT(before.matches, before.entries);
            EXPECT_EQ(result.tally, before);

            xom::EntryTable table = original;
            xom::applyCellChanges(table, result.changes);
            for (const xom::CellChange& change : result.changes) {
                EXPECT_TRUE(lookIn == LookIn::Both || (change.column == NameColumn) == (lookIn == LookIn::Names));
                EXPECT_EQ(change.before, original.gridCell(change.gridRow, change.column));
            }
            if (options.mode == text::MatchMode::Contains) {
                EXPECT_EQ(search.countMatches(table).matches, 0);
            }
            xom::revertCellChanges(table, result.changes);
            EXPECT_EQ(table, original);
            EXPECT_EQ(xom::buildLanguageImage(table, model), originalBytes);
        }
    }
}

TEST(TableSearch, DescribesCounts)
{
    EXPECT_EQ(xom::describeReplacements({412, 398}), QStringLiteral("412 replacements in 398 entries"));
    EXPECT_EQ(xom::describeReplacements({1, 1}), QStringLiteral("1 replacement in 1 entry"));
    EXPECT_EQ(xom::describeMatches({0, 0}), QStringLiteral("0 matches in 0 entries"));
    EXPECT_EQ(xom::describeMatches({3, 1}), QStringLiteral("3 matches in 1 entry"));
}

} // namespace
