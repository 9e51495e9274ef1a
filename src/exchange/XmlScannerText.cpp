// The character data of an XLIFF file: text runs, CDATA sections and the
// line breaks in them, decoded straight into the text being read.
#include "exchange/XmlScanner.h"

#include "exchange/XmlCharacters.h"

#include "xom/Utf8Codec.h"

#include <algorithm>
#include <cstring>

namespace exchange {

void XmlScanner::appendCharacter(const char32_t c, QString* out)
{
    if (out != &m_text) {
        *out += QString::fromUcs4(&c, 1);
        return;
    }
    if (!m_textWanted)
        return;
    // In CR LF form each CR, LF and CR LF of the text is one CR LF.
    if (m_crLf && (c == '\r' || c == '\n')) {
        const bool pairsWithCr = c == '\n' && m_afterCr;
        m_afterCr = c == '\r';
        if (!pairsWithCr)
            m_text += QStringLiteral("\r\n");
        return;
    }
    m_afterCr = false;
    m_text += QString::fromUcs4(&c, 1);
}

void XmlScanner::appendText(const QByteArrayView plain)
{
    if (!m_textWanted || plain.isEmpty())
        return;
    m_afterCr = false;
    // The run is checked UTF-8 without line breaks: decoded straight into
    // the text, which takes at most a unit per byte.
    const qsizetype start = m_text.size();
    m_text.resize(start + plain.size());
    const qsizetype units = xom::decodeUtf8(plain, reinterpret_cast<char16_t*>(m_text.data()) + start);
    m_text.resize(start + units);
}

void XmlScanner::readText()
{
    if (m_textWanted) {
        // The whole run is known to end before the next '<': room for it,
        // and for each line feed's CR, is taken at once, so that a large
        // text is decoded once, in place.
        const auto* const lt
            = static_cast<const char*>(std::memchr(m_data + m_at, '<', static_cast<std::size_t>(m_size - m_at)));
        const qsizetype end = lt ? lt - m_data : m_size;
        const qsizetype breaks = m_crLf ? std::count(m_data + m_at, m_data + end, '\n') : 0;
        m_text.reserve(m_text.size() + (end - m_at) + breaks);
    }
    const auto* const bytes = reinterpret_cast<const unsigned char*>(m_data);
    qsizetype runStart = m_at;
    const auto flush = [&] { appendText(QByteArrayView(m_data + runStart, m_at - runStart)); };
    while (!atEnd()) {
        // Most text is printable ASCII: eight bytes at a time are stepped
        // over while none of them needs a look of its own.
        while (m_size - m_at >= 8 && isPlainAscii(bytes + m_at))
            m_at += 8;
        if (atEnd())
            break;
        const unsigned char b = bytes[m_at];
        if (b >= 0x20 && b < 0x80 && b != '<' && b != '&' && b != ']') {
            ++m_at;
            continue;
        }
        if (b == '\t') {
            ++m_at;
        } else if (b == ']') {
            if (startsWith("]]>"))
                fail(QStringLiteral("\"]]>\" in text"));
            ++m_at;
        } else if (b >= 0x80) {
            readMultiByte();
        } else if (b == '\n' || b == '\r') {
            // XML gives CR LF and a lone CR as one LF.
            flush();
            ++m_at;
            if (b == '\r' && !atEnd() && m_data[m_at] == '\n')
                ++m_at;
            ++m_line;
            appendCharacter('\n', &m_text);
            runStart = m_at;
        } else if (b == '&') {
            flush();
            ++m_at;
            readReference(&m_text);
            runStart = m_at;
        } else if (b == '<') {
            if (m_at + 1 >= m_size || m_data[m_at + 1] != '!' || !startsWith("<![CDATA["))
                break;
            flush();
            readCdata();
            runStart = m_at;
        } else {
            failDisallowed(b);
        }
    }
    flush();
}

void XmlScanner::readCdata()
{
    m_at += 9; // <![CDATA[
    const QByteArrayView rest(m_data + m_at, m_size - m_at);
    const qsizetype end = rest.indexOf("]]>");
    if (end < 0)
        fail(QStringLiteral("a CDATA section is not closed"));
    // Its characters are text as they stand, line ends made LF.
    const qsizetype stop = m_at + end;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(m_data);
    qsizetype runStart = m_at;
    const auto flush = [&] { appendText(QByteArrayView(m_data + runStart, m_at - runStart)); };
    while (m_at < stop) {
        const unsigned char b = bytes[m_at];
        if (b >= 0x80) {
            readMultiByte();
        } else if (b == '\n' || b == '\r') {
            flush();
            ++m_at;
            if (b == '\r' && m_at < stop && m_data[m_at] == '\n')
                ++m_at;
            ++m_line;
            appendCharacter('\n', &m_text);
            runStart = m_at;
        } else if (b < 0x20 && b != '\t') {
            failDisallowed(b);
        } else {
            ++m_at;
        }
    }
    flush();
    m_at = stop + 3;
}

} // namespace exchange
