#include "xom/EntryOperations.h"

#include "xom/ProgressPosition.h"

#include "text/AnsiImage.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace xom {

int sortProgressPosition(const int k, const int gridRowCount) noexcept
{
    // The grid holds two scratch rows while it sorts: the divisor is R + 2.
    return nearestPosition(static_cast<double>(k) / (static_cast<double>(gridRowCount) + 2.0) * 100.0);
}

namespace {

// A row's sort key in the arena, its first eight bytes kept big-endian
// beside it so that most comparisons never touch the arena.
struct KeyedRow {
    std::uint64_t prefix;
    std::uint32_t offset;
    std::uint32_t length;
    std::int32_t row;
};

} // namespace

void sortEntriesByName(EntryTable& table, const ProgressReport& progress)
{
    const int gridRows = table.gridRowCount();
    if (table.rows.size() < 2)
        return;

    // Straight insertion moves a row up only past names that compare
    // strictly greater: a stable sort by CompareAnsiText of the names' ANSI
    // images, which comparing their collation keys reproduces.
    QByteArray arena;
    std::vector<KeyedRow> keyed;
    keyed.reserve(table.rows.size());
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const qsizetype start = arena.size();
        arena += text::ansiTextSortKey(table.rows[row].name);
        keyed.push_back(KeyedRow{0, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(arena.size() - start),
            static_cast<std::int32_t>(row)});
        // Straight insertion sets the bar after inserting each of the grid
        // rows 2 .. R - 1. The positions do not depend on the names, so they
        // are reported in that order while the keys, the bulk of the work,
        // are made.
        const int k = static_cast<int>(row) + 1;
        if (progress && k >= 2)
            progress(sortProgressPosition(k, gridRows));
    }
    const auto* const bytes = reinterpret_cast<const unsigned char*>(arena.constData());
    for (KeyedRow& key : keyed) {
        std::uint64_t prefix = 0;
        for (std::uint32_t b = 0; b < 8; ++b)
            prefix = (prefix << 8) | (b < key.length ? bytes[key.offset + b] : 0u);
        key.prefix = prefix;
    }
    std::stable_sort(keyed.begin(), keyed.end(), [bytes](const KeyedRow& a, const KeyedRow& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const std::uint32_t common = std::min(a.length, b.length);
        const int c = std::memcmp(bytes + a.offset, bytes + b.offset, common);
        return c != 0 ? c < 0 : a.length < b.length;
    });

    std::vector<Entry> sorted;
    sorted.reserve(table.rows.size());
    for (const KeyedRow& key : keyed)
        sorted.push_back(std::move(table.rows[static_cast<std::size_t>(key.row)]));
    table.rows = std::move(sorted);
}

} // namespace xom
