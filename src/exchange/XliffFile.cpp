#include "exchange/XliffFile.h"

#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"

#include <QXmlStreamReader>

#include <algorithm>

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
        out += "</source>\n<target>";
        appendXml(entry.text, XmlPlace::Content, entry.number, out);
        out += "</target>\n</trans-unit>\n";
    }
    out += "</body>\n</file>\n</xliff>\n";
    return out;
}

void applyXliffEdits(const QByteArrayView xliff, EntryImport& import)
{
    QXmlStreamReader xml(xliff.toByteArray());
    const auto fail = [&](const QString& reason) { return ImportError(static_cast<int>(xml.lineNumber()), reason); };
    ImportRecord record;
    bool inUnit = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (name == u"trans-unit") {
                if (inUnit)
                    throw fail(QStringLiteral("trans-unit inside a trans-unit"));
                inUnit = true;
                record.line = static_cast<int>(xml.lineNumber());
                record.number = xml.attributes().value(QLatin1StringView("id")).toString();
                const bool numeric = !record.number.isEmpty()
                                  && std::all_of(record.number.cbegin(), record.number.cend(),
                                      [](const QChar c) { return c >= u'0' && c <= u'9'; });
                if (!numeric)
                    throw fail(QStringLiteral("trans-unit id \"%1\" is not an entry number").arg(record.number));
                if (!xml.attributes().hasAttribute(QLatin1StringView("resname")))
                    throw fail(QStringLiteral("trans-unit without resname"));
                record.name = xml.attributes().value(QLatin1StringView("resname")).toString();
                record.text.reset();
            } else if (name == u"target" && inUnit) {
                QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                if (xml.hasError())
                    throw fail(QStringLiteral("markup inside a target is not supported"));
                if (!text.isEmpty())
                    record.text = std::move(text);
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"trans-unit") {
            inUnit = false;
            import.apply(record);
        }
    }
    if (xml.hasError())
        throw fail(xml.errorString());
}

} // namespace exchange
