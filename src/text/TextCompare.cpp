#include "text/TextCompare.h"

#include "text/CaseFolding.h"
#include "text/TextRuntime.h"

#include <unicode/utf16.h>

#include <algorithm>

namespace text {

namespace {

std::u16string_view unitsOf(const QStringView text) noexcept
{
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

} // namespace

int CompareLocale(const QStringView a, const QStringView b, const bool matchCase)
{
    return textRuntime().collator(matchCase).compare(unitsOf(a), unitsOf(b));
}

QByteArray localeSortKey(const QStringView text, const bool matchCase)
{
    return textRuntime().collator(matchCase).sortKey(unitsOf(text));
}

bool TextEquals(const QStringView a, const QStringView b) noexcept
{
    return a.size() == b.size() && std::equal(a.utf16(), a.utf16() + a.size(), b.utf16());
}

bool PrefixTest(const QStringView search, const QStringView cell)
{
    return PrefixMatcher(search).matches(cell);
}

PrefixMatcher::PrefixMatcher(const QStringView search)
    : m_foldedSearch(foldCase(search))
{
}

bool PrefixMatcher::matches(const QStringView cell) const
{
    const std::size_t wanted = m_foldedSearch.size();
    if (wanted == 0 || cell.isEmpty())
        return false;
    const char16_t* const search = m_foldedSearch.data();
    std::size_t matched = 0;
    const char16_t* const units = cell.utf16();
    const qsizetype count = cell.size();
    char16_t folded[MaxFoldedUnits];
    for (qsizetype i = 0; i < count;) {
        char32_t codePoint = units[i++];
        if (codePoint < 0x80) {
            const bool capital = codePoint >= u'A' && codePoint <= u'Z';
            const char16_t lower = static_cast<char16_t>(capital ? codePoint + 0x20 : codePoint);
            if (lower != search[matched])
                return false;
            if (++matched == wanted)
                return true;
            continue;
        }
        if (U16_IS_LEAD(codePoint) && i < count && U16_IS_TRAIL(units[i]))
            codePoint = U16_GET_SUPPLEMENTARY(codePoint, units[i++]);
        const int length = foldCodePoint(codePoint, folded);
        for (int k = 0; k < length; ++k) {
            if (folded[k] != search[matched])
                return false;
            if (++matched == wanted)
                return true;
        }
    }
    return false;
}

} // namespace text
