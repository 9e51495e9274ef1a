#include "xom/EntryOperations.h"

#include "xom/ArenaKey.h"
#include "xom/ProgressPosition.h"
#include "xom/ReversibleOperations.h"

#include "text/AnsiImage.h"

#include <algorithm>
#include <numeric>

namespace xom {

int sortProgressPosition(const int k, const int gridRowCount) noexcept
{
    // The grid holds two scratch rows while it sorts: the divisor is R + 2.
    return nearestPosition(static_cast<double>(k) / (static_cast<double>(gridRowCount) + 2.0) * 100.0);
}

void sortEntriesByName(EntryTable& table, const ProgressReport& progress)
{
    applyRowOrder(table, sortOrderByName(table, progress));
}

RowOrder sortOrderByName(const EntryTable& table, const ProgressReport& progress)
{
    const int gridRows = table.gridRowCount();
    RowOrder order(table.rows.size());
    if (table.rows.size() < 2) {
        std::iota(order.begin(), order.end(), 0);
        return order;
    }

    // Straight insertion moves a row up only past names that compare
    // strictly greater: a stable sort by the collation of the names' ANSI
    // images, which comparing their collation keys reproduces.
    QByteArray arena;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    spans.reserve(table.rows.size());
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const qsizetype start = arena.size();
        arena += text::ansiTextSortKey(table.name(static_cast<int>(row)));
        spans.emplace_back(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(arena.size() - start));
        // Straight insertion sets the bar after inserting each of the grid
        // rows 2 .. R - 1. The positions do not depend on the names, so they
        // are reported in that order while the keys, the bulk of the work,
        // are made.
        const int k = static_cast<int>(row) + 1;
        if (progress && k >= 2)
            progress(sortProgressPosition(k, gridRows));
    }
    const auto* const bytes = reinterpret_cast<const unsigned char*>(arena.constData());
    std::vector<ArenaKey> keyed;
    keyed.reserve(spans.size());
    for (std::size_t row = 0; row < spans.size(); ++row)
        keyed.emplace_back(bytes, spans[row].first, spans[row].second, static_cast<std::int32_t>(row));
    std::stable_sort(
        keyed.begin(), keyed.end(), [bytes](const ArenaKey& a, const ArenaKey& b) { return a.compare(b, bytes) < 0; });

    for (std::size_t row = 0; row < keyed.size(); ++row)
        order[row] = keyed[row].index;
    return order;
}

} // namespace xom
