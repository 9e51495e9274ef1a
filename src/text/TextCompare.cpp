// Placeholder until the ICU-backed implementation lands.
#include "text/TextCompare.h"

namespace text {

int CompareLocale(QStringView a, QStringView b, bool matchCase)
{
    const int c = a.compare(b, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool TextEquals(QStringView a, QStringView b) noexcept
{
    return a.size() == b.size() && a.compare(b, Qt::CaseSensitive) == 0;
}

bool PrefixTest(QStringView search, QStringView cell)
{
    return PrefixMatcher(search).matches(cell);
}

PrefixMatcher::PrefixMatcher(QStringView search)
    : m_foldedSearch(search.toString().toCaseFolded())
{
}

bool PrefixMatcher::matches(QStringView cell) const
{
    return !m_foldedSearch.isEmpty() && !cell.isEmpty() && cell.toString().toCaseFolded().startsWith(m_foldedSearch);
}

} // namespace text
