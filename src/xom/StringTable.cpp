#include "xom/StringTable.h"

#include <algorithm>
#include <optional>

namespace xom {

namespace {

void addOnce(StringTable& table, const TextId id)
{
    if (table.indexOfId[id] < 0) {
        table.indexOfId[id] = static_cast<std::int32_t>(table.ids.size());
        table.ids.push_back(id);
    }
}

} // namespace

StringTable collectStrings(const EntryTable& entries, const QString& kept)
{
    const TextPool& pool = entries.texts;
    const bool canonical = pool.indexed();
    const auto idOf = [&](const TextId id) { return canonical ? pool.canonical(id) : id; };
    StringTable table{&pool, canonical, kept, {}, std::vector<std::int32_t>(pool.size(), -1)};
    table.ids.reserve(std::min(pool.size(), 2 * entries.rows.size()) + 2);
    addOnce(table, TextPool::EmptyText);
    // The kept string takes index 1 even when it is empty; lookups of the
    // empty string still find index 0.
    std::optional<TextId> keptId;
    if (canonical)
        keptId = pool.find(kept);
    else if (entries.loadedSecond < pool.size() && pool.view(entries.loadedSecond) == kept)
        keptId = entries.loadedSecond;
    if (kept.isEmpty())
        table.ids.push_back(TextPool::EmptyText);
    else if (keptId)
        addOnce(table, *keptId);
    else
        table.ids.push_back(StringTable::KeptOutsidePool);
    for (const EntryRow& row : entries.rows) {
        addOnce(table, idOf(row.text));
        addOnce(table, idOf(row.name));
    }
    return table;
}

StringListSummary summaryOf(const StringTable& strings)
{
    StringListSummary summary;
    summary.count = static_cast<int>(strings.count());
    summary.second = strings.at(1).toString();
    summary.lastButOne = strings.at(strings.count() - 2).toString();
    summary.last = strings.at(strings.count() - 1).toString();
    return summary;
}

} // namespace xom
