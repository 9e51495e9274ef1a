#include "text/FieldEscapes.h"

namespace text {

// Whether any unit of text needs an escape: most texts need none and are
// appended whole (a million-line file is written in a fraction of the
// time). Surrogates send a text to the careful path, which keeps pairs.
bool needsFieldEscapes(const QStringView text)
{
    for (const QChar unit : text) {
        const char16_t code = unit.unicode();
        if (code == u'\\' || code == u'\t' || code == u'\n' || code == u'\r' || (code >= 0xD800 && code <= 0xDFFF))
            return true;
    }
    return false;
}

// Appends text with tabs, line breaks, backslashes and lone surrogates
// escaped.
void appendEscapedField(QString& out, const QString& text)
{
    if (!needsFieldEscapes(text)) {
        out += text;
        return;
    }
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar unit = text[i];
        switch (unit.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            continue;
        case u'\t':
            out += QLatin1String("\\t");
            continue;
        case u'\n':
            out += QLatin1String("\\n");
            continue;
        case u'\r':
            out += QLatin1String("\\r");
            continue;
        default:
            break;
        }
        if (unit.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            out += unit;
            out += text[++i];
        } else if (unit.isSurrogate()) {
            out += QStringLiteral("\\u%1").arg(unit.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += unit;
        }
    }
}

namespace {

int hexValue(const QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<QString> unescapedField(const QStringView field, const UnitEscapes units)
{
    if (!field.contains(u'\\'))
        return field.toString();
    QString text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\') {
            text += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i].unicode()) {
        case u'\\':
            text += u'\\';
            break;
        case u't':
            text += u'\t';
            break;
        case u'n':
            text += u'\n';
            break;
        case u'r':
            text += u'\r';
            break;
        case u'u': {
            if (units == UnitEscapes::Refused || i + 4 >= field.size())
                return std::nullopt;
            int unit = 0;
            for (int digit = 1; digit <= 4; ++digit) {
                const int value = hexValue(field[i + digit]);
                if (value < 0)
                    return std::nullopt;
                unit = unit * 16 + value;
            }
            text += QChar(static_cast<char16_t>(unit));
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return text;
}

} // namespace text
