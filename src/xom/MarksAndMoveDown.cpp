#include "xom/EntryOperations.h"

#include "text/TextCompare.h"

#include <algorithm>
#include <iterator>

namespace xom {

namespace {

const QString MarkText = QStringLiteral("x");

[[nodiscard]] bool isMarked(const Entry& entry)
{
    return text::TextEquals(entry.mark, MarkText);
}

[[nodiscard]] bool isEntryRow(const EntryTable& table, const int gridRow)
{
    return gridRow >= 1 && gridRow < table.gridRowCount();
}

} // namespace

void toggleMark(EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return;
    QString& mark = table.rows[static_cast<std::size_t>(gridRow - 1)].mark;
    mark = mark.isEmpty() ? MarkText : QString();
}

void MoveRowToEnd(EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return;
    const auto from = table.rows.begin() + (gridRow - 1);
    std::rotate(from, from + 1, table.rows.end());
    table.rows.back().mark.clear();
}

void moveMarkedRowsToEnd(EntryTable& table)
{
    // Each marked row moved to the end in turn leaves the unmarked rows in
    // their order followed by the marked rows in theirs: a stable partition.
    const auto firstMarked = std::stable_partition(table.rows.begin(), table.rows.end(),
                                                   [](const Entry& entry) { return !isMarked(entry); });
    for (auto row = firstMarked; row != table.rows.end(); ++row)
        row->mark.clear();
}

} // namespace xom
