#include "xom/NameIndex.h"
#include "xom/TranslationChecks.h"
#include "xom/TranslationReview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

namespace {

using xom::Check;
using xom::Checks;

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

struct CheckRow {
    const char* name;
    const char16_t* text;
    std::optional<const char16_t*> reference; // nothing: no reference entry
    Checks expected;
};

// Each kind of check, and beside it the texts that look like a failure but
// are none.
const CheckRow CheckRows[] = {
    {"NoReference", u"Hallo", std::nullopt, Check::MissingReference},
    {"NoReferenceEmptyText", u"", std::nullopt, Check::MissingReference},
    {"Translated", u"Hallo", u"Hello", {}},
    {"Untranslated", u"Hello", u"Hello", Check::Untranslated},
    {"BothEmptyIsNoFailure", u"", u"", {}},
    {"Empty", u"", u"Hello", Check::Empty},
    {"TextForEmptyReference", u"Hallo", u"", {}},

    {"PrintfSame", u"%d von %s", u"%s of %d", {}},
    {"PrintfDropped", u"Punkte", u"%d points", Check::PlaceholdersDiffer},
    {"PrintfKindChanged", u"%s Punkte", u"%d points", Check::PlaceholdersDiffer},
    {"PrintfTwiceOnceCounts", u"%d %d", u"%d", Check::PlaceholdersDiffer},
    {"PrintfFlagsWidthPrecisionLength", u"x %-08.3lf %lld %+5i %'d", u"%lld %'d %+5i y %-08.3lf", {}},
    {"PrintfPrecisionChanged", u"%.1f", u"%.2f", Check::PlaceholdersDiffer},
    {"PositionalSwapped", u"%2$s %1$s", u"%1$s %2$s", {}},
    {"PositionalLost", u"%1$s", u"%1$s %2$s", Check::PlaceholdersDiffer},
    {"HundredPercentIsText", u"100 Prozent", u"100%", {}},
    {"PercentBeforeSpaceIsText", u"50 Prozent Rabatt", u"50% off", {}},
    {"DoublePercentIsText", u"100 Prozent", u"100%%", {}},
    {"DoublePercentThenPlaceholder", u"%%%d", u"%d%%", {}},
    {"DoublePercentHidesTheD", u"%d", u"%%d", Check::PlaceholdersDiffer},
    {"NumberedSame", u"%2 und %1", u"%1 and %2", {}},
    {"NumberedChanged", u"%1 und %3", u"%1 and %2", Check::PlaceholdersDiffer},
    {"NumberedTakesOneDigit", u"%1 0", u"%10", {}},
    {"PercentZeroIsText", u"Null", u"%0", {}},
    {"BracedSame", u"{name} hat {0}", u"{0} has {name}", {}},
    {"BracedRenamed", u"{Name}", u"{name}", Check::PlaceholdersDiffer},
    {"BraceAloneIsText", u"a b", u"a { b", {}},
    {"EmptyBracesAreText", u"x", u"{}", {}},
    {"UnclosedBraceIsText", u"x", u"{name", {}},
    {"ControlCharacterKept", u"\x01rot\x02", u"\x01red\x02", {}},
    {"ControlCharacterDropped", u"rot", u"\x01red", Check::PlaceholdersDiffer},
    {"TabIsNoPlaceholder", u"a b", u"a\tb", {}},

    {"LineBreaksSame", u"eins\nzwei", u"one\r\ntwo", {}},
    {"LineBreakDropped", u"eins zwei", u"one\ntwo", Check::LineBreaksDiffer},
    {"LoneCrCounts", u"a\r\rb", u"a\n\nb", {}},

    {"LeadingSpaceDropped", u"Hallo", u" Hello", Check::WhitespaceDiffers},
    {"TrailingSpaceAdded", u"Hallo ", u"Hello", Check::WhitespaceDiffers},
    {"InnerSpacesFree", u"Hallo  du", u"Hi", {}},
    {"TrailingBreakDropped", u"Hallo", u"Hello\n", Check::LineBreaksDiffer | Check::WhitespaceDiffers},
    {"Several", u" %s", u"%d\n", Check::PlaceholdersDiffer | Check::LineBreaksDiffer | Check::WhitespaceDiffers},
};

class Checking : public testing::TestWithParam<CheckRow> { };

TEST_P(Checking, TextBesideReference)
{
    const CheckRow& row = GetParam();
    const std::optional<QString> reference
        = row.reference ? std::optional(QString::fromUtf16(*row.reference)) : std::nullopt;
    const QString text = QString::fromUtf16(row.text);

    EXPECT_EQ(
        xom::checkNames(xom::checkTranslation(text, reference ? std::optional<QStringView>(*reference) : std::nullopt)),
        xom::checkNames(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Kinds, Checking, testing::ValuesIn(CheckRows),
    [](const testing::TestParamInfo<CheckRow>& row) { return std::string(row.param.name); });

TEST(Placeholders, AreFoundAsWritten)
{
    EXPECT_EQ(xom::placeholdersOf(u"%s: 100% of %1$-3d {0}{x.y} %% %5 {} {\x1F"),
        (QStringList{s(u"%s"), s(u"%1$-3d"), s(u"{0}"), s(u"{x.y}"), s(u"%5"), s(u"\x1F")}));
    // A '%' at the very end reads nothing past it.
    EXPECT_TRUE(xom::placeholdersOf(u"%").isEmpty());
    EXPECT_TRUE(xom::placeholdersOf(u"%.").isEmpty());
    EXPECT_TRUE(xom::placeholdersOf(u"%1$").isEmpty());
}

xom::EntryTable tableOf(const std::vector<std::pair<QString, QString>>& nameTexts)
{
    xom::EntryTable table;
    int number = 0;
    for (const auto& [name, text] : nameTexts)
        table.append({{}, QString::number(++number), name, text});
    return table;
}

TEST(Review, MatchesTheFirstReferenceEntryOfAName)
{
    xom::TranslationReview review(tableOf({{s(u"B"), s(u"Bee")}, {s(u"A"), s(u"Ay")}, {s(u"B"), s(u"Second bee")}}));
    const xom::EntryTable working
        = tableOf({{s(u"A"), s(u"Ah")}, {s(u"B"), s(u"Bee")}, {s(u"C"), s(u"Sea")}, {s(u"b"), s(u"bee")}});
    review.recheckAll(working);

    ASSERT_EQ(review.rowCount(), 4);
    EXPECT_EQ(*review.referenceTextOfRow(0), s(u"Ay"));
    EXPECT_EQ(*review.referenceTextOfRow(1), s(u"Bee"));
    EXPECT_EQ(review.referenceTextOfRow(2), std::nullopt);
    EXPECT_EQ(review.referenceTextOfRow(3), std::nullopt); // names match exactly
    EXPECT_EQ(review.checksOfRow(1), Checks(Check::Untranslated));
    EXPECT_EQ(review.checksOfRow(2), Checks(Check::MissingReference));
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 2}));
    EXPECT_EQ(xom::totalsText(review.totals()), s(u"1 untranslated \u00B7 2 with warnings"));
}

TEST(NameIndex, FindsTheFirstRowOfEachNameAsAScanWould)
{
    // Many names, each several times, so that probes run into each other.
    xom::EntryTable reference;
    for (int row = 0; row < 6000; ++row)
        reference.append({{}, {}, QStringLiteral("FE.%1").arg(row * 7919 % 2003), {}});
    const xom::NameIndex index(reference);

    for (int name = -10; name < 2100; ++name) {
        const QString wanted = QStringLiteral("FE.%1").arg(name);
        int expected = -1;
        for (int row = 0; row < reference.entryCount() && expected < 0; ++row) {
            if (reference.name(row) == wanted)
                expected = row;
        }
        ASSERT_EQ(index.find(reference, wanted), expected) << name;
    }
    EXPECT_EQ(xom::NameIndex().find(reference, s(u"FE.1")), -1);
}

TEST(Review, OneRowRecheckedGivesTheFullPassTotals)
{
    xom::TranslationReview review(tableOf({{s(u"A"), s(u"%d apples")}, {s(u"B"), s(u"Pear")}}));
    xom::EntryTable working = tableOf({{s(u"A"), s(u"%d Äpfel")}, {s(u"B"), s(u"Pear")}});
    review.recheckAll(working);
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 0}));

    const auto edit = [&](int row, const QString& text) {
        working.setCell(row, xom::TextColumn, text);
        review.recheckRow(working, row);
        xom::TranslationReview fresh(review.reference());
        fresh.recheckAll(working);
        EXPECT_EQ(review.totals(), fresh.totals()) << text.toStdString();
    };
    edit(0, s(u"Äpfel"));
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 1}));
    edit(1, s(u"Birne"));
    EXPECT_EQ(review.totals(), (xom::CheckTotals{0, 1}));
    edit(0, s(u"%d apples"));
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 0}));

    working.append({{}, s(u"3"), s(u"New"), s(u"x")});
    review.recheckRow(working, 2);
    EXPECT_EQ(review.rowCount(), 3);
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 1}));
}

TEST(Review, NextFailingRowWrapsBothWays)
{
    xom::TranslationReview review(tableOf({{s(u"A"), s(u"a")}, {s(u"B"), s(u"b")}, {s(u"C"), s(u"c")}}));
    // Rows 1 and 3 fail (untranslated, missing reference).
    review.recheckAll(tableOf({{s(u"A"), s(u"x")}, {s(u"B"), s(u"b")}, {s(u"C"), s(u"y")}, {s(u"Z"), s(u"z")}}));

    EXPECT_EQ(review.nextFailingRow(0), 1);
    EXPECT_EQ(review.nextFailingRow(1), 3);
    EXPECT_EQ(review.nextFailingRow(3), 1);
    EXPECT_EQ(review.nextFailingRow(-1), 1);
    EXPECT_EQ(review.nextFailingRow(0, false), 3);
    EXPECT_EQ(review.nextFailingRow(1, false), 3);
    EXPECT_EQ(review.nextFailingRow(99, false), 3);

    review.recheckAll(tableOf({{s(u"A"), s(u"x")}}));
    EXPECT_EQ(review.nextFailingRow(0), std::nullopt);
}

} // namespace

namespace {

// Edits, renames, appends and drops in a table whose names repeat, each
// told to the review row by row, against a fresh review of the whole table.
TEST(Review, DuplicateNamesFollowEveryRowChangeAsAFullPassWould)
{
    xom::TranslationReview review(tableOf({{s(u"A"), s(u"a")}, {s(u"B"), s(u"b")}, {s(u"C"), s(u"%d")}}));
    xom::EntryTable working = tableOf({{s(u"A"), s(u"x")}, {s(u"B"), s(u"y")}, {s(u"C"), s(u"%d z")}});
    review.recheckAll(working);
    EXPECT_EQ(review.totals(), (xom::CheckTotals{0, 0}));

    const auto expectAsFresh = [&](const char* step) {
        xom::TranslationReview fresh(review.reference());
        fresh.recheckAll(working);
        ASSERT_EQ(review.rowCount(), fresh.rowCount()) << step;
        for (int row = 0; row < working.entryCount(); ++row)
            EXPECT_EQ(review.checksOfRow(row), fresh.checksOfRow(row)) << step << " row " << row;
        EXPECT_EQ(review.totals(), fresh.totals()) << step;
    };
    const auto rename = [&](int row, const char16_t* name) {
        working.setCell(row, xom::NameColumn, s(name));
        review.recheckRow(working, row);
    };

    // A twice: both rows fail, B has gone missing from the file; both now
    // have the reference "a", translated "x" and "y".
    rename(1, u"A");
    EXPECT_EQ(review.checksOfRow(0), Check::DuplicateName | Check::InconsistentTranslation);
    EXPECT_EQ(review.checksOfRow(1), Check::DuplicateName | Check::InconsistentTranslation);
    EXPECT_EQ(review.totals(), (xom::CheckTotals{0, 2}));
    EXPECT_EQ(
        xom::checkNames(review.checksOfRow(0)), (QStringList{s(u"duplicate name"), s(u"inconsistent translation")}));
    expectAsFresh("rename into a duplicate");

    working.setCell(0, xom::TextColumn, s(u"a")); // untranslated and a duplicate
    review.recheckRow(working, 0);
    EXPECT_EQ(review.checksOfRow(0), Checks(Check::Untranslated) | Check::DuplicateName);
    EXPECT_EQ(review.checksOfRow(1), Checks(Check::DuplicateName));
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 1}));
    expectAsFresh("untranslated duplicate");

    working.append({{}, s(u"4"), s(u"A"), s(u"w")});
    review.recheckRow(working, 3);
    expectAsFresh("append a third");
    EXPECT_EQ(review.totals(), (xom::CheckTotals{1, 2}));

    rename(0, u"New"); // a name the pool did not hold: missing reference
    expectAsFresh("rename to a new name");
    rename(3, u"C");
    expectAsFresh("rename into another duplicate");
    EXPECT_EQ(review.nextFailingRow(-1), 0);

    working.rows.pop_back();
    review.dropRowsFrom(3);
    expectAsFresh("drop the last row");
    EXPECT_EQ(review.totals(), (xom::CheckTotals{0, 1}));
    EXPECT_EQ(review.checksOfRow(1), Checks());
}

} // namespace

namespace {

// How a review is set up: the checks that count, and a text checker.
struct ReviewSetup {
    const char* name;
    xom::Checks enabled;
    xom::TranslationReview::TextChecker checker;
};

// Random edits, renames, appends and drops among few names and texts, so
// that sources and translations repeat: after each, every row's checks,
// the totals and the rows named beside a consistency check are those of a
// fresh review of the whole table, and those named are found by a plain
// comparison of every pair of rows. Once with every check, once with some
// turned off and a text checker that fails "Laden" and "%d Äpfel".
class ReviewAfterEveryChange : public testing::TestWithParam<ReviewSetup> { };

TEST_P(ReviewAfterEveryChange, IsAsAFullPassWould)
{
    const ReviewSetup& setup = GetParam();
    const auto setUp = [&](xom::TranslationReview& review) {
        review.setEnabledChecks(setup.enabled);
        review.setTextChecker(setup.checker);
    };
    const QStringList names{s(u"A"), s(u"B"), s(u"C"), s(u"D"), s(u"E"), s(u"Gone")};
    const QStringList texts{s(u""), s(u"Save"), s(u"Speichern"), s(u"Sichern"), s(u"Laden"), s(u"%d Äpfel")};
    // A and B share their reference text, so do C and D.
    xom::TranslationReview review(tableOf({{s(u"A"), s(u"Save")}, {s(u"B"), s(u"Save")}, {s(u"C"), s(u"Load")},
        {s(u"D"), s(u"Load")}, {s(u"E"), s(u"")}}));
    setUp(review);
    xom::EntryTable working;
    std::mt19937 random(5);
    const auto pick = [&](const QStringList& from) { return from[static_cast<qsizetype>(random() % from.size())]; };
    review.recheckAll(working);

    // Whether a row is translated: a reference text and a text of its own.
    const auto translated = [&](int row) {
        const std::optional<QStringView> reference = review.referenceTextOfRow(row);
        const QStringView text = working.text(row);
        return reference && !reference->isEmpty() && !text.isEmpty() && text != *reference;
    };
    const auto expectAsFresh = [&](int step) {
        xom::TranslationReview fresh(review.reference());
        setUp(fresh);
        fresh.recheckAll(working);
        ASSERT_EQ(review.rowCount(), fresh.rowCount()) << step;
        for (int row = 0; row < working.entryCount(); ++row) {
            EXPECT_EQ(review.checksOfRow(row), fresh.checksOfRow(row)) << step << " row " << row;
            EXPECT_EQ(review.textChecksOfRow(row), fresh.textChecksOfRow(row)) << step << " row " << row;
            EXPECT_EQ(review.rowFails(row), fresh.checksOfRow(row) || fresh.textChecksOfRow(row) != 0);
            EXPECT_EQ(review.checksOfRow(row) & ~setup.enabled, xom::Checks()) << step << " row " << row;
            std::vector<int> otherwise;
            std::vector<int> reusing;
            for (int other = 0; other < working.entryCount(); ++other) {
                if (other == row || !translated(row) || !translated(other))
                    continue;
                const bool sameSource = *review.referenceTextOfRow(row) == *review.referenceTextOfRow(other);
                const bool sameText = working.text(row) == working.text(other);
                if (sameSource && !sameText)
                    otherwise.push_back(other);
                if (!sameSource && sameText)
                    reusing.push_back(other);
            }
            EXPECT_EQ(review.rowsTranslatedOtherwise(row, 100), otherwise) << step << " row " << row;
            EXPECT_EQ(review.rowsReusingTranslation(row, 100), reusing) << step << " row " << row;
            EXPECT_EQ(review.checksOfRow(row).testFlag(Check::InconsistentTranslation),
                setup.enabled.testFlag(Check::InconsistentTranslation) && !otherwise.empty());
            EXPECT_EQ(review.checksOfRow(row).testFlag(Check::ReusedTranslation),
                setup.enabled.testFlag(Check::ReusedTranslation) && !reusing.empty());
        }
        EXPECT_EQ(review.totals(), fresh.totals()) << step;
        // The totals count the rows as their checks say.
        xom::CheckTotals counted;
        for (int row = 0; row < working.entryCount(); ++row) {
            const bool untranslated = review.checksOfRow(row).testFlag(Check::Untranslated);
            counted.untranslated += untranslated ? 1 : 0;
            counted.withWarnings += !untranslated && review.rowFails(row) ? 1 : 0;
        }
        EXPECT_EQ(review.totals(), counted) << step;
    };
    for (int step = 0; step < 400; ++step) {
        const int rows = working.entryCount();
        const auto roll = random() % 10;
        if (rows < 3 || roll < 2) {
            working.append({{}, QString::number(rows + 1), pick(names), pick(texts)});
            review.recheckRow(working, rows);
        } else if (roll < 3) {
            const int keep = static_cast<int>(random() % static_cast<unsigned>(rows));
            working.rows.resize(static_cast<std::size_t>(keep));
            review.dropRowsFrom(keep);
        } else {
            const int row = static_cast<int>(random() % static_cast<unsigned>(rows));
            if (roll < 5)
                working.setCell(row, xom::NameColumn, pick(names));
            else
                working.setCell(row, xom::TextColumn, pick(texts));
            review.recheckRow(working, row);
        }
        expectAsFresh(step);
        if (HasFailure())
            return;
    }
}

std::uint32_t failsLadenAndApples(const QStringView, const QStringView text)
{
    return (text == u"Laden" ? 1U : 0U) | (text.contains(u"Äpfel") ? 2U : 0U);
}

INSTANTIATE_TEST_SUITE_P(Review, ReviewAfterEveryChange,
    testing::Values(ReviewSetup{"EveryCheck", ~xom::Checks(), {}},
        ReviewSetup{"SomeOffAndATextChecker",
            ~(Check::DuplicateName | Check::InconsistentTranslation | Check::WhitespaceDiffers), failsLadenAndApples}),
    [](const testing::TestParamInfo<ReviewSetup>& param) { return std::string(param.param.name); });

} // namespace

namespace {

// The other entries named beside a consistency check, by number, three at
// most and the rest counted.
TEST(Review, ConsistencyChecksNameTheOtherEntries)
{
    xom::TranslationReview review(
        tableOf({{s(u"Save1"), s(u"Save")}, {s(u"Save2"), s(u"Save")}, {s(u"Store"), s(u"Store")},
            {s(u"Keep"), s(u"Keep")}, {s(u"Hold"), s(u"Hold")}, {s(u"Put"), s(u"Put")}, {s(u"Quit"), s(u"Quit")}}));
    const xom::EntryTable working = tableOf({{s(u"Save1"), s(u"Speichern")}, {s(u"Save2"), s(u"Sichern")},
        {s(u"Store"), s(u"Sichern")}, {s(u"Keep"), s(u"Sichern")}, {s(u"Hold"), s(u"Sichern")},
        {s(u"Put"), s(u"Sichern")}, {s(u"Quit"), s(u"Beenden")}});
    review.recheckAll(working);
    // The entries named beside InconsistentTranslation and ReusedTranslation.
    const std::vector<std::pair<QString, QString>> expected{
        {s(u"#2"), {}},
        {s(u"#1"), s(u"#3, #4, #5 and 1 more")},
        {{}, s(u"#2, #4, #5 and 1 more")},
        {{}, s(u"#2, #3, #5 and 1 more")},
        {{}, s(u"#2, #3, #4 and 1 more")},
        {{}, s(u"#2, #3, #4 and 1 more")},
        {{}, {}},
    };
    for (int row = 0; row < working.entryCount(); ++row) {
        const auto& [otherwise, reusing] = expected[static_cast<std::size_t>(row)];
        EXPECT_EQ(xom::otherEntriesOf(review, working, row, Check::InconsistentTranslation), otherwise) << row;
        EXPECT_EQ(xom::otherEntriesOf(review, working, row, Check::ReusedTranslation), reusing) << row;
        EXPECT_EQ(review.checksOfRow(row).testFlag(Check::InconsistentTranslation), !otherwise.isEmpty()) << row;
        EXPECT_EQ(review.checksOfRow(row).testFlag(Check::ReusedTranslation), !reusing.isEmpty()) << row;
    }
    EXPECT_EQ(xom::otherEntriesOf(review, working, 0, Check::DuplicateName), QString());
    EXPECT_EQ(review.totals(), (xom::CheckTotals{0, 6}));
}

} // namespace
