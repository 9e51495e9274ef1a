#include "support/ColumnLookup.h"
#include "support/PinnedTextEnvironment.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

namespace {

using testsupport::PinnedTextEnvironment;

// A grid as findInColumn sees one: the header in row 0, then the entries.
struct Grid {
    std::vector<std::vector<QString>> rows;

    [[nodiscard]] int gridRowCount() const { return static_cast<int>(rows.size()); }
    [[nodiscard]] const QString& gridCell(const int row, const int column) const
    {
        return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
};

TEST(FindInColumn, GivesTheFirstRowEqualWithCaseIgnored)
{
    const Grid grid{{
        {"x", "№", "Name", "Text"},
        {"", "3", "FE.Start", "Start"},
        {"x", "1", "FE.Quit", "quit"},
        {"", "2", "fe.start", "Quit"},
        {"", "12", "FE.Jump", ""},
    }};
    const struct {
        int column;
        QString text;
        int row;
    } rows[] = {
        {2, "name", 0}, // the header row takes part
        {2, "FE.START", 1},
        {3, "QUIT", 2},
        {1, "1", 2},
        {1, "12", 4},
        {1, "012", -1}, // digit strings match exactly
        {3, "", 4},
        {2, "FE.Missing", -1},
    };
    const PinnedTextEnvironment pinned(QStringLiteral("en_US"), 1252);
    for (const auto& row : rows)
        EXPECT_EQ(testsupport::findInColumn(grid, row.column, row.text), row.row)
            << row.column << " " << row.text.toStdString();
    EXPECT_EQ(testsupport::findInColumn(Grid{}, 2, u"a"), -1);
}

} // namespace
