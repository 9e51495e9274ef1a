#include "exchange/XmlScanner.h"

#include "exchange/EntryImport.h"
#include "exchange/ImportError.h"
#include "exchange/XmlCharacters.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace exchange {

namespace {

[[nodiscard]] QString shownName(const QByteArrayView name)
{
    return shownInMessage(QString::fromUtf8(name.first(std::min<qsizetype>(name.size(), 320))));
}

const QString XmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

} // namespace

XmlScanner::XmlScanner(const QByteArrayView bytes, const bool fromUtf16)
    : m_data(bytes.data())
    , m_size(bytes.size())
{
    if (startsWith("<?xml") && m_size > 5 && isXmlSpace(m_data[5]))
        readXmlDeclaration(fromUtf16);
}

void XmlScanner::fail(const QString& reason) const
{
    throw ImportError(m_line, reason);
}

void XmlScanner::failDisallowed(const char32_t c) const
{
    const QString codePoint = QStringLiteral("%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
    fail(QStringLiteral("character U+%1, which XML does not allow").arg(codePoint));
}

bool XmlScanner::startsWith(const QByteArrayView prefix) const noexcept
{
    return m_size - m_at >= prefix.size() && std::memcmp(m_data + m_at, prefix.data(), prefix.size()) == 0;
}

void XmlScanner::advance(const qsizetype bytes) noexcept
{
    m_line += static_cast<int>(std::count(m_data + m_at, m_data + m_at + bytes, '\n'));
    m_at += bytes;
}

void XmlScanner::skipWhitespace() noexcept
{
    while (!atEnd() && isXmlSpace(m_data[m_at])) {
        if (m_data[m_at] == '\n')
            ++m_line;
        ++m_at;
    }
}

void XmlScanner::setTextWanted(const bool wanted, const bool crLfLineBreaks) noexcept
{
    m_textWanted = wanted;
    m_crLf = crLfLineBreaks;
    m_afterCr = false;
    m_text.clear();
}

std::optional<QString> XmlScanner::attribute(const QByteArrayView name) const
{
    for (const Attribute& attribute : m_attributes) {
        if (attribute.qualifiedName == name)
            return attribute.value();
    }
    return std::nullopt;
}

XmlScanner::Token XmlScanner::next()
{
    if (m_pendingEnd) {
        // The end of an empty-element tag: the element's names stay.
        m_pendingEnd = false;
        m_depth = static_cast<int>(m_open.size());
        m_attributes.clear();
        m_bindings.resize(m_open.back().bindings);
        m_open.pop_back();
        m_rootClosed = m_open.empty();
        return Token::EndElement;
    }
    for (;;) {
        m_tokenLine = m_line;
        if (atEnd()) {
            if (!m_open.empty())
                fail(QStringLiteral("the document ends inside <%1>").arg(shownName(m_open.back().name)));
            if (!m_seenRoot)
                fail(QStringLiteral("the document has no root element"));
            return Token::EndOfDocument;
        }
        if (m_data[m_at] != '<') {
            if (m_open.empty()) {
                skipWhitespace();
                if (!atEnd() && m_data[m_at] != '<')
                    fail(QStringLiteral("text outside the root element"));
                continue;
            }
            m_depth = static_cast<int>(m_open.size());
            readText();
            return Token::Text;
        }
        // The byte after '<' tells the markup apart; tags are most of it.
        const char second = m_at + 1 < m_size ? m_data[m_at + 1] : '\0';
        if (second == '/') {
            readEndTag();
            return Token::EndElement;
        }
        if (second == '?') {
            skipProcessingInstruction();
        } else if (second != '!') {
            readStartTag();
            return Token::StartElement;
        } else if (startsWith("<!--")) {
            skipComment();
        } else if (startsWith("<![CDATA[")) {
            if (m_open.empty())
                fail(QStringLiteral("a CDATA section outside the root element"));
            m_depth = static_cast<int>(m_open.size());
            readText();
            return Token::Text;
        } else if (startsWith("<!DOCTYPE")) {
            if (m_seenRoot)
                fail(QStringLiteral("a DOCTYPE after the root element"));
            skipDoctype();
        } else {
            fail(QStringLiteral("\"<!\" starts no comment, CDATA section or DOCTYPE"));
        }
    }
}

QByteArrayView XmlScanner::readName()
{
    const qsizetype start = m_at;
    if (atEnd() || !isNameStart(static_cast<unsigned char>(m_data[m_at])))
        return {};
    while (!atEnd() && isNameByte(static_cast<unsigned char>(m_data[m_at]))) {
        if (static_cast<unsigned char>(m_data[m_at]) >= 0x80)
            readMultiByte();
        else
            ++m_at;
    }
    return QByteArrayView(m_data + start, m_at - start);
}

char32_t XmlScanner::readMultiByte()
{
    const auto* const bytes = reinterpret_cast<const unsigned char*>(m_data);
    const unsigned char lead = bytes[m_at];
    const auto refuse = [this] { fail(QStringLiteral("bytes that are not UTF-8 (at byte %1)").arg(m_at)); };
    int length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        refuse();
    }
    if (m_size - m_at < length)
        refuse();
    for (int k = 1; k < length; ++k) {
        const unsigned char b = bytes[m_at + k];
        if ((b & 0xC0) != 0x80)
            refuse();
        c = (c << 6) | (b & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        refuse();
    if (!isXmlCharacter(c))
        failDisallowed(c);
    m_at += length;
    return c;
}

void XmlScanner::readXmlDeclaration(const bool fromUtf16)
{
    const char* const end = static_cast<const char*>(std::memchr(m_data, '>', static_cast<std::size_t>(m_size)));
    if (!end || end == m_data || end[-1] != '?')
        fail(QStringLiteral("the XML declaration is not closed"));
    const QByteArrayView declaration(m_data, end - m_data);
    const qsizetype encoding = declaration.indexOf("encoding");
    if (encoding >= 0) {
        qsizetype at = encoding + 8;
        while (at < declaration.size() && (isXmlSpace(declaration[at]) || declaration[at] == '='))
            ++at;
        const char quote = at < declaration.size() ? declaration[at] : '\0';
        const qsizetype close = quote == '"' || quote == '\'' ? declaration.indexOf(quote, at + 1) : -1;
        if (close < 0)
            fail(QStringLiteral("the XML declaration's encoding has no quoted value"));
        const QByteArrayView name = declaration.sliced(at + 1, close - at - 1);
        const bool utf8
            = name.compare("UTF-8", Qt::CaseInsensitive) == 0 || name.compare("UTF8", Qt::CaseInsensitive) == 0;
        const bool utf16
            = fromUtf16
           && QByteArrayView(name).first(std::min<qsizetype>(name.size(), 6)).compare("UTF-16", Qt::CaseInsensitive)
                  == 0;
        if (!utf8 && !utf16)
            fail(QStringLiteral("the encoding %1 is not read: save the file as UTF-8").arg(shownName(name)));
    }
    advance(end - m_data + 1);
}

void XmlScanner::skipComment()
{
    m_at += 4; // <!--
    for (;;) {
        const auto* const dash
            = static_cast<const char*>(std::memchr(m_data + m_at, '-', static_cast<std::size_t>(m_size - m_at)));
        if (!dash || m_data + m_size - dash < 3)
            fail(QStringLiteral("a comment is not closed"));
        advance(dash - (m_data + m_at));
        if (dash[1] == '-') {
            if (dash[2] != '>')
                fail(QStringLiteral("\"--\" inside a comment"));
            m_at += 3;
            return;
        }
        ++m_at;
    }
}

void XmlScanner::skipProcessingInstruction()
{
    m_at += 2; // <?
    const QByteArrayView target = readName();
    if (target.isEmpty())
        fail(QStringLiteral("\"<?\" starts no processing instruction"));
    if (target.compare("xml", Qt::CaseInsensitive) == 0)
        fail(QStringLiteral("an XML declaration that does not start the document"));
    const QByteArrayView rest(m_data + m_at, m_size - m_at);
    const qsizetype end = rest.indexOf("?>");
    if (end < 0)
        fail(QStringLiteral("a processing instruction is not closed"));
    advance(end + 2);
}

void XmlScanner::skipDoctype()
{
    m_at += 9; // <!DOCTYPE
    char quote = '\0';
    bool inSubset = false;
    while (!atEnd()) {
        const char c = m_data[m_at];
        if (quote) {
            if (c == quote)
                quote = '\0';
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (inSubset && startsWith("<!--")) {
            skipComment();
            continue;
        } else if (inSubset && startsWith("<!ENTITY")) {
            // Entities are how XML is made to read other files or to grow
            // without bound; an exchange file needs none.
            fail(QStringLiteral("the DOCTYPE declares entities, which this file has no use for"));
        } else if (c == '[') {
            inSubset = true;
        } else if (c == ']') {
            inSubset = false;
        } else if (c == '>' && !inSubset) {
            ++m_at;
            return;
        }
        if (c == '\n')
            ++m_line;
        ++m_at;
    }
    fail(QStringLiteral("the DOCTYPE is not closed"));
}

void XmlScanner::readStartTag()
{
    ++m_at; // <
    m_name = readName();
    if (m_name.isEmpty())
        fail(QStringLiteral("a \"<\" that starts no tag"));
    if (m_rootClosed)
        fail(QStringLiteral("a second root element <%1>").arg(shownName(m_name)));
    if (static_cast<int>(m_open.size()) >= DeepestNesting)
        fail(QStringLiteral("elements nested more than %1 deep").arg(DeepestNesting));
    m_attributes.clear();
    const std::size_t bindingsBefore = m_bindings.size();
    bool empty = false;
    for (;;) {
        const qsizetype before = m_at;
        skipWhitespace();
        if (atEnd())
            fail(QStringLiteral("the document ends inside the tag <%1>").arg(shownName(m_name)));
        if (m_data[m_at] == '>') {
            ++m_at;
            break;
        }
        if (startsWith("/>")) {
            m_at += 2;
            empty = true;
            break;
        }
        if (m_at == before)
            fail(QStringLiteral("no space before an attribute of <%1>").arg(shownName(m_name)));
        Attribute attribute;
        attribute.qualifiedName = readName();
        if (attribute.qualifiedName.isEmpty())
            fail(QStringLiteral("an attribute of <%1> has no name").arg(shownName(m_name)));
        skipWhitespace();
        if (atEnd() || m_data[m_at] != '=')
            fail(QStringLiteral("the attribute %1 has no value").arg(shownName(attribute.qualifiedName)));
        ++m_at;
        skipWhitespace();
        readAttributeValue(attribute);
        for (const Attribute& other : m_attributes) {
            if (other.qualifiedName == attribute.qualifiedName)
                fail(QStringLiteral("the attribute %1 is given twice").arg(shownName(attribute.qualifiedName)));
        }
        if (attribute.qualifiedName == "xmlns")
            m_bindings.push_back({QByteArrayView(), attribute.value(), ++m_declarationsRead});
        else if (attribute.qualifiedName.startsWith("xmlns:"))
            m_bindings.push_back({attribute.qualifiedName.sliced(6), attribute.value(), ++m_declarationsRead});
        m_attributes.push_back(std::move(attribute));
    }
    m_open.push_back({m_name, bindingsBefore});
    m_depth = static_cast<int>(m_open.size());
    m_seenRoot = true;
    resolveNames();
    m_pendingEnd = empty;
}

void XmlScanner::readEndTag()
{
    m_at += 2; // </
    m_name = readName();
    skipWhitespace();
    if (m_name.isEmpty() || atEnd() || m_data[m_at] != '>')
        fail(QStringLiteral("an end tag is not closed"));
    ++m_at;
    if (m_open.empty())
        fail(QStringLiteral("</%1> closes no element").arg(shownName(m_name)));
    if (m_name != m_open.back().name) {
        fail(QStringLiteral("</%1> closes <%2>").arg(shownName(m_name), shownName(m_open.back().name)));
    }
    m_attributes.clear();
    resolveNames();
    m_depth = static_cast<int>(m_open.size());
    m_bindings.resize(m_open.back().bindings);
    m_open.pop_back();
    m_rootClosed = m_open.empty();
}

const XmlScanner::Binding* XmlScanner::bindingOf(const QByteArrayView prefix) const
{
    // No declaration: no namespace, or the one the xml prefix always has.
    static const Binding none{QByteArrayView(), QString(), 0};
    static const Binding xml{QByteArrayView("xml"), XmlNamespace, ~std::uint64_t{0}};
    for (auto binding = m_bindings.rbegin(); binding != m_bindings.rend(); ++binding) {
        if (binding->prefix == prefix)
            return &*binding;
    }
    if (prefix == "xml")
        return &xml;
    return prefix.isEmpty() ? &none : nullptr;
}

void XmlScanner::resolveNames()
{
    const auto split = [](const QByteArrayView name, QByteArrayView& prefix, QByteArrayView& local) {
        const qsizetype colon = name.indexOf(':');
        prefix = colon < 0 ? QByteArrayView() : name.first(colon);
        local = colon < 0 ? name : name.sliced(colon + 1);
    };
    QByteArrayView prefix;
    split(m_name, prefix, m_localName);
    const Binding* const binding = bindingOf(prefix);
    if (!binding)
        fail(QStringLiteral("the prefix %1 is bound to no namespace").arg(shownName(prefix)));
    m_namespaceUri = &binding->uri;
    m_namespaceDeclaration = binding->declaration;
    for (Attribute& attribute : m_attributes) {
        split(attribute.qualifiedName, prefix, attribute.localName);
        // An attribute without a prefix is in no namespace.
        if (prefix.isEmpty() || prefix == "xmlns")
            continue;
        const Binding* const attributeBinding = bindingOf(prefix);
        if (!attributeBinding)
            fail(QStringLiteral("the prefix %1 is bound to no namespace").arg(shownName(prefix)));
        attribute.namespaceUri = &attributeBinding->uri;
    }
}

void XmlScanner::readAttributeValue(Attribute& attribute)
{
    if (atEnd() || (m_data[m_at] != '"' && m_data[m_at] != '\''))
        fail(QStringLiteral("an attribute value of <%1> is not quoted").arg(shownName(m_name)));
    const char quote = m_data[m_at++];
    const qsizetype valueStart = m_at;
    // Most values are plain: checked here, decoded only when asked for.
    // One with a reference or white space is made here as XML makes it.
    std::optional<QString> made;
    qsizetype runStart = m_at;
    const auto flush = [&] {
        if (!made)
            made.emplace(QString::fromUtf8(m_data + valueStart, runStart - valueStart));
        *made += QString::fromUtf8(m_data + runStart, m_at - runStart);
    };
    for (;;) {
        if (atEnd())
            fail(QStringLiteral("the document ends inside an attribute value"));
        const auto b = static_cast<unsigned char>(m_data[m_at]);
        if (b == static_cast<unsigned char>(quote)) {
            if (made)
                flush();
            attribute.raw = QByteArrayView(m_data + valueStart, m_at - valueStart);
            attribute.made = std::move(made);
            ++m_at;
            return;
        }
        if (b == '<')
            fail(QStringLiteral("a \"<\" inside an attribute value"));
        if (b == '&') {
            flush();
            ++m_at;
            readReference(&*made);
            runStart = m_at;
        } else if (b == '\t' || b == '\n' || b == '\r') {
            // XML gives each white space character of a value as a space,
            // a CR LF pair as one.
            flush();
            if (b == '\r' && m_at + 1 < m_size && m_data[m_at + 1] == '\n')
                ++m_at;
            if (m_data[m_at] == '\n' || b == '\r')
                ++m_line;
            ++m_at;
            *made += u' ';
            runStart = m_at;
        } else if (b < 0x20) {
            failDisallowed(b);
        } else if (b >= 0x80) {
            readMultiByte();
        } else {
            ++m_at;
        }
    }
}

void XmlScanner::readReference(QString* out)
{
    const QByteArrayView rest(m_data + m_at, std::min<qsizetype>(m_size - m_at, 64));
    const qsizetype semicolon = rest.indexOf(';');
    if (semicolon <= 0)
        fail(QStringLiteral("an \"&\" that starts no reference"));
    const QByteArrayView reference = rest.first(semicolon);
    m_at += semicolon + 1;
    char32_t c = 0;
    if (reference.startsWith('#')) {
        const bool hex = reference.size() > 1 && reference[1] == 'x';
        const QByteArrayView digits = reference.sliced(hex ? 2 : 1);
        bool ok = !digits.isEmpty() && digits.size() <= 8;
        for (const char d : digits) {
            const bool isDigit = (d >= '0' && d <= '9') || (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F')));
            ok = ok && isDigit;
        }
        if (ok)
            c = static_cast<char32_t>(QByteArray(digits.data(), digits.size()).toUInt(&ok, hex ? 16 : 10));
        if (!ok || !isXmlCharacter(c))
            fail(QStringLiteral("&%1; stands for no XML character").arg(shownName(reference)));
    } else if (reference == "lt") {
        c = '<';
    } else if (reference == "gt") {
        c = '>';
    } else if (reference == "amp") {
        c = '&';
    } else if (reference == "quot") {
        c = '"';
    } else if (reference == "apos") {
        c = '\'';
    } else {
        fail(QStringLiteral("the entity &%1; is not defined").arg(shownName(reference)));
    }
    if (out)
        appendCharacter(c, out);
}

Utf8Document utf8Of(const QByteArrayView bytes, QByteArray& converted)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {bytes.sliced(3)};
    const bool little = bytes.startsWith("\xFF\xFE");
    if (!little && !bytes.startsWith("\xFE\xFF"))
        return {bytes};
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    const QString text = decoder(bytes.sliced(2));
    if (decoder.hasError())
        throw ImportError(1, QStringLiteral("the UTF-16 text holds code units that are no characters"));
    converted = text.toUtf8();
    return {converted, true};
}

} // namespace exchange
