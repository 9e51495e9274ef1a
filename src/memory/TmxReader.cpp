// TMX 1.1 to 1.4 read into memory units, as this editor, translate-toolkit
// and the CAT tools write it: one unit for each target language of each
// <tu>. The document is scanned once, without a tree, by the exchange
// formats' strict XML reader.
#include "memory/TmxFile.h"

#include "memory/TmxDates.h"

#include "exchange/EntryImport.h"
#include "exchange/ImportError.h"
#include "exchange/XmlScanner.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <utility>

namespace memory {

namespace {

using exchange::ImportError;
using exchange::Utf8Document;
using exchange::utf8Of;
using exchange::XmlScanner;
using namespace Qt::StringLiterals;

// An attribute's value as UTF-8: as it stands, unless a reference or white
// space made it another.
[[nodiscard]] QByteArrayView bytesOf(const XmlScanner::Attribute& attribute, QByteArray& made)
{
    if (!attribute.made)
        return attribute.raw;
    made = attribute.made->toUtf8();
    return made;
}

// The time a date attribute gives, in UTC; invalid when it is no TMX date.
[[nodiscard]] QDateTime dateOf(const XmlScanner::Attribute* const attribute)
{
    if (!attribute)
        return {};
    QByteArray made;
    const std::optional<qint64> second = parseTmxDate(bytesOf(*attribute, made));
    return second ? QDateTime::fromSecsSinceEpoch(*second, Qt::UTC) : QDateTime();
}

// The language tags read lately, each kept once: a memory's million units
// name the same few languages, which then share one string each instead of
// taking two of their own.
class LanguageTags {
public:
    [[nodiscard]] QString of(const XmlScanner::Attribute& attribute)
    {
        if (!attribute.made) {
            for (const Kept& kept : m_kept) {
                if (kept.raw == attribute.raw)
                    return kept.tag;
            }
        }
        QString tag = attribute.value();
        if (!attribute.made) {
            m_kept[m_next] = {attribute.raw.toByteArray(), tag};
            m_next = (m_next + 1) % m_kept.size();
        }
        return tag;
    }

private:
    struct Kept {
        QByteArray raw;
        QString tag;
    };
    std::array<Kept, 8> m_kept;
    std::size_t m_next = 0;
};

// "*all*" in place of a source language: the first <tuv> is the source.
[[nodiscard]] bool isAllLanguages(const QString& language)
{
    return language.compare(u"*all*"_s, Qt::CaseInsensitive) == 0;
}

// The elements a <seg> may hold; the text of all but <sub> is the
// segment's. A <sub> is a text of its own (an alt text, a footnote) inside
// the native code, not of the sentence.
[[nodiscard]] bool isInline(const QByteArrayView name)
{
    return name == "bpt" || name == "ept" || name == "ph" || name == "it" || name == "ut" || name == "hi"
        || name == "sub";
}

[[nodiscard]] QString shownTag(const XmlScanner& xml)
{
    return exchange::shownInMessage(QString::fromUtf8(xml.qualifiedName()));
}

class TmxReader {
public:
    explicit TmxReader(const Utf8Document& document)
        : m_xml(document.bytes, document.fromUtf16)
    {
    }

    std::vector<MemoryUnit> run()
    {
        if (m_xml.next() != XmlScanner::Token::StartElement)
            fail(u"not a TMX document"_s);
        checkRoot();
        for (;;) {
            switch (m_xml.next()) {
            case XmlScanner::Token::StartElement:
                start();
                break;
            case XmlScanner::Token::EndElement:
                end();
                break;
            case XmlScanner::Token::Text:
                break;
            case XmlScanner::Token::EndOfDocument:
                return std::move(m_units);
            }
        }
    }

private:
    [[noreturn]] void fail(const QString& reason) const { throw ImportError(m_xml.line(), reason); }

    // Any TMX 1.x: the versions differ in what this reader does not read.
    void checkRoot()
    {
        if (m_xml.localName() != "tmx")
            fail(u"not a TMX document: the root element is <%1>"_s.arg(shownTag(m_xml)));
        m_tmxNamespace = m_xml.namespaceUri();
        m_lastDeclaration = m_xml.namespaceDeclaration();
        const std::optional<QString> version = m_xml.attribute("version");
        if (version && !version->startsWith(u"1."))
            fail(u"TMX version \"%1\" is not read: export TMX 1.4"_s.arg(exchange::shownInMessage(*version)));
    }

    // Whether the current element is TMX's: in the root's namespace, which
    // is none as TMX is written, or one a tool declared on the root. Each
    // declaration's text is compared once: every element of the usual
    // document shares the root's.
    [[nodiscard]] bool isTmx() const
    {
        const std::uint64_t declaration = m_xml.namespaceDeclaration();
        if (declaration != m_lastDeclaration) {
            m_lastDeclaration = declaration;
            m_lastIsTmx = m_xml.namespaceUri() == m_tmxNamespace;
        }
        return m_lastIsTmx;
    }

    void start()
    {
        const QByteArrayView name = m_xml.localName();
        const int depth = m_xml.depth();
        if (m_segDepth > 0) {
            if (!isInline(name) || !isTmx())
                fail(u"<%1> inside a <seg>"_s.arg(shownTag(m_xml)));
            if (name == "sub" && m_subDepth == 0)
                startSub();
            return;
        }
        if (!isTmx())
            return;
        if (name == "tu") {
            startUnit();
        } else if (name == "tuv") {
            startVariant();
        } else if (name == "seg") {
            startSegment();
        } else if (name == "header" && depth == 2) {
            if (const std::optional<QString> language = m_xml.attribute("srclang"))
                m_documentSource = *language;
        } else if (name == "body" && depth == 2) {
            m_inBody = true;
        } else if (name == "prop" && m_unitDepth > 0 && depth == m_unitDepth + 1) {
            startProperty();
        }
    }

    void end()
    {
        const int depth = m_xml.depth();
        if (m_subDepth == depth) {
            m_subDepth = 0;
            m_xml.setTextWanted(true);
        } else if (m_segDepth == depth) {
            endSegment();
        } else if (m_property != Property::None && depth == m_unitDepth + 1) {
            endProperty();
        } else if (m_variantDepth == depth) {
            if (!m_variantHasSegment)
                throw ImportError(m_variantLine, u"a <tuv> without a <seg>"_s);
            m_variantDepth = 0;
        } else if (m_unitDepth == depth) {
            endUnit();
        } else if (depth == 2 && m_xml.localName() == "body" && isTmx()) {
            m_inBody = false;
        }
    }

    void startUnit()
    {
        if (m_unitDepth > 0)
            fail(u"a <tu> inside a <tu>"_s);
        if (!m_inBody || m_xml.depth() != 3)
            fail(u"a <tu> outside the <body>"_s);
        m_unitDepth = m_xml.depth();
        m_unitSource = m_documentSource;
        m_variants.clear();
        m_unit = MemoryUnit();
        const XmlScanner::Attribute* changed = nullptr;
        const XmlScanner::Attribute* created = nullptr;
        // One pass over the attributes: a million units make the lookups
        // count.
        for (const XmlScanner::Attribute& attribute : m_xml.attributes()) {
            const QByteArrayView attributeName = attribute.qualifiedName;
            if (attributeName == "srclang")
                m_unitSource = m_languages.of(attribute);
            else if (attributeName == "changedate")
                changed = &attribute;
            else if (attributeName == "creationdate")
                created = &attribute;
        }
        m_unit.changed = dateOf(changed);
        if (!m_unit.changed.isValid())
            m_unit.changed = dateOf(created);
    }

    void startVariant()
    {
        if (m_variantDepth > 0)
            fail(u"a <tuv> inside a <tuv>"_s);
        if (m_unitDepth == 0 || m_xml.depth() != m_unitDepth + 1)
            fail(u"a <tuv> outside a <tu>"_s);
        // xml:lang since TMX 1.4, lang before it.
        std::optional<QString> language;
        for (const XmlScanner::Attribute& attribute : m_xml.attributes()) {
            if (attribute.qualifiedName == "xml:lang" || (attribute.qualifiedName == "lang" && !language))
                language = m_languages.of(attribute);
        }
        if (!language || language->isEmpty())
            fail(u"a <tuv> without a language (xml:lang)"_s);
        m_variantDepth = m_xml.depth();
        m_variantLine = m_xml.line();
        m_variantHasSegment = false;
        m_variants.push_back({std::move(*language), QString()});
    }

    void startSegment()
    {
        if (m_variantDepth == 0 || m_xml.depth() != m_variantDepth + 1)
            fail(u"a <seg> outside a <tuv>"_s);
        if (m_variantHasSegment)
            fail(u"a second <seg> in one <tuv>"_s);
        m_variantHasSegment = true;
        m_segDepth = m_xml.depth();
        m_segText = QString();
        m_xml.setTextWanted(true);
    }

    void startSub()
    {
        m_segText += m_xml.takeText();
        m_xml.setTextWanted(false);
        m_subDepth = m_xml.depth();
    }

    void endSegment()
    {
        m_segText += m_xml.takeText();
        m_xml.setTextWanted(false);
        m_variants.back().text = std::exchange(m_segText, QString());
        m_segDepth = 0;
    }

    void startProperty()
    {
        for (const XmlScanner::Attribute& attribute : m_xml.attributes()) {
            if (attribute.qualifiedName != "type")
                continue;
            QByteArray made;
            const QByteArrayView type = bytesOf(attribute, made);
            if (type == "x-origin")
                m_property = Property::Origin;
            else if (type == "x-entry")
                m_property = Property::Entry;
            else if (type == "x-approved")
                m_property = Property::Approved;
        }
        if (m_property != Property::None)
            m_xml.setTextWanted(true);
    }

    void endProperty()
    {
        QString value = m_xml.takeText();
        m_xml.setTextWanted(false);
        switch (std::exchange(m_property, Property::None)) {
        case Property::Origin:
            // Most units come from a few files: they share the name.
            if (value != m_lastOrigin)
                m_lastOrigin = std::move(value);
            m_unit.origin = m_lastOrigin;
            break;
        case Property::Entry:
            m_unit.entryName = std::move(value);
            break;
        case Property::Approved:
            m_unit.approved = value.compare(u"yes"_s, Qt::CaseInsensitive) == 0;
            break;
        case Property::None:
            break;
        }
    }

    // A unit for each <tuv> but the source's. A <tu> without its source,
    // or without anything else, translates nothing and is passed over.
    void endUnit()
    {
        m_unitDepth = 0;
        std::size_t source = 0;
        if (!isAllLanguages(m_unitSource)) {
            while (source < m_variants.size()
                   && m_variants[source].language.compare(m_unitSource, Qt::CaseInsensitive) != 0)
                ++source;
        }
        if (source >= m_variants.size() || m_variants.size() < 2)
            return;
        m_unit.sourceLanguage = m_variants[source].language;
        m_unit.source = m_variants[source].text;
        for (std::size_t i = 0; i < m_variants.size(); ++i) {
            if (i == source)
                continue;
            m_units.push_back(m_unit);
            MemoryUnit& unit = m_units.back();
            unit.targetLanguage = std::move(m_variants[i].language);
            unit.target = std::move(m_variants[i].text);
        }
    }

    struct Variant {
        QString language;
        QString text;
    };
    enum class Property { None, Origin, Entry, Approved };

    XmlScanner m_xml;
    std::vector<MemoryUnit> m_units;
    // The root's namespace; the declaration last compared with it, and
    // whether it was the root's.
    QString m_tmxNamespace;
    mutable std::uint64_t m_lastDeclaration = 0;
    mutable bool m_lastIsTmx = true;
    // The header's source language; a document without one names it in
    // each <tu>, or has its source first.
    QString m_documentSource = u"*all*"_s;
    bool m_inBody = false;
    LanguageTags m_languages;
    QString m_lastOrigin;
    // The <tu> being read (depth 0: none): its source language, its
    // properties and date in m_unit, and its <tuv> as read so far.
    int m_unitDepth = 0;
    QString m_unitSource;
    MemoryUnit m_unit;
    std::vector<Variant> m_variants;
    Property m_property = Property::None;
    // The <tuv> being read, where it starts, and whether it had its <seg>.
    int m_variantDepth = 0;
    int m_variantLine = 0;
    bool m_variantHasSegment = false;
    // The <seg> being read and its text before the last <sub>; the <sub>
    // whose text is passed over.
    int m_segDepth = 0;
    int m_subDepth = 0;
    QString m_segText;
};

} // namespace

std::vector<MemoryUnit> readTmx(const QByteArrayView bytes)
{
    QByteArray converted;
    return TmxReader(utf8Of(bytes, converted)).run();
}

} // namespace memory
