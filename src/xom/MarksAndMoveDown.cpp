#include "xom/EntryOperations.h"

#include <algorithm>

namespace xom {

namespace {

const QString MarkText = QStringLiteral("x");

[[nodiscard]] bool isEntryRow(const EntryTable& table, const int gridRow)
{
    return gridRow >= 1 && gridRow < table.gridRowCount();
}

} // namespace

void toggleMark(EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return;
    const int row = gridRow - 1;
    table.setCell(row, MarkColumn, table.mark(row).isEmpty() ? QStringView(MarkText) : QStringView());
}

void MoveRowToEnd(EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return;
    const auto from = table.rows.begin() + (gridRow - 1);
    std::rotate(from, from + 1, table.rows.end());
    table.rows.back().mark = TextPool::EmptyText;
}

void moveMarkedRowsToEnd(EntryTable& table)
{
    // Each marked row moved to the end in turn leaves the unmarked rows in
    // their order followed by the marked rows in theirs: a stable partition.
    // Only the marked rows are set aside; the others close up in place.
    const std::optional<TextId> markId = table.texts.find(MarkText);
    if (!markId)
        return;
    std::vector<EntryRow> marked;
    auto kept = table.rows.begin();
    for (auto row = table.rows.begin(); row != table.rows.end(); ++row) {
        if (row->mark == *markId) {
            marked.push_back(*row);
        } else {
            if (kept != row)
                *kept = *row;
            ++kept;
        }
    }
    for (EntryRow& row : marked) {
        row.mark = TextPool::EmptyText;
        *kept++ = row;
    }
}

} // namespace xom
