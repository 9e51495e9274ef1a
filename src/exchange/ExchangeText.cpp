#include "exchange/ExchangeText.h"

#include "xom/Utf8Codec.h"

namespace exchange {

QByteArray exchangeUtf8(const QStringView text)
{
    QByteArray out;
    out.reserve(xom::utf8Length(text));
    const qsizetype size = text.size();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (!text[i].isHighSurrogate() || !text[i + 1].isLowSurrogate())
            continue;
        // Everything but a pair is what the editor's own codec writes.
        xom::appendUtf8(text.sliced(runStart, i - runStart), out);
        const char32_t c = QChar::surrogateToUcs4(text[i], text[i + 1]);
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
        runStart = i + 2;
        ++i;
    }
    xom::appendUtf8(text.sliced(runStart), out);
    return out;
}

std::optional<QString> textOfExchangeUtf8(const QByteArrayView bytes)
{
    // Standard UTF-8 (what nearly every field is) decodes without a
    // replacement character, and exchangeUtf8 writes it back as it was. Qt's
    // decoder drops a leading byte-order mark, which a field keeps.
    QString text;
    if (!bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes);
        if (!text.contains(QChar::ReplacementCharacter))
            return text;
    }
    // The editor's decoder reads everything exchangeUtf8 writes, lone surrogates
    // included; whatever it had to repair or read leniently does not encode
    // back to the same bytes.
    text = xom::DecodeUtf8(bytes);
    if (exchangeUtf8(text) != bytes)
        return std::nullopt;
    return text;
}

} // namespace exchange
