#include "cli/JsonText.h"

namespace cli {

namespace {

void appendEscaped(const char16_t unit, QByteArray& out)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    if (unit == u'"' || unit == u'\\') {
        out += '\\';
        out += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit <= 0x7E) {
        out += static_cast<char>(unit);
    } else {
        const char escape[]
            = {'\\', 'u', Hex[(unit >> 12) & 0xF], Hex[(unit >> 8) & 0xF], Hex[(unit >> 4) & 0xF], Hex[unit & 0xF]};
        out.append(escape, sizeof escape);
    }
}

// Many JSON readers hold numbers as doubles, which keep every integer of up
// to 15 digits exactly.
constexpr qsizetype MaxNumberDigits = 15;

[[nodiscard]] bool isCanonicalDecimal(const QStringView cell)
{
    if (cell.isEmpty() || cell.size() > MaxNumberDigits || (cell.front() == u'0' && cell.size() > 1))
        return false;
    for (const QChar c : cell) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

void appendJsonText(const QStringView text, QByteArray& out)
{
    out += '"';
    for (const QChar c : text)
        appendEscaped(c.unicode(), out);
    out += '"';
}

void appendJsonBytes(const QByteArrayView bytes, QByteArray& out)
{
    out += '"';
    for (const char b : bytes)
        appendEscaped(static_cast<unsigned char>(b), out);
    out += '"';
}

void appendJsonNumberCell(const QStringView cell, QByteArray& out)
{
    if (isCanonicalDecimal(cell))
        out += cell.toLatin1();
    else
        appendJsonText(cell, out);
}

} // namespace cli
