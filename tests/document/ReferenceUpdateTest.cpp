// A translation carried to a new version of its reference, entry by entry,
// as one step that undo takes back whole; and the grid's filters by state,
// against the states and checks they stand for.

#include "document/Document.h"
#include "document/RowFilter.h"

#include "xom/LanguageFileReader.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using document::Document;
using document::UpdateOutcome;
using review::State;

xom::LoadedFile fileOf(const std::vector<std::pair<QString, QString>>& nameTexts)
{
    xom::LoadResult loaded = xom::loadLanguageFile(testsupport::simpleFile(nameTexts).bytes());
    return std::get<xom::LoadedFile>(std::move(loaded));
}

// One entry of version 1 → version 2 of a game's English file, and of the
// German translation made from version 1.
struct UpdateCase {
    const char* name;
    std::optional<QString> sourceV1; // nothing: not in version 1
    std::optional<QString> sourceV2; // nothing: version 2 dropped it
    std::optional<QString> german;   // nothing: not in the translation
    review::EntryReview reviewBefore;
    UpdateOutcome outcome;
    UpdateOutcome outcomeWithoutOldReference;
    QString germanAfter;
    review::EntryReview reviewAfter;
};

const std::vector<UpdateCase>& updateCases()
{
    static const std::vector<UpdateCase> cases{
        {"FE.Same", u"Start"_s, u"Start"_s, u"Starten"_s, {}, UpdateOutcome::Unchanged, UpdateOutcome::NoEarlierSource,
            u"Starten"_s, {}},
        {"FE.SnapshotSaysChanged", u"Options"_s, u"Settings"_s, u"Optionen"_s,
            {State::Approved, u"checked by Eva"_s, u"Options"_s}, UpdateOutcome::SourceChanged,
            UpdateOutcome::SourceChanged, u"Optionen"_s, {State::NeedsReview, u"checked by Eva"_s, u"Options"_s}},
        {"FE.OldReferenceSaysChanged", u"Quit"_s, u"Quit game"_s, u"Beenden"_s, {State::Translated, {}, {}},
            UpdateOutcome::SourceChanged, UpdateOutcome::NoEarlierSource, u"Beenden"_s,
            {State::NeedsReview, {}, u"Quit"_s}},
        // The snapshot is what the translator accepted; the old reference
        // only stands in where there is none.
        {"FE.SnapshotBeatsOldReference", u"Load"_s, u"Load"_s, u"Laden"_s, {State::Translated, {}, u"Load game"_s},
            UpdateOutcome::SourceChanged, UpdateOutcome::SourceChanged, u"Laden"_s,
            {State::NeedsReview, {}, u"Load game"_s}},
        {"FE.StillEnglish", u"Help"_s, u"Help & tips"_s, u"Help"_s, {}, UpdateOutcome::UntranslatedFollowed,
            UpdateOutcome::NoEarlierSource, u"Help & tips"_s, {}},
        {"FE.Dropped", u"Old mode"_s, std::nullopt, u"Alter Modus"_s, {State::Approved, {}, u"Old mode"_s},
            UpdateOutcome::Removed, UpdateOutcome::Removed, u"Alter Modus"_s, {State::Approved, {}, u"Old mode"_s}},
        {"FE.New", std::nullopt, u"Credits\r\nand thanks"_s, std::nullopt, {}, UpdateOutcome::Added,
            UpdateOutcome::Added, u"Credits\r\nand thanks"_s, {}},
    };
    return cases;
}

std::vector<std::pair<QString, QString>> versionOf(const std::optional<QString> UpdateCase::*text)
{
    std::vector<std::pair<QString, QString>> entries;
    for (const UpdateCase& entry : updateCases()) {
        if (entry.*text)
            entries.emplace_back(QString::fromLatin1(entry.name), *(entry.*text));
    }
    return entries;
}

// The German translation with its reviews, open in document.
void openGerman(Document& document)
{
    document.open(fileOf(versionOf(&UpdateCase::german)), u"lang_de.xom"_s);
    int gridRow = 0;
    for (const UpdateCase& entry : updateCases()) {
        if (!entry.german)
            continue;
        ++gridRow;
        if (entry.reviewBefore.keepsAnything())
            document.setEntryReviews({{gridRow, {}, entry.reviewBefore}}, u"Review"_s);
    }
}

TEST(ReferenceUpdate, EveryEntryOfVersionTwoGetsItsOutcome)
{
    for (const bool withOldReference : {true, false}) {
        SCOPED_TRACE(withOldReference ? "with the old reference" : "snapshots only");
        Document document;
        openGerman(document);
        const QStringList cellsBefore = [&] {
            QStringList cells;
            for (int row = 0; row < document.entries().entryCount(); ++row)
                cells << document.entries().text(row).toString();
            return cells;
        }();
        const xom::LoadedFile v1 = fileOf(versionOf(&UpdateCase::sourceV1));
        const document::UpdateResult result
            = document.updateToReference(fileOf(versionOf(&UpdateCase::sourceV2)).entries, u"lang_en.xom"_s,
                withOldReference ? &v1.entries : nullptr);

        ASSERT_EQ(result.entries.size(), updateCases().size());
        for (const UpdateCase& entry : updateCases()) {
            SCOPED_TRACE(entry.name);
            const auto found = std::find_if(
                result.entries.begin(), result.entries.end(), [&](const document::UpdatedEntry& updated) {
                    return document.entries().gridCell(updated.gridRow, xom::NameColumn) == QLatin1String(entry.name);
                });
            ASSERT_NE(found, result.entries.end());
            EXPECT_EQ(found->outcome, withOldReference ? entry.outcome : entry.outcomeWithoutOldReference);
            const int gridRow = found->gridRow - 1;
            EXPECT_EQ(document.entries().text(gridRow).toString(),
                withOldReference || entry.outcome != UpdateOutcome::UntranslatedFollowed ? entry.germanAfter
                                                                                         : *entry.german);
            if (withOldReference) {
                EXPECT_EQ(document.entryReview(gridRow + 1), entry.reviewAfter);
            }
        }
        // The new reference is the one open: what changed shows as changed.
        EXPECT_EQ(document.referencePath(), u"lang_en.xom"_s);
        EXPECT_TRUE(document.sourceChanged(2));

        // One step, and undo takes it back whole.
        EXPECT_EQ(document.history().undoText(), u"Update from New Reference"_s);
        document.undo();
        ASSERT_EQ(document.entries().entryCount(), cellsBefore.size());
        int gridRow = 0;
        for (const UpdateCase& entry : updateCases()) {
            if (!entry.german)
                continue;
            EXPECT_EQ(document.entries().text(gridRow).toString(), cellsBefore[gridRow]);
            EXPECT_EQ(document.entryReview(++gridRow), entry.reviewBefore) << entry.name;
        }
        document.redo();
        EXPECT_EQ(document.entries().entryCount(), cellsBefore.size() + 1);
        EXPECT_EQ(document.entryReview(2).state, State::NeedsReview);
    }
}

TEST(ReferenceUpdate, TheSameReferenceAgainChangesNothing)
{
    Document document;
    openGerman(document);
    const xom::LoadedFile v2 = fileOf(versionOf(&UpdateCase::sourceV2));
    document.updateToReference(v2.entries, u"lang_en.xom"_s);
    const int steps = document.history().count();
    const document::UpdateResult again = document.updateToReference(v2.entries, u"lang_en.xom"_s);
    EXPECT_EQ(document.history().count(), steps);
    EXPECT_EQ(again.summary.count(UpdateOutcome::Added), 0);
    EXPECT_EQ(again.summary.count(UpdateOutcome::UntranslatedFollowed), 0);
    EXPECT_EQ(document::updateSummaryLine(again.summary).contains(u"added"_s), false);
}

TEST(ReferenceUpdate, TheSummaryAndTheReportNameEachOutcome)
{
    Document document;
    openGerman(document);
    const xom::LoadedFile v1 = fileOf(versionOf(&UpdateCase::sourceV1));
    const document::UpdateResult result
        = document.updateToReference(fileOf(versionOf(&UpdateCase::sourceV2)).entries, u"en.xom"_s, &v1.entries);
    EXPECT_EQ(document::updateSummaryLine(result.summary),
        u"1 added, 3 source changed (now needing review), 1 untranslated following the new source, 1 unchanged, "
        "1 no longer in the reference (kept)"_s);
    const QByteArray report = document::updateReport(result, document.entries());
    EXPECT_TRUE(report.startsWith("number\tname\toutcome\n"));
    EXPECT_TRUE(report.contains("\tFE.Dropped\tno longer in the reference\n"));
    EXPECT_TRUE(report.endsWith("\tFE.New\tadded\n"));
    EXPECT_EQ(report.count('\n'), static_cast<qsizetype>(updateCases().size()) + 1);
}

// Rows by what they are: checks against the reference, and states.
TEST(RowFilters, ShowTheRowsOfTheirStatesAndChecks)
{
    Document document;
    document.open(fileOf({{u"A"_s, u"Start"_s}, {u"B"_s, u"Optionen"_s}, {u"C"_s, u""_s}, {u"D"_s, u"Beenden"_s},
                      {u"E"_s, u"Laden"_s}}),
        u"lang_de.xom"_s);
    using document::RowFilter;
    const auto rows = [&](const RowFilter filter) { return document::rowsPassing(document, filter); };
    EXPECT_EQ(rows(RowFilter::All), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(rows(RowFilter::Untranslated).empty()) << "no reference, no checks";

    document.setEntryReviews({{2, {}, {State::Approved, {}, u"Options"_s}}, {4, {}, {State::NeedsReview, {}, {}}},
                                 {5, {}, {State::Translated, {}, u"Load"_s}}},
        u"Review"_s);
    document.openReference(fileOf({{u"A"_s, u"Start"_s}, {u"B"_s, u"Options"_s}, {u"C"_s, u"Help"_s},
                                      {u"D"_s, u"Quit"_s}, {u"E"_s, u"Load game"_s}})
                               .entries,
        u"lang_en.xom"_s);
    const struct {
        RowFilter filter;
        std::vector<int> rows;
    } expected[] = {
        {RowFilter::All, {1, 2, 3, 4, 5}},
        {RowFilter::Untranslated, {1}},   // the text is the reference's
        {RowFilter::WithWarnings, {3}},   // empty beside a reference text
        {RowFilter::NeedsReview, {4, 5}}, // marked, or its source changed
        {RowFilter::SourceChanged, {5}},
        {RowFilter::Approved, {2}},
    };
    const document::RowFilterCounts counts = document::countRowFilters(document);
    for (const auto& [filter, expectedRows] : expected) {
        SCOPED_TRACE(static_cast<int>(filter));
        EXPECT_EQ(rows(filter), expectedRows);
        EXPECT_EQ(counts[static_cast<std::size_t>(filter)], static_cast<int>(expectedRows.size()));
    }
}

} // namespace
