#include "recovery/JournalBytes.h"

#include <QSysInfo>
#include <QtEndian>

namespace recovery {

void JournalBytesOut::u32(const std::uint32_t value)
{
    const std::uint32_t little = qToLittleEndian(value);
    m_out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void JournalBytesOut::i64(const std::int64_t value)
{
    const auto bits = static_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void JournalBytesOut::text(const QString& text)
{
    u32(static_cast<std::uint32_t>(text.size()));
    // A Replace All over a million cells writes two million texts: on a
    // little-endian machine the units are copied as they stand.
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        m_out.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    } else {
        for (const QChar unit : text) {
            const char16_t code = unit.unicode();
            m_out.append(static_cast<char>(code & 0xFF));
            m_out.append(static_cast<char>(code >> 8));
        }
    }
}

void JournalBytesOut::bytes(const QByteArray& bytes)
{
    u32(static_cast<std::uint32_t>(bytes.size()));
    m_out.append(bytes);
}

std::uint8_t JournalBytesIn::u8()
{
    const std::optional<std::uint8_t> value = m_cursor.peekByte();
    if (!value)
        throw BadRecord();
    m_cursor.seek(m_cursor.position() + 1);
    return *value;
}

std::uint32_t JournalBytesIn::u32()
{
    const std::optional<std::uint32_t> value = m_cursor.readU32();
    if (!value)
        throw BadRecord();
    return *value;
}

std::int64_t JournalBytesIn::i64()
{
    const std::uint64_t low = u32();
    const std::uint64_t high = u32();
    return static_cast<std::int64_t>(low | (high << 32));
}

std::uint32_t JournalBytesIn::count(const qsizetype itemBytes)
{
    const std::uint32_t items = u32();
    if (static_cast<qsizetype>(items) > m_cursor.remaining() / itemBytes)
        throw BadRecord();
    return items;
}

QString JournalBytesIn::text()
{
    const std::uint32_t units = count(2);
    const std::optional<QByteArrayView> bytes = m_cursor.readBytes(static_cast<qsizetype>(units) * 2);
    QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
    char16_t* const out = reinterpret_cast<char16_t*>(text.data());
    for (std::uint32_t i = 0; i < units; ++i) {
        const auto low = static_cast<std::uint8_t>((*bytes)[2 * i]);
        const auto high = static_cast<std::uint8_t>((*bytes)[2 * i + 1]);
        out[i] = static_cast<char16_t>(low | (high << 8));
    }
    return text;
}

QByteArray JournalBytesIn::bytes()
{
    const std::uint32_t size = count(1);
    return m_cursor.readBytes(size)->toByteArray();
}

} // namespace recovery
