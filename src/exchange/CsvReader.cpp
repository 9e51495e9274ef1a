#include "exchange/CsvReader.h"

#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace exchange {

namespace {

// The UTF-8 (exchangeUtf8) of UTF-16 bytes after their byte-order mark, lone
// surrogates kept.
QByteArray utf8OfUtf16(const QByteArrayView bytes, const bool bigEndian)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    char16_t* const units = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units[i / 2] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0) {
        const auto lines = static_cast<int>(std::count(text.cbegin(), text.cend(), u'\n'));
        throw ImportError(lines + 1, QStringLiteral("UTF-16 text ends in half a character"));
    }
    return exchangeUtf8(text);
}

// The character after "number" or "\"number\"" at the start of the header.
char separatorOfHeader(const QByteArrayView bytes)
{
    QByteArrayView rest = bytes;
    const bool quoted = rest.startsWith('"');
    if (quoted)
        rest = rest.sliced(1);
    if (!rest.startsWith("number"))
        return ',';
    rest = rest.sliced(6);
    if (quoted) {
        if (!rest.startsWith('"'))
            return ',';
        rest = rest.sliced(1);
    }
    if (rest.startsWith(';') || rest.startsWith('\t'))
        return rest.front();
    return ',';
}

} // namespace

CsvReader::CsvReader(const QByteArrayView bytes)
{
    // UTF-32's marks begin like UTF-16's: they are told apart first.
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\x00\x00", 4))
        || bytes.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4)))
        throw ImportError(1, QStringLiteral("UTF-32 text is not read: save the file as UTF-8 or UTF-16"));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        m_utf8 = utf8OfUtf16(bytes.sliced(2), bytes.startsWith("\xFE"));
        m_bytes = m_utf8;
    } else {
        m_bytes = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    }
    // A file saved twice over by a careless tool: the header would read
    // as a field that starts with U+FEFF.
    if (m_bytes.startsWith("\xEF\xBB\xBF"))
        throw ImportError(1, QStringLiteral("a second byte-order mark after the first"));
    m_separator = separatorOfHeader(m_bytes);
}

bool CsvReader::next()
{
    while (skipLineEnd()) { }
    if (atEnd())
        return false;
    m_recordLine = m_line;
    m_fields.clear();
    for (std::size_t index = 0;; ++index) {
        readField(index);
        const QByteArrayView field = m_fields.back();
        if (!field.isEmpty() && std::memchr(field.data(), '\0', static_cast<std::size_t>(field.size())))
            throw ImportError(m_recordLine, QStringLiteral("NUL byte in a field"));
        if (atEnd() || skipLineEnd())
            return true;
        const char after = m_bytes[m_at];
        if (after == m_separator)
            ++m_at;
        else if (after == '\r')
            throw ImportError(m_recordLine, QStringLiteral("carriage return without a line feed outside quotes"));
        else
            throw ImportError(m_recordLine, QStringLiteral("unexpected character after a closing quote"));
    }
}

// Steps over an LF or a CR LF; false when neither comes next.
bool CsvReader::skipLineEnd() noexcept
{
    if (atEnd())
        return false;
    if (m_bytes[m_at] == '\n') {
        m_at += 1;
    } else if (m_bytes[m_at] == '\r' && m_at + 1 < m_bytes.size() && m_bytes[m_at + 1] == '\n') {
        m_at += 2;
    } else {
        return false;
    }
    ++m_line;
    return true;
}

// Stops at the separator or line end after the field, or at the end.
void CsvReader::readField(const std::size_t index)
{
    if (!atEnd() && m_bytes[m_at] == '"') {
        readQuotedField(index);
        return;
    }
    const qsizetype start = m_at;
    const char separator = m_separator;
    const char* const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    qsizetype at = m_at;
    for (; at < size; ++at) {
        const char b = data[at];
        if (b == separator || b == '\n' || b == '\r')
            break;
        if (b == '"')
            throw ImportError(m_recordLine, QStringLiteral("quote inside an unquoted field"));
    }
    m_at = at;
    m_fields.push_back(m_bytes.sliced(start, at - start));
}

void CsvReader::readQuotedField(const std::size_t index)
{
    ++m_at; // the opening quote
    const char* const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    qsizetype start = m_at;
    bool doubled = false;
    for (;;) {
        const auto* const quote
            = static_cast<const char*>(std::memchr(data + m_at, '"', static_cast<std::size_t>(size - m_at)));
        if (!quote)
            throw ImportError(m_recordLine, QStringLiteral("quoted field without its closing quote"));
        const qsizetype at = quote - data;
        m_line += static_cast<int>(std::count(data + m_at, quote, '\n'));
        m_at = at + 1;
        const bool isDoubled = m_at < size && data[m_at] == '"';
        if (!isDoubled && !doubled) {
            m_fields.push_back(m_bytes.sliced(start, at - start));
            return;
        }
        if (!doubled) {
            if (m_unquoted.size() <= index)
                m_unquoted.resize(index + 1);
            m_unquoted[index].resize(0); // keeps its capacity
            doubled = true;
        }
        // Up to and with one quote of a pair, or up to the closing quote.
        m_unquoted[index].append(m_bytes.sliced(start, at - start + (isDoubled ? 1 : 0)));
        if (!isDoubled) {
            m_fields.push_back(m_unquoted[index]);
            return;
        }
        ++m_at;
        start = m_at;
    }
}

} // namespace exchange
