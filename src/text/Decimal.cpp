#include "text/Decimal.h"

#include "text/AnsiImage.h"
#include "text/EditorError.h"

#include <cstdint>
#include <optional>

namespace text {

namespace {

int hexDigitValue(const unsigned unit) noexcept
{
    if (unit >= '0' && unit <= '9')
        return static_cast<int>(unit - '0');
    if (unit >= 'a' && unit <= 'f')
        return static_cast<int>(unit - 'a' + 10);
    if (unit >= 'A' && unit <= 'F')
        return static_cast<int>(unit - 'A' + 10);
    return -1;
}

// The number rules over units that are bytes of an ANSI image, or the
// UTF-16 units of a text that is all ASCII and so its own image. Never reads
// at or beyond units + count.
template <typename Unit> std::optional<qint32> parseImage(const Unit* const units, const qsizetype count)
{
    qsizetype i = 0;
    while (i < count && units[i] == ' ')
        ++i;
    if (i == count)
        return std::nullopt;

    const auto at = [&](const qsizetype k) { return static_cast<unsigned>(units[k]); };
    qsizetype digitsFrom = -1;
    if (at(i) == '$' || at(i) == 'x' || at(i) == 'X')
        digitsFrom = i + 1;
    else if (at(i) == '0' && i + 1 < count && (at(i + 1) == 'x' || at(i + 1) == 'X'))
        digitsFrom = i + 2;

    if (digitsFrom >= 0) {
        if (digitsFrom == count)
            return std::nullopt;
        std::uint64_t value = 0;
        for (qsizetype k = digitsFrom; k < count; ++k) {
            const int digit = hexDigitValue(at(k));
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<qint32>(static_cast<std::uint32_t>(value));
    }

    const bool negative = at(i) == '-';
    if (negative || at(i) == '+')
        ++i;
    if (i == count)
        return std::nullopt;
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t magnitude = 0;
    for (; i < count; ++i) {
        const unsigned unit = at(i);
        if (unit < '0' || unit > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (unit - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return static_cast<qint32>(value);
}

bool isAscii(const QStringView text) noexcept
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString FormatDecimal(const qint32 value)
{
    // QString::number uses no locale: no grouping, "-" for a negative value.
    return QString::number(value);
}

qint32 ParseDecimal(const QStringView text)
{
    if (isAscii(text)) {
        if (const std::optional<qint32> value = parseImage(text.utf16(), text.size()))
            return *value;
        throw ConvertError(text.toString());
    }
    const QByteArray image = ToAnsiImage(text);
    const auto* const bytes = reinterpret_cast<const unsigned char*>(image.constData());
    if (const std::optional<qint32> value = parseImage(bytes, image.size()))
        return *value;
    throw ConvertError(fromAnsiImage(image));
}

} // namespace text
