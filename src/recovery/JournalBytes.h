#pragma once

#include "xom/ByteCursor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace recovery {

// The journal's plain values, little-endian: integers of fixed width, and
// texts as a count of UTF-16 code units and the units themselves, so that
// every code unit a text held (a lone surrogate too) comes back.
class JournalBytesOut {
public:
    explicit JournalBytesOut(QByteArray& out) noexcept
        : m_out(out)
    {
    }
    void u8(std::uint8_t value) { m_out.append(static_cast<char>(value)); }
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void i64(std::int64_t value);
    void text(const QString& text);
    void bytes(const QByteArray& bytes);
    // Room for about this many more bytes, so that a large record grows
    // its buffer rarely.
    void reserveMore(qsizetype bytes) { m_out.reserve(m_out.size() + bytes); }

private:
    QByteArray& m_out;
};

// A record that does not hold what its kind needs.
class BadRecord : public std::runtime_error {
public:
    BadRecord()
        : std::runtime_error("bad journal record")
    {
    }
};

// Reads what JournalBytesOut wrote; every read past the end or of a count
// larger than the bytes left could hold throws BadRecord, before anything
// is allocated for it.
class JournalBytesIn {
public:
    explicit JournalBytesIn(QByteArrayView bytes) noexcept
        : m_cursor(bytes)
    {
    }
    [[nodiscard]] std::uint8_t u8();
    [[nodiscard]] std::uint32_t u32();
    [[nodiscard]] std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    [[nodiscard]] std::int64_t i64();
    [[nodiscard]] QString text();
    [[nodiscard]] QByteArray bytes();
    // A count of items each at least itemBytes long.
    [[nodiscard]] std::uint32_t count(qsizetype itemBytes);
    [[nodiscard]] bool atEnd() const noexcept { return m_cursor.atEnd(); }

private:
    xom::ByteCursor m_cursor;
};

} // namespace recovery
