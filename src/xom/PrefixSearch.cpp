#include "xom/EntryOperations.h"

#include "text/TextCompare.h"

namespace xom {

std::optional<int> searchRowForPrefix(const EntryTable& table, const QStringView search)
{
    if (table.rows.empty())
        return std::nullopt;
    // Every entry row takes part, the last one included.
    const text::PrefixMatcher matcher(search);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (matcher.matches(table.rows[i].text))
            return static_cast<int>(i) + 1;
    }
    return 1;
}

} // namespace xom
