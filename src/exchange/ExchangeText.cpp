#include "exchange/ExchangeText.h"

#include "xom/Utf8Codec.h"

#include <cstdint>
#include <cstring>

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

namespace {

[[nodiscard]] bool isContinuation(const unsigned char b) noexcept
{
    return (b & 0xC0) == 0x80;
}

// The length of the sequence at bytes[i] as exchangeUtf8 writes it, or 0:
// standard UTF-8, and the three-byte form of a surrogate that is not half
// of a pair (a pair is written as one four-byte sequence).
[[nodiscard]] int sequenceLength(const unsigned char* bytes, const qsizetype i, const qsizetype size) noexcept
{
    const unsigned char lead = bytes[i];
    const qsizetype left = size - i;
    if (lead >= 0xC2 && lead <= 0xDF)
        return left >= 2 && isContinuation(bytes[i + 1]) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !isContinuation(bytes[i + 1]) || !isContinuation(bytes[i + 2]))
            return 0;
        if (lead == 0xE0 && bytes[i + 1] < 0xA0)
            return 0; // overlong
        // A high surrogate's form straight before a low one's is a pair
        // written half by half.
        const bool high = lead == 0xED && bytes[i + 1] >= 0xA0 && bytes[i + 1] <= 0xAF;
        const bool lowFollows = left >= 6 && bytes[i + 3] == 0xED && bytes[i + 4] >= 0xB0 && bytes[i + 4] <= 0xBF
                             && isContinuation(bytes[i + 5]);
        return high && lowFollows ? 0 : 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !isContinuation(bytes[i + 1]) || !isContinuation(bytes[i + 2]) || !isContinuation(bytes[i + 3]))
            return 0;
        if ((lead == 0xF0 && bytes[i + 1] < 0x90) || (lead == 0xF4 && bytes[i + 1] > 0x8F))
            return 0; // overlong, or beyond U+10FFFF
        return 4;
    }
    return 0;
}

} // namespace

bool appendExchangeText(const QByteArrayView bytes, QString& out, const DecodedBreaks breaks)
{
    const auto* const data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    const bool crLf = breaks == DecodedBreaks::CrLf;
    // First the bytes are checked and the units they give counted, each
    // lone CR or LF taking one more in CR LF form.
    qsizetype units = 0;
    for (qsizetype i = 0; i < size;) {
        const unsigned char b = data[i];
        if (b < 0x80) {
            if (crLf && b == '\n' && (i == 0 || data[i - 1] != '\r'))
                ++units;
            else if (crLf && b == '\r' && (i + 1 == size || data[i + 1] != '\n'))
                ++units;
            ++units;
            ++i;
            continue;
        }
        const int length = sequenceLength(data, i, size);
        if (length == 0)
            return false;
        units += length == 4 ? 2 : 1;
        i += length;
    }
    // Then decoded, run by run between line breaks: the editor's decoder
    // reads exactly these forms.
    const qsizetype start = out.size();
    out.resize(start + units);
    char16_t* const units16 = reinterpret_cast<char16_t*>(out.data()) + start;
    qsizetype written = 0;
    qsizetype runStart = 0;
    const auto flush = [&](const qsizetype end) {
        written += xom::decodeUtf8(bytes.sliced(runStart, end - runStart), units16 + written);
    };
    if (crLf) {
        for (qsizetype i = 0; i < size; ++i) {
            const unsigned char b = data[i];
            if (b != '\r' && b != '\n')
                continue;
            flush(i);
            if (b == '\r' && i + 1 < size && data[i + 1] == '\n')
                ++i;
            units16[written++] = u'\r';
            units16[written++] = u'\n';
            runStart = i + 1;
        }
    }
    flush(size);
    Q_ASSERT(written == units);
    return true;
}

} // namespace exchange
