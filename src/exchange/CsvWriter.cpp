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

// The fields of a record, without the record's end.
void appendFields(const std::initializer_list<QStringView> cells, QByteArray& out)
{
    bool first = true;
    for (const QStringView cell : cells) {
        if (!first)
            out += ',';
        first = false;
        appendField(cell, out);
    }
}

void appendRecord(const std::initializer_list<QStringView> cells, QByteArray& out)
{
    appendFields(cells, out);
    out += "\r\n";
}

} // namespace

QByteArray csvOfEntries(
    const xom::EntryTable& entries, const xom::TranslationReview* reference, const ReviewOfRow& reviews)
{
    QByteArray out("\xEF\xBB\xBF");
    appendFields({u"number", u"name", u"text"}, out);
    if (reference) {
        out += ',';
        appendField(u"reference", out);
    }
    if (reviews) {
        out += ',';
        appendFields({u"state", u"note"}, out);
    }
    out += "\r\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        appendFields({entries.number(row), entries.name(row), entries.text(row)}, out);
        if (reference) {
            out += ',';
            appendField(reference->referenceTextOf(entries.name(row)).value_or(QStringView()), out);
        }
        if (reviews) {
            const review::EntryReview kept = reviews(row);
            out += ',';
            appendFields({csvStateWord(kept.state), kept.note}, out);
        }
        out += "\r\n";
    }
    return out;
}

QStringView csvStateWord(const review::State state)
{
    switch (state) {
    case review::State::Unset:
        break;
    case review::State::NeedsReview:
        return u"needs review";
    case review::State::Translated:
        return u"translated";
    case review::State::Approved:
        return u"approved";
    }
    return {};
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
