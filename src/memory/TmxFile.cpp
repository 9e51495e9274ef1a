// The memory written as TMX 1.4: one <tu> per unit, its source and its
// target as two <tuv>, where it came from in properties. The document is
// appended to one buffer, without a tree: an export of a million units is a
// single pass over their texts.
#include "memory/TmxFile.h"

#include "memory/TmxDates.h"

#include "exchange/ExchangeExport.h"

#include <algorithm>
#include <cstring>

namespace memory {

namespace {

using namespace Qt::StringLiterals;

// Whether XML 1.0 can hold every character of the text: no control
// character but tab, LF and CR, no U+FFFE or U+FFFF, and every surrogate
// half of a pair.
[[nodiscard]] bool isWritable(const QStringView text) noexcept
{
    const char16_t* const units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit >= 0x20 && unit < 0xD800)
            continue;
        if (unit < 0x20) {
            if (unit != u'\t' && unit != u'\n' && unit != u'\r')
                return false;
        } else if (unit >= 0xE000) {
            if (unit >= 0xFFFE)
                return false;
        } else {
            const bool pairs = unit < 0xDC00 && i + 1 < size && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
            if (!pairs)
                return false;
            ++i;
        }
    }
    return true;
}

// A unit that can be written whole. One without a language could not be
// read back: a <tuv> must name its language.
[[nodiscard]] bool isWritable(const MemoryUnit& unit) noexcept
{
    return !unit.sourceLanguage.isEmpty() && !unit.targetLanguage.isEmpty() && isWritable(unit.sourceLanguage)
        && isWritable(unit.targetLanguage) && isWritable(unit.source) && isWritable(unit.target)
        && isWritable(unit.origin) && isWritable(unit.entryName);
}

enum class XmlPlace { Content, Attribute };

// The document's bytes, written through a pointer into room taken for a
// whole unit at once: the buffer is looked at once per unit, not per byte,
// and at least doubles when it grows.
class TmxOut {
public:
    // Room for at least that many bytes more.
    void makeRoom(const qsizetype bytes)
    {
        const qsizetype used = m_at - m_begin;
        if (m_bytes.size() - used >= bytes)
            return;
        m_bytes.resize(std::max(used + bytes, m_bytes.size() * 2));
        m_begin = m_bytes.data();
        m_at = m_begin + used;
    }

    // The longest form of a text: each UTF-16 unit takes at most six bytes
    // ("&quot;"), a pair four.
    [[nodiscard]] static qsizetype mostBytesOf(const QString& text) noexcept { return text.size() * 6; }

    template <std::size_t Size> void put(const char (&literal)[Size]) noexcept
    {
        std::memcpy(m_at, literal, Size - 1);
        m_at += Size - 1;
    }

    void put(const char* const bytes, const std::size_t size) noexcept
    {
        std::memcpy(m_at, bytes, size);
        m_at += size;
    }

    // A writable text as escaped UTF-8. A CR is a reference wherever it
    // is, since XML reads a bare one as a LF; in an attribute, where XML
    // reads any white space as a space, so are tab and LF.
    void putEscaped(const QStringView text, const XmlPlace place) noexcept
    {
        const bool attribute = place == XmlPlace::Attribute;
        const char16_t* const units = text.utf16();
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = units[i];
            if (c < 0x80) {
                putAscii(c, attribute);
            } else if (c < 0x800) {
                *m_at++ = static_cast<char>(0xC0 | (c >> 6));
                *m_at++ = static_cast<char>(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
                const char32_t pair = QChar::surrogateToUcs4(c, units[++i]);
                *m_at++ = static_cast<char>(0xF0 | (pair >> 18));
                *m_at++ = static_cast<char>(0x80 | ((pair >> 12) & 0x3F));
                *m_at++ = static_cast<char>(0x80 | ((pair >> 6) & 0x3F));
                *m_at++ = static_cast<char>(0x80 | (pair & 0x3F));
            } else {
                *m_at++ = static_cast<char>(0xE0 | (c >> 12));
                *m_at++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *m_at++ = static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }

    [[nodiscard]] QByteArray take()
    {
        m_bytes.resize(m_at - m_begin);
        m_begin = m_at = nullptr;
        return std::move(m_bytes);
    }

private:
    void putAscii(const char16_t c, const bool attribute) noexcept
    {
        switch (c) {
        case u'&':
            return put("&amp;");
        case u'<':
            return put("&lt;");
        case u'>':
            return put("&gt;");
        case u'\r':
            return put("&#13;");
        case u'"':
            if (attribute)
                return put("&quot;");
            break;
        case u'\t':
            if (attribute)
                return put("&#9;");
            break;
        case u'\n':
            if (attribute)
                return put("&#10;");
            break;
        default:
            break;
        }
        *m_at++ = static_cast<char>(c);
    }

    QByteArray m_bytes;
    char* m_begin = nullptr;
    char* m_at = nullptr;
};

// The changedate attribute in UTC, whole seconds as TMX keeps them. A time
// outside the four-digit years has no such form and is left out.
void putChangeDate(const QDateTime& changed, TmxOut& out)
{
    if (!changed.isValid())
        return;
    // Rounded down, also before 1970.
    const qint64 milliseconds = changed.toMSecsSinceEpoch();
    const qint64 seconds = milliseconds / 1000 - (milliseconds % 1000 < 0 ? 1 : 0);
    char date[TmxDateLength];
    if (!formatTmxDate(seconds, date))
        return;
    out.put(" changedate=\"");
    out.put(date, TmxDateLength);
    out.put("\"");
}

template <std::size_t Size> void putProperty(const char (&type)[Size], const QString& value, TmxOut& out)
{
    if (value.isEmpty())
        return;
    out.put("<prop type=\"");
    out.put(type);
    out.put("\">");
    out.putEscaped(value, XmlPlace::Content);
    out.put("</prop>\n");
}

void putVariant(const QString& language, const QString& text, TmxOut& out)
{
    out.put("<tuv xml:lang=\"");
    out.putEscaped(language, XmlPlace::Attribute);
    out.put("\"><seg>");
    out.putEscaped(text, XmlPlace::Content);
    out.put("</seg></tuv>\n");
}

// "*all*" tells a reader that each <tu> names its own source language.
const QString AllLanguages = u"*all*"_s;

// The most a unit's <tu> takes: the markup around the texts takes less than
// 512 bytes.
[[nodiscard]] qsizetype roomFor(const MemoryUnit& unit) noexcept
{
    return 512 + 2 * TmxOut::mostBytesOf(unit.sourceLanguage) + TmxOut::mostBytesOf(unit.targetLanguage)
         + TmxOut::mostBytesOf(unit.source) + TmxOut::mostBytesOf(unit.target) + TmxOut::mostBytesOf(unit.origin)
         + TmxOut::mostBytesOf(unit.entryName);
}

void putUnit(const MemoryUnit& unit, const bool ownSourceLanguage, TmxOut& out)
{
    out.makeRoom(roomFor(unit));
    out.put("<tu");
    if (ownSourceLanguage) {
        out.put(" srclang=\"");
        out.putEscaped(unit.sourceLanguage, XmlPlace::Attribute);
        out.put("\"");
    }
    putChangeDate(unit.changed, out);
    out.put(">\n");
    putProperty("x-origin", unit.origin, out);
    putProperty("x-entry", unit.entryName, out);
    if (unit.approved)
        out.put("<prop type=\"x-approved\">yes</prop>\n");
    putVariant(unit.sourceLanguage, unit.source, out);
    putVariant(unit.targetLanguage, unit.target, out);
    out.put("</tu>\n");
}

// The version after the generator's name ("ludra-lang 2.0"): the build
// knows it in one place.
[[nodiscard]] QString toolVersion()
{
    const QString generator = exchange::exportGenerator();
    return generator.sliced(generator.lastIndexOf(u' ') + 1);
}

void putHeader(const QString& sourceLanguage, TmxOut& out)
{
    const QString version = toolVersion();
    out.makeRoom(512 + TmxOut::mostBytesOf(version) + TmxOut::mostBytesOf(sourceLanguage));
    out.put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<tmx version=\"1.4\">\n"
            "<header creationtool=\"Ludra Language Editor\" creationtoolversion=\"");
    out.putEscaped(version, XmlPlace::Attribute);
    out.put("\" datatype=\"plaintext\" segtype=\"sentence\" adminlang=\"en\" srclang=\"");
    out.putEscaped(sourceLanguage, XmlPlace::Attribute);
    out.put("\" o-tmf=\"ludra\"/>\n<body>\n");
}

} // namespace

TmxWritten writeTmx(const std::vector<MemoryUnit>& units)
{
    // The units that can be written are known first: the header names
    // their common source language.
    std::vector<bool> writable(units.size());
    const QString* common = nullptr;
    bool mixed = false;
    int leftOut = 0;
    // About the bytes the texts take and the markup around them, and the
    // room the largest unit asks for on top: the buffer is taken once.
    qsizetype room = 4096;
    qsizetype largest = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        writable[i] = isWritable(units[i]);
        if (!writable[i]) {
            ++leftOut;
            continue;
        }
        const MemoryUnit& unit = units[i];
        room += 200 + unit.source.size() + unit.target.size() + unit.origin.size() + unit.entryName.size()
              + 2 * unit.sourceLanguage.size() + unit.targetLanguage.size();
        largest = std::max(largest, roomFor(unit));
        if (!common)
            common = &unit.sourceLanguage;
        else
            mixed = mixed || unit.sourceLanguage != *common;
    }
    const bool ownSourceLanguages = mixed || !common;
    TmxOut out;
    out.makeRoom(room + largest);
    putHeader(ownSourceLanguages ? AllLanguages : *common, out);
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (writable[i])
            putUnit(units[i], ownSourceLanguages, out);
    }
    out.makeRoom(64);
    out.put("</body>\n</tmx>\n");
    return TmxWritten{out.take(), leftOut};
}

} // namespace memory
