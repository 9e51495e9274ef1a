#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace exchange {

// Reads CSV as RFC 4180 describes it and as spreadsheets save it, one
// record at a time, in one pass over the bytes.
//
// The bytes are UTF-8, with or without a byte-order mark, or UTF-16 (little
// or big endian) announced by its byte-order mark ("Unicode text"), which is
// read as the UTF-8 of the same text. The separator is the comma, the
// semicolon or the tab that follows "number" on the first line (a comma
// when none does). Records end in CR LF or LF, the last one with or without
// it; empty lines are skipped. A quoted field holds separators, doubled
// quotes and line breaks, all taken as they are. Lines are counted by their
// LF. Never reads a byte at or beyond the end of the input.
class CsvReader {
public:
    // The bytes must outlive the reader. Throws ImportError for UTF-16 that
    // ends in half a code unit, for UTF-32, and for a second byte-order mark
    // after the first.
    explicit CsvReader(QByteArrayView bytes);
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // Reads the next record; false after the last. Throws ImportError for
    // a quote inside an unquoted field, anything but a separator or a line
    // end after a closing quote, a quoted field left open, a CR without its
    // LF outside quotes, and a NUL byte in a field.
    [[nodiscard]] bool next();

    // The line the record read last starts on, from 1.
    [[nodiscard]] int line() const noexcept { return m_recordLine; }
    // Its fields' bytes, quotes taken off and doubled quotes made single;
    // valid until the next call of next.
    [[nodiscard]] const std::vector<QByteArrayView>& fields() const noexcept { return m_fields; }
    [[nodiscard]] char separator() const noexcept { return m_separator; }

private:
    [[nodiscard]] bool atEnd() const noexcept { return m_at >= m_bytes.size(); }
    bool skipLineEnd() noexcept;
    void readField(std::size_t index);
    void readQuotedField(std::size_t index);

    QByteArray m_utf8; // the text of a UTF-16 input
    QByteArrayView m_bytes;
    char m_separator = ',';
    qsizetype m_at = 0;
    int m_line = 1;
    int m_recordLine = 0;
    std::vector<QByteArrayView> m_fields;
    // Where a field with doubled quotes is made whole, one buffer per
    // column, kept with its capacity from record to record.
    std::vector<QByteArray> m_unquoted;
};

} // namespace exchange
