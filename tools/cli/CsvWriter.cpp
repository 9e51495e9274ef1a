#include "cli/CsvWriter.h"

#include "cli/CsvText.h"

namespace cli {

namespace {

void appendField(const QString& cell, QByteArray& out)
{
    const QByteArray bytes = csvUtf8(cell);
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n');
    if (!quoted) {
        out += bytes;
        return;
    }
    out += '"';
    for (const char b : bytes) {
        if (b == '"')
            out += '"';
        out += b;
    }
    out += '"';
}

} // namespace

QByteArray csvOfEntries(const xom::EntryTable& entries, const xom::TranslationReview* reference)
{
    QByteArray out("\xEF\xBB\xBF"
                   "number,name,text");
    out += reference ? ",reference\r\n" : "\r\n";
    for (const xom::Entry& entry : entries.rows) {
        appendField(entry.number, out);
        out += ',';
        appendField(entry.name, out);
        out += ',';
        appendField(entry.text, out);
        if (reference) {
            out += ',';
            if (const QString* const referenceText = reference->referenceTextOf(entry.name))
                appendField(*referenceText, out);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace cli
