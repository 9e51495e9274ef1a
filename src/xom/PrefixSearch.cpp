#include "xom/EntryOperations.h"

#include "text/TextCompare.h"

namespace xom {

std::optional<int> findRowForPrefix(const EntryTable& table, const QStringView search)
{
    // Every entry row takes part, the last one included.
    const text::PrefixMatcher matcher(search);
    for (int row = 0; row < table.entryCount(); ++row) {
        if (matcher.matches(table.text(row)))
            return row + 1;
    }
    return std::nullopt;
}

std::optional<int> searchRowForPrefix(const EntryTable& table, const QStringView search)
{
    if (table.rows.empty())
        return std::nullopt;
    return findRowForPrefix(table, search).value_or(1);
}

std::optional<int> searchRowForPrefixAgain(
    const EntryTable& table, const QStringView search, const int currentGridRow, const bool backwards)
{
    const int count = table.entryCount();
    if (count == 0)
        return std::nullopt;
    const text::PrefixMatcher matcher(search);
    // A current row outside the entries (the header) starts before the first.
    const int current
        = currentGridRow >= 1 && currentGridRow <= count ? currentGridRow - 1 : (backwards ? 0 : count - 1);
    for (int step = 1; step <= count; ++step) {
        const int row = backwards ? (current - step % count + count) % count : (current + step) % count;
        if (matcher.matches(table.text(row)))
            return row + 1;
    }
    return std::nullopt;
}

} // namespace xom
