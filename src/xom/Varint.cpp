#include "xom/Varint.h"

namespace xom {

namespace {
constexpr int MaxVarintBytesRead = 4;
constexpr std::uint8_t MoreBit = 0x80;
constexpr std::uint8_t GroupMask = 0x7F;
} // namespace

std::optional<qint32> ReadVarint(ByteCursor& cursor)
{
    std::uint32_t value = 0;
    for (int group = 0; group < MaxVarintBytesRead; ++group) {
        const auto byte = cursor.peekByte(group);
        if (!byte)
            return std::nullopt;
        value |= static_cast<std::uint32_t>(*byte & GroupMask) << (7 * group);
        // The fourth byte ends the value whatever its top bit says.
        if (!(*byte & MoreBit) || group == MaxVarintBytesRead - 1) {
            cursor.seek(cursor.position() + group + 1);
            return static_cast<qint32>(value);
        }
    }
    return std::nullopt; // not reached
}

char* WriteVarint(char* out, std::uint32_t v) noexcept
{
    while (v >> 7) {
        *out++ = static_cast<char>((v & 0xFF) | MoreBit);
        v >>= 7;
    }
    *out++ = static_cast<char>(v);
    return out;
}

} // namespace xom
