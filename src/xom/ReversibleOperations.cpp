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

} // namespace

void applyRowOrder(EntryTable& table, const RowOrder& order)
{
    Q_ASSERT(order.size() == table.rows.size());
    // Each cycle of the permutation is walked once: the row at its start is
    // set aside and every other row moves straight to its new place. The
    // texts are moved, never copied, and no second table is allocated.
    std::vector<bool> placed(order.size(), false);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        Entry held = std::move(table.rows[start]);
        std::size_t place = start;
        for (;;) {
            placed[place] = true;
            const std::size_t from = at(order[place]);
            if (from == start) {
                table.rows[place] = std::move(held);
                break;
            }
            table.rows[place] = std::move(table.rows[from]);
            place = from;
        }
    }
}

void revertRowOrder(EntryTable& table, const RowOrder& order)
{
    Q_ASSERT(order.size() == table.rows.size());
    // Row i goes back to order[i]; along a cycle each row displaces the one
    // that goes next.
    std::vector<bool> placed(order.size(), false);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        Entry held = std::move(table.rows[start]);
        std::size_t place = start;
        for (;;) {
            placed[place] = true;
            const std::size_t to = at(order[place]);
            if (to == start) {
                table.rows[start] = std::move(held);
                break;
            }
            std::swap(held, table.rows[to]);
            place = to;
        }
    }
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
    applyRowOrder(table, change.order);
    const std::size_t firstMoved = table.rows.size() - change.clearedMarks.size();
    for (std::size_t row = firstMoved; row < table.rows.size(); ++row)
        table.rows[row].mark.clear();
}

void undoMoveDown(EntryTable& table, const MoveDownChange& change)
{
    const std::size_t firstMoved = table.rows.size() - change.clearedMarks.size();
    for (std::size_t k = 0; k < change.clearedMarks.size(); ++k)
        table.rows[firstMoved + k].mark = change.clearedMarks[k];
    revertRowOrder(table, change.order);
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
