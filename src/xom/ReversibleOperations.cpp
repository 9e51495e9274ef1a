#include "xom/ReversibleOperations.h"

#include "xom/EntryOperations.h"

#include "text/CompilerHints.h"
#include "text/TextCompare.h"

#include <algorithm>
#include <numeric>
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

using RowIterator = std::vector<EntryRow>::iterator;

// Moves the rows [from, to) to start at into, which lies at or before from
// (the rows close up towards the top); gives the end of where they went.
RowIterator closeUp(const RowIterator from, const RowIterator to, const RowIterator into)
{
    return into == from ? to : std::copy(from, to, into);
}

} // namespace

void applyRowOrder(EntryTable& table, const RowOrder& order)
{
    Q_ASSERT(order.size() == table.rows.size());
    // Rows are read in a scattered order: the row a few steps ahead is
    // fetched while the current one moves, so the cache misses overlap.
    // Only the rows' records move; no text is copied.
    std::vector<EntryRow> arranged(table.rows.size());
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (place + PrefetchDistance < order.size())
            text::prefetchForRead(&table.rows[at(order[place + PrefetchDistance])]);
        arranged[place] = table.rows[at(order[place])];
    }
    table.rows = std::move(arranged);
}

void revertRowOrder(EntryTable& table, const RowOrder& order)
{
    Q_ASSERT(order.size() == table.rows.size());
    // Row i goes back to order[i]: scattered writes, fetched ahead.
    std::vector<EntryRow> restored(table.rows.size());
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (place + PrefetchDistance < order.size())
            text::prefetchForRead(&restored[at(order[place + PrefetchDistance])]);
        restored[at(order[place])] = table.rows[place];
    }
    table.rows = std::move(restored);
}

MoveDownChange moveDownChangeOf(const EntryTable& table)
{
    // The unmarked rows in their order, then the marked rows in theirs, each
    // written straight to its place in the arrangement. A marked row's mark
    // is "x" itself, so that is the mark each one loses.
    MoveDownChange change;
    const std::size_t rows = table.rows.size();
    change.order.resize(rows);
    const std::optional<TextId> markId = table.texts.find(MarkText);
    if (!markId) {
        std::iota(change.order.begin(), change.order.end(), 0);
        return change;
    }
    std::vector<std::int32_t> marked;
    std::size_t kept = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (table.rows[row].mark == *markId)
            marked.push_back(static_cast<std::int32_t>(row));
        else
            change.order[kept++] = static_cast<std::int32_t>(row);
    }
    std::copy(marked.begin(), marked.end(), change.order.begin() + static_cast<std::ptrdiff_t>(kept));
    change.clearedMarks.assign(marked.size(), *markId);
    return change;
}

void redoMoveDown(EntryTable& table, const MoveDownChange& change)
{
    // A stable partition whose moved rows are the tail of the arrangement:
    // the moved rows are set aside, the runs of rows between them close up
    // in one sequential pass (a few long moves when few rows are marked),
    // and the moved rows follow, unmarked. Room is made before any row
    // moves, so a failed allocation leaves the rows as they were.
    const std::size_t rows = table.rows.size();
    const std::size_t moved = change.clearedMarks.size();
    Q_ASSERT(change.order.size() == rows && moved <= rows);
    std::vector<EntryRow> set;
    set.reserve(moved);
    const auto first = table.rows.begin();
    auto kept = first;
    auto run = first;
    for (std::size_t place = rows - moved; place < rows; ++place) {
        const auto row = first + change.order[place];
        kept = closeUp(run, row, kept);
        set.push_back(*row);
        run = row + 1;
    }
    kept = closeUp(run, table.rows.end(), kept);
    for (EntryRow& record : set) {
        record.mark = TextPool::EmptyText;
        *kept++ = record;
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
    std::vector<EntryRow> set;
    set.reserve(moved);
    for (std::size_t k = 0; k < moved; ++k) {
        set.push_back(table.rows[firstMoved + k]);
        set.back().mark = change.clearedMarks[k];
    }
    std::size_t nextMoved = moved;
    std::size_t nextKept = firstMoved;
    for (std::size_t place = rows; place-- > 0;) {
        if (nextMoved > 0 && at(change.order[firstMoved + nextMoved - 1]) == place) {
            table.rows[place] = set[--nextMoved];
        } else {
            --nextKept;
            if (nextKept != place)
                table.rows[place] = table.rows[nextKept];
        }
    }
}

void applyCellChanges(EntryTable& table, const std::vector<CellChange>& changes)
{
    for (const CellChange& change : changes) {
        if (isCell(table, change))
            table.setCell(change.gridRow - 1, change.column, change.after);
    }
}

void revertCellChanges(EntryTable& table, const std::vector<CellChange>& changes)
{
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (isCell(table, *change))
            table.setCell(change->gridRow - 1, change->column, change->before);
    }
}

CellChange markToggle(const EntryTable& table, const int gridRow)
{
    if (!isEntryRow(table, gridRow))
        return CellChange{gridRow, MarkColumn, QString(), QString()};
    const QString mark = table.mark(gridRow - 1).toString();
    return CellChange{gridRow, MarkColumn, mark, mark.isEmpty() ? MarkText : QString()};
}

AddedEntry addEntryReversibly(EntryTable& table, LanguageModel& model, const QString& name, const QString& text)
{
    AddedEntry added;
    added.countRaised
        = model.StringResourceType >= 0 && model.StringResourceType < static_cast<int>(model.TypeTable.size());
    added.stringsBefore = model.StringList;
    added.number = addEntry(table, model, name, text);
    return added;
}

void undoAddEntry(EntryTable& table, LanguageModel& model, const AddedEntry& added)
{
    if (table.rows.empty())
        return;
    const int last = table.entryCount() - 1;
    const QString name = table.name(last).toString();
    const QString text = table.text(last).toString();
    table.rows.pop_back();
    if (added.countRaised && model.StringResourceType >= 0
        && model.StringResourceType < static_cast<int>(model.TypeTable.size())) {
        qint32& count = model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
        count = static_cast<qint32>(static_cast<quint32>(count) - 1u);
    }
    // The name and text come off the list when they still end it; a save in
    // between rebuilt the list, and what it wrote stays.
    StringListSummary& strings = model.StringList;
    const StringListSummary& before = added.stringsBefore;
    if (strings.count == before.count + 2 && text::TextEquals(strings.lastButOne, name)
        && text::TextEquals(strings.last, text)) {
        strings.count = before.count;
        strings.lastButOne = before.lastButOne;
        strings.last = before.last;
        if (strings.count < 2)
            strings.second.clear();
    }
}

void redoEdits(EntryTable& table, LanguageModel& model, std::vector<Edit>& edits)
{
    for (Edit& edit : edits) {
        if (auto* const change = std::get_if<CellChange>(&edit)) {
            if (isCell(table, *change))
                table.setCell(change->gridRow - 1, change->column, change->after);
        } else {
            auto& add = std::get<AddChange>(edit);
            add.added = addEntryReversibly(table, model, add.name, add.text);
        }
    }
}

void undoEdits(EntryTable& table, LanguageModel& model, const std::vector<Edit>& edits)
{
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        if (const auto* const change = std::get_if<CellChange>(&*edit)) {
            if (isCell(table, *change))
                table.setCell(change->gridRow - 1, change->column, change->before);
        } else {
            undoAddEntry(table, model, std::get<AddChange>(*edit).added);
        }
    }
}

} // namespace xom
