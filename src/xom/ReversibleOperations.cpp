#include "xom/ReversibleOperations.h"

#include "xom/EntryOperations.h"

#include "text/TextCompare.h"

#include <utility>

namespace xom {

namespace {

const QString MarkText = QStringLiteral("x");

[[nodiscard]] bool isEntryRow(const EntryTable& table, const int gridRow)
{
    return gridRow >= 1 && gridRow < table.gridRowCount();
}

[[nodiscard]] bool isCell(const EntryTable& table, const CellChange& change)
{
    return isEntryRow(table, change.gridRow) && change.column >= 0 && change.column < ColumnCount;
}

[[nodiscard]] std::size_t at(const std::int32_t place)
{
    return static_cast<std::size_t>(place);
}

constexpr std::size_t PrefetchDistance = 16;

// Both cache lines of a row.
void prefetch(const Entry* row)
{
    __builtin_prefetch(row);
    __builtin_prefetch(reinterpret_cast<const char*>(row) + sizeof(Entry) - 1);
}

} // namespace

void applyRowOrder(EntryTable& table, const RowOrder& order)
{
    Q_ASSERT(order.size() == table.rows.size());
    // Rows are read in a scattered order: the row a few steps ahead is
    // fetched while the current one moves, so the cache misses overlap.
    // Only the rows' handles move; no text is copied.
    std::vector<Entry> arranged(table.rows.size());
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (place + PrefetchDistance < order.size())
            prefetch(&table.rows[at(order[place + PrefetchDistance])]);
        arranged[place] = std::move(table.rows[at(order[place])]);
    }
    table.rows = std::move(arranged);
}

void revertRowOrder(EntryTable& table, const RowOrder& order)
{
    Q_ASSERT(order.size() == table.rows.size());
    // Row i goes back to order[i]: scattered writes, fetched ahead.
    std::vector<Entry> restored(table.rows.size());
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (place + PrefetchDistance < order.size())
            prefetch(&restored[at(order[place + PrefetchDistance])]);
        restored[at(order[place])] = std::move(table.rows[place]);
    }
    table.rows = std::move(restored);
}

MoveDownChange moveMarkedRowsToEndReversibly(EntryTable& table)
{
    // The same stable partition as moveMarkedRowsToEnd, written down as an
    // arrangement first.
    MoveDownChange change;
    change.order.reserve(table.rows.size());
    std::vector<std::int32_t> marked;
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        if (text::TextEquals(table.rows[row].mark, MarkText))
            marked.push_back(static_cast<std::int32_t>(row));
        else
            change.order.push_back(static_cast<std::int32_t>(row));
    }
    change.order.insert(change.order.end(), marked.begin(), marked.end());
    change.clearedMarks.reserve(marked.size());
    for (const std::int32_t row : marked)
        change.clearedMarks.push_back(table.rows[at(row)].mark);
    redoMoveDown(table, change);
    return change;
}

void redoMoveDown(EntryTable& table, const MoveDownChange& change)
{
    // A stable partition whose moved rows are the tail of the arrangement,
    // in one sequential pass as moveMarkedRowsToEnd makes it.
    const std::size_t rows = table.rows.size();
    const std::size_t moved = change.clearedMarks.size();
    Q_ASSERT(change.order.size() == rows && moved <= rows);
    std::vector<Entry> set;
    set.reserve(moved);
    std::size_t next = rows - moved;
    std::size_t kept = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (next < rows && at(change.order[next]) == row) {
            set.push_back(std::move(table.rows[row]));
            ++next;
        } else {
            if (kept != row)
                table.rows[kept] = std::move(table.rows[row]);
            ++kept;
        }
    }
    for (Entry& entry : set) {
        entry.mark.clear();
        table.rows[kept++] = std::move(entry);
    }
}

void undoMoveDown(EntryTable& table, const MoveDownChange& change)
{
    // The partition taken back from the end: each place gets either the
    // next moved row (set aside with its mark) or the last unmarked row not
    // yet placed, which never lies after it.
    const std::size_t rows = table.rows.size();
    const std::size_t moved = change.clearedMarks.size();
    Q_ASSERT(change.order.size() == rows && moved <= rows);
    const std::size_t firstMoved = rows - moved;
    std::vector<Entry> set;
    set.reserve(moved);
    for (std::size_t k = 0; k < moved; ++k) {
        set.push_back(std::move(table.rows[firstMoved + k]));
        set.back().mark = change.clearedMarks[k];
    }
    std::size_t nextMoved = moved;
    std::size_t nextKept = firstMoved;
    for (std::size_t place = rows; place-- > 0;) {
        if (nextMoved > 0 && at(change.order[firstMoved + nextMoved - 1]) == place) {
            table.rows[place] = std::move(set[--nextMoved]);
        } else {
            --nextKept;
            if (nextKept != place)
                table.rows[place] = std::move(table.rows[nextKept]);
        }
    }
}

void applyCellChanges(EntryTable& table, const std::vector<CellChange>& changes)
{
    for (const CellChange& change : changes) {
        if (isCell(table, change))
            table.rows[at(change.gridRow - 1)].cell(change.column) = change.after;
    }
}

void revertCellChanges(EntryTable& table, const std::vector<CellChange>& changes)
{
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (isCell(table, *change))
            table.rows[at(change->gridRow - 1)].cell(change->column) = change->before;
    }
}

CellChange markToggle(const EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return CellChange{gridRow, MarkColumn, QString(), QString()};
    const QString& mark = table.rows[at(gridRow - 1)].mark;
    return CellChange{gridRow, MarkColumn, mark, mark.isEmpty() ? MarkText : QString()};
}

AddedEntry addEntryReversibly(EntryTable& table, LanguageModel& model, const QString& name, const QString& text)
{
    AddedEntry added;
    added.countRaised
        = model.StringResourceType >= 0 && model.StringResourceType < static_cast<int>(model.TypeTable.size());
    added.stringCountBefore = model.StringList.count();
    added.number = addEntry(table, model, name, text);
    return added;
}

void undoAddEntry(EntryTable& table, LanguageModel& model, const AddedEntry& added)
{
    if (table.rows.empty())
        return;
    const Entry removed = std::move(table.rows.back());
    table.rows.pop_back();
    if (added.countRaised && model.StringResourceType >= 0
        && model.StringResourceType < static_cast<int>(model.TypeTable.size())) {
        qint32& count = model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
        count = static_cast<qint32>(static_cast<quint32>(count) - 1u);
    }
    text::UnicodeStringList& strings = model.StringList;
    const int before = added.stringCountBefore;
    if (strings.count() == before + 2 && text::TextEquals(strings.at(before), removed.name)
        && text::TextEquals(strings.at(before + 1), removed.text)) {
        strings.removeAt(before + 1);
        strings.removeAt(before);
    }
}

} // namespace xom
