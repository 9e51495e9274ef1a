// The entry table as records over a pool of texts: what it shares, what an
// edit reads back, and that a save and the row moves see only the cells.
#include "LiteralProcedures.h"

#include "xom/EntryOperations.h"
#include "xom/LanguageFileWriter.h"
#include "xom/ReversibleOperations.h"

#include "support/MarksAndMoveDown.h"
#include "support/RandomEntries.h"

#include "text/EditorError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace {

using xom::EntryTable;
using xom::TextPool;

xom::Entry entry(const QString& mark, const QString& number, const QString& name, const QString& text)
{
    return xom::Entry{mark, number, name, text};
}

TEST(EntryTable, EqualTextsShareAnIdUntilAnEditMakesOneUnique)
{
    EntryTable table = EntryTable::fromEntries({entry({}, "1", "FE.A", "Same"), entry("x", "2", "FE.A", "Same"),
        entry({}, "3", "FE.B", "Other"), entry({}, "4", "Same", "FE.B")});
    // "", "FE.A", "Same", "x", "FE.B", "Other": numbers are no texts.
    ASSERT_EQ(table.texts.size(), 6u);
    EXPECT_EQ(table.rows[0].name, table.rows[1].name);
    EXPECT_EQ(table.rows[0].text, table.rows[1].text);
    EXPECT_EQ(table.rows[3].name, table.rows[0].text); // a name and a text alike
    EXPECT_EQ(table.rows[3].text, table.rows[2].name);
    EXPECT_EQ(table.rows[0].mark, TextPool::EmptyText);

    const EntryTable original = table;
    const xom::TextId same = table.rows[0].text;
    const struct {
        xom::CellChange change;
        std::size_t poolAfter; // a new text is added once, an old one found again
    } edits[] = {
        {{1, xom::TextColumn, "Same", "Edited"}, 7},
        {{2, xom::NameColumn, "FE.A", "FE.B"}, 7},
        {{3, xom::TextColumn, "Other", "Edited"}, 7},
        {{4, xom::NameColumn, "Same", "Fresh"}, 8},
        {{4, xom::MarkColumn, "", "x"}, 8},
        {{1, xom::TextColumn, "Edited", "Same"}, 8},
    };
    std::vector<xom::CellChange> changes;
    for (const auto& [change, poolAfter] : edits) {
        changes.push_back(change);
        xom::applyCellChanges(table, {change});
        const int row = change.gridRow - 1;
        EXPECT_EQ(table.cell(row, change.column), change.after);
        EXPECT_EQ(table.rows[static_cast<std::size_t>(row)].id(change.column), table.texts.find(change.after));
        EXPECT_EQ(table.texts.size(), poolAfter) << change.after.toStdString();
    }
    // The first edit left row 2 its text under the old id.
    EXPECT_EQ(table.rows[1].text, same);
    EXPECT_EQ(table.text(1), QStringLiteral("Same"));
    EXPECT_EQ(table.rows[0].text, same);
    EXPECT_EQ(table.text(2), QStringLiteral("Edited"));

    xom::revertCellChanges(table, changes);
    EXPECT_EQ(table, original);
    EXPECT_EQ(table.rows, original.rows); // the very ids it had
    EXPECT_EQ(table.texts.view(same), QStringLiteral("Same"));
    EXPECT_NE(table, EntryTable::fromEntries({entry({}, "1", "FE.A", "Same")}));

    // Part of a pooled text set as a cell: the pool takes a copy before it
    // grows under the view.
    EntryTable growing = EntryTable::fromEntries({entry({}, "1", "n", "a longer text")});
    for (int i = 0; i < 200; ++i)
        growing.setCell(0, i % 2 ? xom::NameColumn : xom::MarkColumn, growing.text(0).first(1 + i % 13));
    EXPECT_EQ(growing.name(0), QStringLiteral("a lon")); // i = 199
}

struct NumberCell {
    const char16_t* typed;
    bool plain; // kept as its value
};

const NumberCell numberCells[] = {{u"", false}, {u"007", false}, {u"-1", false}, {u"2147483648", false}, {u" 5", false},
    {u"5 ", false}, {u"0x10", false}, {u"\u0663", false}, {u"12a", false}, {u"+5", false}, {u"00", false},
    {u"4294967297", false}, {u"0", true}, {u"5", true}, {u"2147483647", true}, {u"1000000000", true}};

// A save's outcome, by the writer or by the literal steps: its bytes and the
// length of the string list it left, or its error.
std::string saveOutcome(const EntryTable& table, const bool literally)
{
    xom::LanguageModel model = testsupport::modelForEntries(table);
    std::vector<int> positions;
    try {
        const QByteArray image = literally ? literal::save(literal::gridOf(table), model, positions)
                                           : xom::buildLanguageImage(table, model);
        return image.toHex().toStdString() + " " + std::to_string(model.StringList.count);
    } catch (const text::ListIndexError& error) {
        return "ListIndexError " + std::to_string(error.index()) + " " + std::to_string(model.StringList.count);
    } catch (const text::ConvertError& error) {
        return "ConvertError " + error.message().toStdString();
    }
}

// Each number cell read back as typed, kept as its value only when it is a
// plain decimal, and saved as its text shows: refused as the literal steps
// refuse it, and typed back, saved as if never edited (though the pool
// still holds what was typed).
TEST(EntryTable, NumberCellsReadBackAsTypedAndSaveAsTheirTextShows)
{
    std::mt19937 random(8);
    const EntryTable untouched = testsupport::randomEntries(random, 12);
    const std::string saved = saveOutcome(untouched, false);
    ASSERT_EQ(saved, saveOutcome(untouched, true));
    int row = 0;
    while (untouched.number(row) != QStringLiteral("7"))
        ++row;

    std::vector<xom::Entry> entries;
    qsizetype longest = 0;
    for (const NumberCell& cell : numberCells) {
        const QString typed = QString::fromUtf16(cell.typed);
        const std::string what = typed.toStdString();
        EntryTable table = untouched;
        table.setCell(row, xom::NumberColumn, typed);
        EXPECT_EQ(table.cell(row, xom::NumberColumn), typed);
        EXPECT_EQ(table.number(row), typed);
        QString scratch;
        EXPECT_EQ(table.cellView(row, xom::NumberColumn, scratch), typed);
        xom::Entry expected = untouched.entry(row);
        expected.number = typed;
        EXPECT_EQ(table.entry(row), expected);
        const xom::EntryRow& record = table.rows[static_cast<std::size_t>(row)];
        EXPECT_EQ(record.numberIsText(), !cell.plain) << what;
        if (cell.plain) {
            EXPECT_EQ(QString::number(record.number), typed);
        }
        EXPECT_EQ(EntryTable::fromEntries({entry({}, typed, "n", "t")}).longestNumberLength(), typed.size()) << what;

        const std::string refused = saveOutcome(table, false);
        EXPECT_EQ(refused.substr(0, 17), "ListIndexError -1") << what;
        EXPECT_EQ(refused, saveOutcome(table, true));
        table.setCell(row, xom::NumberColumn, QStringLiteral("7"));
        EXPECT_EQ(saveOutcome(table, false), saved) << what;

        entries.push_back(entry(entries.size() % 3 ? "" : "x", typed, typed, typed));
        longest = std::max(longest, typed.size());
    }
    const EntryTable table = EntryTable::fromEntries(entries);
    EXPECT_EQ(table.entries(), entries);
    EXPECT_EQ(table.longestNumberLength(), longest);

    // Equal by their cells, whatever ids the pools gave them.
    const EntryTable randomTable = testsupport::randomEntries(random, 200);
    std::vector<xom::Entry> reversed = randomTable.entries();
    std::reverse(reversed.begin(), reversed.end());
    EntryTable other = EntryTable::fromEntries(reversed);
    xom::RowOrder backwards(reversed.size());
    for (std::size_t i = 0; i < backwards.size(); ++i)
        backwards[i] = static_cast<std::int32_t>(backwards.size() - 1 - i);
    xom::applyRowOrder(other, backwards);
    EXPECT_EQ(other, randomTable);
    EXPECT_EQ(EntryTable::fromEntries(randomTable.entries()), randomTable);
}

// The records as a sorted list, marks left out: what a permutation keeps.
std::vector<std::tuple<std::uint32_t, xom::TextId, xom::TextId>> recordsOf(const EntryTable& table)
{
    std::vector<std::tuple<std::uint32_t, xom::TextId, xom::TextId>> records;
    for (const xom::EntryRow& row : table.rows)
        records.emplace_back(row.number, row.name, row.text);
    std::sort(records.begin(), records.end());
    return records;
}

TEST(EntryTable, SortAndMoveDownPermuteRecordsWithoutCopyingTexts)
{
    std::mt19937 random(21);
    int moved = 0;
    for (int round = 0; round < 20; ++round) {
        const EntryTable original = testsupport::randomEntries(random, 1 + round * 7);
        void (*const operations[])(EntryTable&) = {
            [](EntryTable& t) { xom::sortEntriesByName(t); },
            [](EntryTable& t) { testsupport::moveMarkedRowsDown(t); },
        };
        for (const auto operation : operations) {
            EntryTable table = original;
            operation(table);
            EXPECT_EQ(table.texts.size(), original.texts.size()) << "round " << round;
            EXPECT_EQ(table.texts.unitCount(), original.texts.unitCount());
            EXPECT_EQ(recordsOf(table), recordsOf(original));
            moved += table.rows != original.rows ? 1 : 0;
        }
    }
    EXPECT_GT(moved, 20);
}

} // namespace
