#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <exception>
#include <optional>
#include <vector>

namespace cli {

struct CsvRecord {
    int line = 0; // the physical line the record starts on, from 1
    std::vector<QString> fields;
};

// A CSV that is refused, and the line of the record it stopped at.
class CsvError : public std::exception {
public:
    CsvError(int line, QString reason);

    [[nodiscard]] int line() const noexcept { return m_line; }
    [[nodiscard]] const QString& reason() const noexcept { return m_reason; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    int m_line;
    QString m_reason;
    QByteArray m_utf8;
};

// Reads CSV as RFC 4180 describes it and as spreadsheets save it, one
// record at a time: an optional UTF-8 byte-order mark; fields separated by
// commas; records ending in CR LF or LF, the last one with or without it;
// empty lines skipped. A quoted field holds commas, doubled quotes and line
// breaks, all taken as they are. Lines are counted by their LF. Never reads
// a byte at or beyond the end of the input.
class CsvReader {
public:
    // The bytes must outlive the reader.
    explicit CsvReader(QByteArrayView bytes);

    // The next record, or nothing after the last. Throws CsvError for a
    // quote inside an unquoted field, anything but a comma or a line end
    // after a closing quote, a quoted field left open, a CR without its LF
    // outside quotes, and a field that is not UTF-8 (textOfCsvUtf8).
    [[nodiscard]] std::optional<CsvRecord> next();

private:
    [[nodiscard]] bool atEnd() const noexcept { return m_at >= m_bytes.size(); }
    [[nodiscard]] char peek(qsizetype ahead = 0) const noexcept;
    bool skipLineEnd();
    [[nodiscard]] QString readField(int recordLine);

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    int m_line = 1;
    QByteArray m_field;
};

} // namespace cli
