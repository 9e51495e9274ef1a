// Dropping entries from anywhere in the table: the file saved after it is
// one the editor reads back with the numbers closed up, the reviews go with
// their entries, and undo gives back the very file that was there before.

#include "document/Document.h"

#include "xom/LanguageFileReader.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Qt::StringLiterals;
using document::Document;
using review::State;

// Five entries whose data bank lists them out of order, as in a sorted
// file: the rows are FE.C (number 3), FE.A (1), FE.E (5), FE.B (2) and
// FE.D (4).
const std::vector<std::uint32_t> numbers{3, 1, 5, 2, 4};

xom::LoadedFile fiveEntries()
{
    const std::vector<std::pair<QString, QString>> nameTexts{{u"FE.A"_s, u"Alpha"_s}, {u"FE.B"_s, u"Beta"_s},
        {u"FE.C"_s, u"Gamma"_s}, {u"FE.D"_s, u"Delta"_s}, {u"FE.E"_s, u"Epsilon"_s}};
    xom::LoadResult loaded = xom::loadLanguageFile(testsupport::simpleFile(nameTexts, numbers).bytes());
    return std::get<xom::LoadedFile>(std::move(loaded));
}

using Lines = std::vector<std::string>;

// Every row as "number name text".
Lines rowsOf(const xom::EntryTable& entries)
{
    Lines rows;
    for (int row = 0; row < entries.entryCount(); ++row)
        rows.push_back((entries.number(row) + u' ' + entries.name(row).toString() + u' ' + entries.text(row).toString())
                           .toStdString());
    return rows;
}

Lines statesOf(const Document& document)
{
    Lines states;
    for (int gridRow = 1; gridRow < document.entries().gridRowCount(); ++gridRow)
        states.push_back(review::stateWord(document.entryReview(gridRow).state).toString().toStdString());
    return states;
}

struct DropCase {
    const char* what;
    std::vector<int> gridRows;
    // The rows after the drop, as the saved file reads them back too, and
    // their states ("-": none).
    Lines rowsAfter;
    Lines statesAfter;
};

TEST(EntryDrop, TheSavedFileReadsBackClosedUpAndUndoGivesTheSameBytes)
{
    const std::vector<DropCase> cases{
        {"the entry numbered 1", {2}, {"2 FE.C Gamma", "4 FE.E Epsilon", "1 FE.B Beta", "3 FE.D Delta"},
            {"-", "approved", "-", "needs-review"}},
        {"the highest number, from the middle", {3}, {"3 FE.C Gamma", "1 FE.A Alpha", "2 FE.B Beta", "4 FE.D Delta"},
            {"-", "translated", "-", "needs-review"}},
        {"the first and last rows, named twice, among rows outside", {5, 1, 5, 0, 9, -3},
            {"1 FE.A Alpha", "3 FE.E Epsilon", "2 FE.B Beta"}, {"translated", "approved", "-"}},
        {"every entry", {1, 2, 3, 4, 5}, {}, {}},
    };
    for (const DropCase& drop : cases) {
        SCOPED_TRACE(drop.what);
        Document document;
        document.open(fiveEntries(), u"lang_de.xom"_s);
        document.setEntryReviews({{2, {}, {State::Translated, {}, {}}}, {3, {}, {State::Approved, u"final"_s, {}}},
                                     {5, {}, {State::NeedsReview, {}, u"Epsilon?"_s}}},
            u"Review"_s);
        const QByteArray before = document.image();
        const Lines rowsBefore = rowsOf(document.entries());
        const Lines statesBefore = statesOf(document);

        EXPECT_EQ(document.dropEntries(drop.gridRows, u"Drop"_s), 5 - static_cast<int>(drop.rowsAfter.size()));
        EXPECT_EQ(rowsOf(document.entries()), drop.rowsAfter);
        EXPECT_EQ(statesOf(document), drop.statesAfter);
        const QByteArray dropped = document.image();
        xom::LoadResult reread = xom::loadLanguageFile(dropped);
        ASSERT_TRUE(std::holds_alternative<xom::LoadedFile>(reread));
        EXPECT_EQ(rowsOf(std::get<xom::LoadedFile>(reread).entries), drop.rowsAfter);

        document.undo();
        EXPECT_EQ(rowsOf(document.entries()), rowsBefore);
        EXPECT_EQ(statesOf(document), statesBefore);
        EXPECT_EQ(document.image(), before);
        document.redo();
        EXPECT_EQ(document.image(), dropped);
        EXPECT_EQ(statesOf(document), drop.statesAfter);
    }
}

// An update that finds entries no longer in the reference drops them on
// request; the result then lists them apart and the others at their rows.
TEST(EntryDrop, AnUpdateDropsWhatTheNewReferenceLacks)
{
    Document document;
    document.open(fiveEntries(), u"lang_de.xom"_s);
    xom::EntryTable newReference = fiveEntries().entries;
    newReference.setCell(0, xom::NameColumn, u"FE.C2"_s);
    newReference.setCell(3, xom::NameColumn, u"FE.B2"_s);
    const xom::EntryTable oldReference = fiveEntries().entries;
    document::UpdateResult result
        = document.updateToReference(std::move(newReference), u"lang_en.xom"_s, &oldReference);
    ASSERT_EQ(result.summary.count(document::UpdateOutcome::Removed), 2);

    EXPECT_EQ(document.dropRemovedEntries(result), 2);
    EXPECT_EQ(document.history().undoText(), u"Drop Removed Entries"_s);
    EXPECT_EQ(
        document::updateSummaryLine(result.summary), u"2 added, 3 unchanged, 2 no longer in the reference (dropped)"_s);
    EXPECT_EQ(rowsOf(document.entries()),
        (Lines{"1 FE.A Alpha", "3 FE.E Epsilon", "2 FE.D Delta", "4 FE.C2 Gamma", "5 FE.B2 Beta"}));
    EXPECT_EQ(document::updateReport(result, document.entries()).toStdString(),
        "number\tname\toutcome\n1\tFE.A\tunchanged\n3\tFE.E\tunchanged\n2\tFE.D\tunchanged\n"
        "4\tFE.C2\tadded\n5\tFE.B2\tadded\n3\tFE.C\tdropped, no longer in the reference\n"
        "2\tFE.B\tdropped, no longer in the reference\n");
}

} // namespace
