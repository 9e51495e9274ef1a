#include "cli/CsvReader.h"

#include "cli/CsvText.h"

#include <utility>

namespace cli {

CsvError::CsvError(const int line, QString reason)
    : m_line(line)
    , m_reason(std::move(reason))
    , m_utf8(QStringLiteral("line %1: %2").arg(m_line).arg(m_reason).toUtf8())
{
}

CsvReader::CsvReader(const QByteArrayView bytes)
    : m_bytes(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes)
{
}

std::optional<CsvRecord> CsvReader::next()
{
    while (skipLineEnd()) { }
    if (atEnd())
        return std::nullopt;
    CsvRecord record{m_line, {}};
    for (;;) {
        record.fields.push_back(readField(record.line));
        if (atEnd() || skipLineEnd())
            return record;
        const char separator = peek();
        if (separator == ',')
            ++m_at;
        else if (separator == '\r')
            throw CsvError(record.line, QStringLiteral("carriage return without a line feed outside quotes"));
        else
            throw CsvError(record.line, QStringLiteral("unexpected character after a closing quote"));
    }
}

char CsvReader::peek(const qsizetype ahead) const noexcept
{
    return m_at + ahead < m_bytes.size() ? m_bytes[m_at + ahead] : '\0';
}

// Steps over an LF or a CR LF; false when neither comes next.
bool CsvReader::skipLineEnd()
{
    if (peek() == '\n')
        m_at += 1;
    else if (peek() == '\r' && peek(1) == '\n')
        m_at += 2;
    else
        return false;
    ++m_line;
    return true;
}

// Stops at the comma or line end after the field, or at the end.
QString CsvReader::readField(const int recordLine)
{
    m_field.resize(0); // keeps its capacity for the next field
    if (peek() == '"') {
        ++m_at;
        for (;;) {
            if (atEnd())
                throw CsvError(recordLine, QStringLiteral("quoted field without its closing quote"));
            const char b = m_bytes[m_at++];
            if (b == '"') {
                if (peek() != '"')
                    break;
                ++m_at;
            } else if (b == '\n') {
                ++m_line;
            }
            m_field += b;
        }
    } else {
        const qsizetype start = m_at;
        while (!atEnd() && peek() != ',' && peek() != '\r' && peek() != '\n') {
            if (peek() == '"')
                throw CsvError(recordLine, QStringLiteral("quote inside an unquoted field"));
            ++m_at;
        }
        m_field.append(m_bytes.sliced(start, m_at - start));
    }
    std::optional<QString> text = textOfCsvUtf8(m_field);
    if (!text)
        throw CsvError(recordLine, QStringLiteral("field is not UTF-8"));
    return *std::move(text);
}

} // namespace cli
