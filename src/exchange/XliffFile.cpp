#include "exchange/XliffFile.h"

#include "exchange/EntryImport.h"
#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"

#include "exchange/XmlScanner.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace exchange {

namespace {

enum class XmlPlace { Content, Attribute };

// Appends text escaped for XML, or throws ExportError for what XML 1.0
// cannot hold.
void appendXml(const QString& text, const XmlPlace place, const QString& entryNumber, QByteArray& out)
{
    const auto refuse = [&](const char16_t unit) {
        const QString code = QString::number(unit, 16).toUpper().rightJustified(4, u'0');
        return ExportError(
            QStringLiteral("entry %1: character U+%2 cannot be written in XLIFF (XML 1.0)").arg(entryNumber, code));
    };
    qsizetype runStart = 0;
    const auto flush
        = [&](const qsizetype end) { out += exchangeUtf8(QStringView(text).sliced(runStart, end - runStart)); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const char* escaped = nullptr;
        switch (unit) {
        case u'&':
            escaped = "&amp;";
            break;
        case u'<':
            escaped = "&lt;";
            break;
        case u'>':
            escaped = "&gt;";
            break;
        case u'\r':
            escaped = "&#13;";
            break;
        case u'"':
            if (place == XmlPlace::Attribute)
                escaped = "&quot;";
            break;
        case u'\t':
            if (place == XmlPlace::Attribute)
                escaped = "&#9;";
            break;
        case u'\n':
            if (place == XmlPlace::Attribute)
                escaped = "&#10;";
            break;
        default:
            if (unit < 0x20 || unit == 0xFFFE || unit == 0xFFFF)
                throw refuse(unit);
            if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
                continue;
            }
            if (QChar::isSurrogate(unit))
                throw refuse(unit);
            continue;
        }
        if (!escaped)
            continue;
        flush(i);
        out += escaped;
        runStart = i + 1;
    }
    flush(text.size());
}

// The target state of XLIFF 1.2 that says what a review state says; none
// for an unset one, whose target stays as it was written before states.
[[nodiscard]] const char* targetStateOf(const review::State state)
{
    switch (state) {
    case review::State::Unset:
        break;
    case review::State::NeedsReview:
        return "needs-review-translation";
    case review::State::Translated:
        return "translated";
    case review::State::Approved:
        return "final";
    }
    return nullptr;
}

} // namespace

QByteArray xliffOfEntries(const xom::EntryTable& entries, const ExportContext& context)
{
    QByteArray out("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
                   "<file original=\"");
    appendXml(context.project, XmlPlace::Attribute, QString(), out);
    out += "\" source-language=\"";
    appendXml(context.sourceLanguage, XmlPlace::Attribute, QString(), out);
    out += "\" target-language=\"";
    appendXml(context.targetLanguage, XmlPlace::Attribute, QString(), out);
    out += "\" datatype=\"plaintext\">\n<body>\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        const xom::Entry entry = entries.entry(row);
        out += "<trans-unit id=\"";
        appendXml(entry.number, XmlPlace::Attribute, entry.number, out);
        out += "\" resname=\"";
        appendXml(entry.name, XmlPlace::Attribute, entry.number, out);
        out += "\" xml:space=\"preserve\">\n<source>";
        appendXml(referenceOrOwn(context.reference, row, entry.text), XmlPlace::Content, entry.number, out);
        out += "</source>\n<target";
        const review::EntryReview kept = context.review ? context.review(row) : review::EntryReview{};
        if (const char* const state = targetStateOf(kept.state)) {
            out += " state=\"";
            out += state;
            out += '"';
        }
        out += '>';
        appendXml(entry.text, XmlPlace::Content, entry.number, out);
        out += "</target>\n";
        if (!kept.note.isEmpty()) {
            out += "<note>";
            appendXml(kept.note, XmlPlace::Content, entry.number, out);
            out += "</note>\n";
        }
        out += "</trans-unit>\n";
    }
    out += "</body>\n</file>\n</xliff>\n";
    return out;
}

namespace {

const QString Xliff12 = QStringLiteral("urn:oasis:names:tc:xliff:document:1.2");

// The target states of XLIFF 1.2 that say a translation is not final.
[[nodiscard]] bool isUnfinishedState(const QString& state)
{
    static const QStringList unfinished{QStringLiteral("new"), QStringLiteral("needs-translation"),
        QStringLiteral("needs-review-translation"), QStringLiteral("needs-adaptation"), QStringLiteral("needs-l10n"),
        QStringLiteral("needs-review-adaptation"), QStringLiteral("needs-review-l10n")};
    return unfinished.contains(state);
}

// The review state a target state names, where it names one: the states
// that ask for a review, and those of a finished translation.
[[nodiscard]] std::optional<review::State> reviewStateOf(const QString& state)
{
    if (state.startsWith(u"needs-review-"))
        return review::State::NeedsReview;
    if (state == u"translated")
        return review::State::Translated;
    if (state == u"final" || state == u"signed-off")
        return review::State::Approved;
    return std::nullopt;
}

// The root must be XLIFF 1.2's: anything else is refused by name rather
// than read as a document without units.
void checkRoot(const XmlScanner& xml)
{
    const std::optional<QString> version = xml.attribute("version");
    const QString name = QString::fromUtf8(xml.qualifiedName());
    if (xml.localName() != "xliff")
        throw ImportError(xml.line(), QStringLiteral("not an XLIFF document: the root element is <%1>").arg(name));
    if ((version && version->startsWith(u'2')) || xml.namespaceUri().startsWith(u"urn:oasis:names:tc:xliff:document:2"))
        throw ImportError(xml.line(), QStringLiteral("XLIFF 2 is not read: export XLIFF 1.2"));
    if (xml.namespaceUri() != Xliff12) {
        throw ImportError(
            xml.line(), QStringLiteral("the root <%1> is not in the XLIFF 1.2 namespace (%2)").arg(name, Xliff12));
    }
    if (!version || *version != u"1.2") {
        throw ImportError(xml.line(),
            QStringLiteral("XLIFF version \"%1\" is not 1.2").arg(version ? shownInMessage(*version) : QString()));
    }
}

// Reads the trans-units of an XLIFF 1.2 document into records for import.
class XliffReader {
public:
    XliffReader(const Utf8Document& document, EntryImport& import)
        : m_xml(document.bytes, document.fromUtf16)
        , m_import(import)
    {
    }

    void run()
    {
        if (m_xml.next() != XmlScanner::Token::StartElement)
            throw ImportError(m_xml.line(), QStringLiteral("not an XLIFF document"));
        checkRoot(m_xml);
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
                return;
            }
        }
    }

private:
    [[noreturn]] void fail(const QString& reason) const { throw ImportError(m_xml.line(), reason); }

    [[nodiscard]] bool isXliff(const QByteArrayView localName) const
    {
        return m_xml.localName() == localName && inXliffNamespace();
    }

    // Whether the current element is in XLIFF 1.2's namespace. Each
    // declaration's text is compared once: every element of the usual
    // document shares the root's.
    [[nodiscard]] bool inXliffNamespace() const
    {
        const std::uint64_t declaration = m_xml.namespaceDeclaration();
        if (declaration != m_lastDeclaration) {
            m_lastDeclaration = declaration;
            m_lastIsXliff = m_xml.namespaceUri() == Xliff12;
        }
        return m_lastIsXliff;
    }

    void start()
    {
        if (m_inText != InText::None) {
            fail(QStringLiteral("markup inside a %1: <%2> (inline elements are not read)")
                     .arg(m_inText == InText::Target ? QStringLiteral("target") : QStringLiteral("note"),
                         shownInMessage(QString::fromUtf8(m_xml.qualifiedName()))));
        }
        if (m_unitDepth == 0) {
            if (isXliff("trans-unit"))
                startUnit();
            return;
        }
        if (isXliff("trans-unit"))
            fail(QStringLiteral("a trans-unit inside a trans-unit"));
        // Only the unit's own target and notes count: those inside
        // <alt-trans> belong to a suggestion.
        if (m_xml.depth() != m_unitDepth + 1)
            return;
        if (m_xml.localName() == "note" && inXliffNamespace()) {
            m_inText = InText::Note;
            m_xml.setTextWanted(true, true);
            return;
        }
        if (m_xml.localName() != "target")
            return;
        if (!inXliffNamespace()) {
            fail(QStringLiteral("a <%1> in the namespace \"%2\" is no XLIFF 1.2 target")
                     .arg(QString::fromUtf8(m_xml.qualifiedName()), shownInMessage(m_xml.namespaceUri())));
        }
        if (m_targetLine > 0)
            fail(QStringLiteral("a second <target> in one trans-unit (the first on line %1)").arg(m_targetLine));
        m_targetLine = m_xml.line();
        m_targetUnfinished = false;
        if (const std::optional<QString> state = m_xml.attribute("state")) {
            m_targetUnfinished = isUnfinishedState(*state);
            m_record.review.state = reviewStateOf(*state);
        }
        m_inText = InText::Target;
        m_xml.setTextWanted(true, true);
    }

    void startUnit()
    {
        m_unitDepth = m_xml.depth();
        m_targetLine = 0;
        m_record.line = m_xml.line();
        m_record.text.reset();
        // Export writes every note there is: a unit without one has none.
        m_record.review.unfinished = false;
        m_record.review.state.reset();
        m_record.review.note = QString();
        // One pass over the unit's attributes: a million units make the
        // lookups count.
        bool hasId = false;
        bool hasResname = false;
        for (const XmlScanner::Attribute& attribute : m_xml.attributes()) {
            const QByteArrayView name = attribute.qualifiedName;
            if (name == "id") {
                m_record.number = attribute.value();
                hasId = true;
            } else if (name == "resname") {
                m_record.name = attribute.value();
                hasResname = true;
            } else if (name == "approved" || name == "translate") {
                m_record.review.unfinished = m_record.review.unfinished || attribute.value() == u"no";
            }
        }
        const bool numeric = hasId && !m_record.number.isEmpty()
                          && std::all_of(m_record.number.cbegin(), m_record.number.cend(),
                              [](const QChar c) { return c >= u'0' && c <= u'9'; });
        if (!numeric) {
            fail(QStringLiteral("trans-unit id \"%1\" is not an entry number")
                     .arg(hasId ? shownInMessage(m_record.number) : QString()));
        }
        if (!hasResname)
            fail(QStringLiteral("trans-unit without resname"));
    }

    void end()
    {
        if (m_inText != InText::None && m_xml.depth() == m_unitDepth + 1) {
            QString text = m_xml.takeText();
            m_xml.setTextWanted(false);
            if (std::exchange(m_inText, InText::None) == InText::Note) {
                // Several notes make one, a line each.
                QString& note = *m_record.review.note;
                note += note.isEmpty() ? text : u'\n' + text;
                return;
            }
            // An empty target keeps the entry's text, and one that is new or
            // needs translation says nothing of a translation then.
            if (!text.isEmpty()) {
                m_record.review.unfinished = m_record.review.unfinished || m_targetUnfinished;
                m_record.text = std::move(text);
            }
            return;
        }
        if (m_unitDepth > 0 && m_xml.depth() == m_unitDepth) {
            m_unitDepth = 0;
            m_import.apply(m_record);
            m_record.text.reset();
        }
    }

    XmlScanner m_xml;
    EntryImport& m_import;
    // The depth of the trans-unit being read (0: none), and the line of
    // its target (0: none yet).
    int m_unitDepth = 0;
    int m_targetLine = 0;
    // The element whose text is being read.
    enum class InText { None, Target, Note };
    InText m_inText = InText::None;
    // The target's state says it is not final.
    bool m_targetUnfinished = false;
    ImportRecord m_record;
    // The declaration last compared (none yet), and whether it was XLIFF's.
    mutable std::uint64_t m_lastDeclaration = ~std::uint64_t{0} - 1;
    mutable bool m_lastIsXliff = false;
};

} // namespace

void applyXliffEdits(const QByteArrayView xliff, EntryImport& import)
{
    QByteArray converted;
    XliffReader(utf8Of(xliff, converted), import).run();
}

} // namespace exchange
