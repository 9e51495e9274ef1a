#include "text/TextCompare.h"

#include "text/CaseFolding.h"

#include <unicode/utf16.h>

#include <algorithm>

namespace text {

bool TextEquals(const QStringView a, const QStringView b) noexcept
{
    return a.size() == b.size() && std::equal(a.utf16(), a.utf16() + a.size(), b.utf16());
}

PrefixMatcher::PrefixMatcher(const QStringView search)
    : m_rules(currentFoldingRules())
    , m_foldedSearch(foldCase(search, m_rules))
{
}

bool PrefixMatcher::matches(const QStringView cell) const
{
    const std::size_t wanted = m_foldedSearch.size();
    if (wanted == 0 || static_cast<std::size_t>(cell.size()) < wanted)
        return false;
    // Folding keeps every code point's length, so the cell's first `wanted`
    // units fold to exactly the units compared with the search. A pair cut
    // by that boundary still folds as a pair.
    const char16_t* const units = cell.utf16();
    const char16_t* const search = m_foldedSearch.data();
    const std::size_t count = static_cast<std::size_t>(cell.size());
    for (std::size_t i = 0; i < wanted; ++i) {
        const char16_t unit = units[i];
        if (U16_IS_LEAD(unit) && i + 1 < count && U16_IS_TRAIL(units[i + 1])) {
            const char32_t folded = foldCodePoint(U16_GET_SUPPLEMENTARY(unit, units[i + 1]), m_rules);
            if (U16_LEAD(folded) != search[i] || (i + 1 < wanted && U16_TRAIL(folded) != search[i + 1]))
                return false;
            ++i;
            continue;
        }
        if (static_cast<char16_t>(foldCodePoint(unit, m_rules)) != search[i])
            return false;
    }
    return true;
}

} // namespace text
