#include "xom/Utf8Codec.h"

#include <cstdint>
#include <cstring>

namespace xom {

namespace {

constexpr char16_t ReplacementCharacter = 0xFFFD;

[[nodiscard]] constexpr bool isContinuation(const std::uint8_t byte) noexcept
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

qsizetype utf8Length(const QStringView text) noexcept
{
    qsizetype length = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        length += u < 0x80 ? 1 : (u < 0x800 ? 2 : 3);
    }
    return length;
}

char* writeUtf8(const QStringView text, char* out) noexcept
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *out++ = static_cast<char>(u);
        } else if (u < 0x800) {
            *out++ = static_cast<char>(0xC0 | (u >> 6));
            *out++ = static_cast<char>(0x80 | (u & 0x3F));
        } else {
            *out++ = static_cast<char>(0xE0 | (u >> 12));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void appendUtf8(const QStringView text, QByteArray& out)
{
    const qsizetype start = out.size();
    out.resize(start + utf8Length(text));
    writeUtf8(text, out.data() + start);
}

qsizetype decodeUtf8(const QByteArrayView bytes, char16_t* const out) noexcept
{
    const auto* const data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const qsizetype size = bytes.size();
    char16_t* units = out;

    // The number of continuation bytes that follow position i + 1 on.
    const auto continuations = [&](const qsizetype i, const int wanted) {
        int found = 0;
        while (found < wanted && i + 1 + found < size && isContinuation(data[i + 1 + found]))
            ++found;
        return found;
    };

    qsizetype i = 0;
    while (i < size) {
        // Eight bytes of ASCII at a time: most of most texts.
        while (i + 8 <= size) {
            std::uint64_t eight;
            std::memcpy(&eight, data + i, sizeof eight);
            if ((eight & 0x8080'8080'8080'8080u) != 0)
                break;
            for (int b = 0; b < 8; ++b)
                units[b] = data[i + b];
            units += 8;
            i += 8;
        }
        if (i == size)
            break;
        const std::uint8_t b = data[i];
        if (b < 0x80) {
            *units++ = b;
            ++i;
        } else if (b >= 0xC0 && b <= 0xDF) {
            if (continuations(i, 1) < 1) {
                *units++ = ReplacementCharacter;
                i += 1;
                continue;
            }
            *units++ = static_cast<char16_t>(((b & 0x1F) << 6) | (data[i + 1] & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            const int found = continuations(i, 2);
            if (found < 2) {
                *units++ = ReplacementCharacter;
                i += 1 + found;
                continue;
            }
            *units++ = static_cast<char16_t>(((b & 0x0F) << 12) | ((data[i + 1] & 0x3F) << 6) | (data[i + 2] & 0x3F));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            const int found = continuations(i, 3);
            if (found < 3) {
                *units++ = ReplacementCharacter;
                i += 1 + found;
                continue;
            }
            const char32_t codePoint = (char32_t(b & 0x07) << 18) | (char32_t(data[i + 1] & 0x3F) << 12)
                                     | (char32_t(data[i + 2] & 0x3F) << 6) | char32_t(data[i + 3] & 0x3F);
            if (codePoint >= 0x10000 && codePoint <= 0x10FFFF) {
                const char32_t offset = codePoint - 0x10000;
                *units++ = static_cast<char16_t>(0xD800 + (offset >> 10));
                *units++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
            } else {
                *units++ = ReplacementCharacter;
            }
            i += 4;
        } else {
            // A stray continuation byte or F5 .. FF: no sequence starts here.
            *units++ = ReplacementCharacter;
            ++i;
        }
    }
    return units - out;
}

} // namespace xom
