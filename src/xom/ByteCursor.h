#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace xom {

// A read position in the loaded bytes that knows how many bytes remain.
// Never reads a byte at or beyond the end: every read that would gives
// nothing and leaves the position unchanged.
class ByteCursor {
public:
    explicit ByteCursor(QByteArrayView bytes, qsizetype position = 0) noexcept
        : m_bytes(bytes)
        , m_position(position)
    {
    }

    [[nodiscard]] qsizetype position() const noexcept { return m_position; }
    [[nodiscard]] qsizetype remaining() const noexcept
    {
        return m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    }
    [[nodiscard]] bool atEnd() const noexcept { return remaining() == 0; }
    void seek(qsizetype position) noexcept { m_position = position; }

    [[nodiscard]] std::optional<std::uint8_t> peekByte(qsizetype ahead = 0) const noexcept
    {
        if (ahead < 0 || remaining() <= ahead)
            return std::nullopt;
        return static_cast<std::uint8_t>(m_bytes[m_position + ahead]);
    }

    // A little-endian u32.
    [[nodiscard]] std::optional<std::uint32_t> readU32() noexcept
    {
        if (remaining() < 4)
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<std::uint8_t>(m_bytes[m_position + i]);
        m_position += 4;
        return value;
    }

    // The next count bytes, or nothing when fewer remain.
    [[nodiscard]] std::optional<QByteArrayView> readBytes(qsizetype count) noexcept
    {
        if (count < 0 || remaining() < count)
            return std::nullopt;
        const QByteArrayView view = m_bytes.sliced(m_position, count);
        m_position += count;
        return view;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_position;
};

} // namespace xom
