#pragma once

#include "text/AnsiImage.h"

#include <QByteArrayView>

#include <cstdint>

namespace xom {

// A byte string kept in a shared arena (an ANSI image, a collation key),
// with its first sixteen bytes beside it, big-endian in two words and padded
// with zeros, so that most comparisons never reach the arena. A shorter
// string padded with zeros never orders wrongly against a longer one: a real
// zero byte only ties, and ties go to the whole strings.
struct ArenaKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::int32_t index = 0; // whose key it is: a list index, a row

    ArenaKey(const unsigned char* arena, const std::uint32_t keyOffset, const std::uint32_t keyLength,
        const std::int32_t keyIndex) noexcept
        : offset(keyOffset)
        , length(keyLength)
        , index(keyIndex)
    {
        for (std::uint32_t b = 0; b < 16; ++b) {
            const std::uint64_t byte = b < length ? arena[offset + b] : 0u;
            (b < 8 ? high : low) = ((b < 8 ? high : low) << 8) | byte;
        }
    }

    // The byte order of the two strings, as CompareAnsiOrdinal gives it.
    [[nodiscard]] int compare(const ArenaKey& other, const unsigned char* arena) const noexcept
    {
        if (high != other.high)
            return high < other.high ? -1 : 1;
        if (low != other.low)
            return low < other.low ? -1 : 1;
        return text::CompareAnsiOrdinal(
            QByteArrayView(arena + offset, length), QByteArrayView(arena + other.offset, other.length));
    }
};

} // namespace xom
