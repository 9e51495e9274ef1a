#pragma once

#include "xom/ByteCursor.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace xom {

// Reads a varint at the cursor: 7-bit groups, least significant first, bit
// 0x80 meaning another byte follows; at most four bytes are read (28 bits of
// value), the fourth byte's 0x80 bit being ignored. Leaves the cursor past the
// last byte consumed. Gives nothing, and leaves the cursor where it was, when
// the varint runs past the end of the bytes.
[[nodiscard]] std::optional<qint32> ReadVarint(ByteCursor& cursor);

// Writes v at out as a varint, as many bytes as the value needs (five from
// 2^28 up), and gives the position past them; out must have room for
// varintLength(v) bytes.
char* WriteVarint(char* out, std::uint32_t v) noexcept;

// The most bytes a varint takes: varintLength of any 32-bit value.
inline constexpr std::size_t LargestVarint = 5;

[[nodiscard]] constexpr int varintLength(std::uint32_t v) noexcept
{
    int length = 1;
    while (v >>= 7)
        ++length;
    return length;
}

} // namespace xom
