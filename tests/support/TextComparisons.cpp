#include "support/TextComparisons.h"

#include "text/TextCompare.h"
#include "text/TextRuntime.h"

#include <QVarLengthArray>

#include <string_view>

namespace testsupport {

namespace {

std::u16string_view unitsOf(const QStringView text) noexcept
{
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

// Room for the units of short texts on the stack; longer ones allocate.
using UnitBuffer = QVarLengthArray<char16_t, 256>;

std::u16string_view decodeInto(const QByteArrayView image, UnitBuffer& buffer)
{
    buffer.resize(image.size());
    const qsizetype length = text::textRuntime().codePage().decode(image, buffer.data());
    return {buffer.data(), static_cast<std::size_t>(length)};
}

} // namespace

int CompareLocale(const QStringView a, const QStringView b, const bool matchCase)
{
    return text::textRuntime().collator(matchCase).compare(unitsOf(a), unitsOf(b));
}

QByteArray localeSortKey(const QStringView text, const bool matchCase)
{
    return text::textRuntime().collator(matchCase).sortKey(unitsOf(text));
}

int CompareAnsiText(const QByteArrayView a, const QByteArrayView b)
{
    UnitBuffer first;
    UnitBuffer second;
    const std::u16string_view left = decodeInto(a, first);
    const std::u16string_view right = decodeInto(b, second);
    return text::textRuntime().collator(false).compare(left, right);
}

bool PrefixTest(const QStringView search, const QStringView cell)
{
    return text::PrefixMatcher(search).matches(cell);
}

} // namespace testsupport
