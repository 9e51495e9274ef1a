#pragma once

// The characters XML 1.0 gives a meaning to, as the scanner tells them
// apart byte by byte.

#include <array>
#include <cstdint>
#include <cstring>

namespace exchange {

[[nodiscard]] inline bool isXmlSpace(const char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

[[nodiscard]] constexpr bool isNameStart(const unsigned char b) noexcept
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b == ':' || b >= 0x80;
}

// The bytes a name continues with, looked up rather than worked out: names
// are most of an XLIFF file's markup.
inline constexpr std::array<bool, 256> NameBytes = [] {
    std::array<bool, 256> bytes{};
    for (int b = 0; b < 256; ++b) {
        const auto u = static_cast<unsigned char>(b);
        bytes[static_cast<std::size_t>(b)] = isNameStart(u) || (u >= '0' && u <= '9') || u == '-' || u == '.';
    }
    return bytes;
}();

[[nodiscard]] inline bool isNameByte(const unsigned char b) noexcept
{
    return NameBytes[b];
}

// Char ::= #x9 | #xA | #xD | [#x20-#xD7FF] | [#xE000-#xFFFD] | [#x10000-#x10FFFF]
[[nodiscard]] inline bool isXmlCharacter(const char32_t c) noexcept
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Whether eight bytes are all printable ASCII other than '<', '&' and ']':
// text that needs no look of its own. Each test sets a byte's top bit
// where the byte is what it looks for.
[[nodiscard]] inline bool isPlainAscii(const unsigned char* bytes) noexcept
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    constexpr std::uint64_t Highs = 0x8080808080808080u;
    const auto equalTo = [&](const unsigned char c) {
        const std::uint64_t x = word ^ (Ones * c);
        return (x - Ones) & ~x & Highs;
    };
    const std::uint64_t control = (word - Ones * 0x20) & ~word & Highs; // below 0x20
    const std::uint64_t high = word & Highs;                            // 0x80 and above
    return (control | high | equalTo('<') | equalTo('&') | equalTo(']')) == 0;
}

} // namespace exchange
