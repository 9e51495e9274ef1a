#include "exchange/CsvWriter.h"

#include "exchange/ExchangeText.h"

#include <QStringView>

#include <initializer_list>

namespace exchange {

namespace {

void appendField(const QStringView cell, QByteArray& out)
{
    out += '"';
    const QByteArray bytes = exchangeUtf8(cell);
    qsizetype start = 0;
    for (qsizetype quote = bytes.indexOf('"'); quote >= 0; quote = bytes.indexOf('"', start)) {
        out.append(QByteArrayView(bytes).sliced(start, quote + 1 - start));
        out += '"';
        start = quote + 1;
    }
    out.append(QByteArrayView(bytes).sliced(start));
    out += '"';
}

void appendRecord(const std::initializer_list<QStringView> cells, QByteArray& out)
{
    bool first = true;
    for (const QStringView cell : cells) {
        if (!first)
            out += ',';
        first = false;
        appendField(cell, out);
    }
    out += "\r\n";
}

} // namespace

QByteArray csvOfEntries(const xom::EntryTable& entries, const xom::TranslationReview* reference)
{
    QByteArray out("\xEF\xBB\xBF");
    if (!reference) {
        appendRecord({u"number", u"name", u"text"}, out);
        for (int row = 0; row < entries.entryCount(); ++row)
            appendRecord({entries.number(row), entries.name(row), entries.text(row)}, out);
        return out;
    }
    appendRecord({u"number", u"name", u"text", u"reference"}, out);
    for (int row = 0; row < entries.entryCount(); ++row) {
        const std::optional<QStringView> referenceText = reference->referenceTextOf(entries.name(row));
        appendRecord(
            {entries.number(row), entries.name(row), entries.text(row), referenceText.value_or(QStringView())}, out);
    }
    return out;
}

QByteArray csvOfChanges(const std::vector<ImportChange>& changes)
{
    QByteArray out("\xEF\xBB\xBF");
    appendRecord({u"number", u"name", u"old text", u"new text"}, out);
    for (const ImportChange& change : changes)
        appendRecord({change.number, change.name, change.oldText, change.newText}, out);
    return out;
}

} // namespace exchange
