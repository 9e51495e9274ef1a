#include "xom/EntryOperations.h"

#include "text/TextCompare.h"

#include <algorithm>

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
    // Only the marked rows are set aside; the others close up in place.
    std::vector<Entry> marked;
    auto kept = table.rows.begin();
    for (auto row = table.rows.begin(); row != table.rows.end(); ++row) {
        if (isMarked(*row)) {
            marked.push_back(std::move(*row));
        } else {
            if (kept != row)
                *kept = std::move(*row);
            ++kept;
        }
    }
    for (Entry& entry : marked) {
        entry.mark.clear();
        *kept++ = std::move(entry);
    }
}

} // namespace xom
