#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/CsvImport.h"
#include "cli/CsvReader.h"
#include "cli/CsvWriter.h"
#include "cli/EntryImport.h"
#include "cli/ExchangeFormat.h"
#include "cli/Files.h"
#include "cli/ImportError.h"
#include "cli/PoFile.h"
#include "cli/XliffFile.h"

namespace cli {

namespace {

void runImport(const Invocation& call)
{
    const QString& exchangePath = call.operands[1];
    const QString formatName = call.value(QStringLiteral("--format"));
    const std::optional<ExchangeFormat> format = exchangeFormatOf(
        exchangePath, call.has(QStringLiteral("--format")) ? std::optional(formatName) : std::nullopt);
    if (!format)
        throw UsageError(QStringLiteral("unknown format '%1' (csv, po or xliff)").arg(formatName));
    const bool wantReport = call.has(QStringLiteral("--report"));

    xom::LoadedFile file = loadLanguageFile(call.operands[0]);
    const QByteArray exchange = readWholeFile(exchangePath);
    std::vector<ImportChange> changes;
    EntryImport import(file.entries, file.model, wantReport ? &changes : nullptr);
    try {
        switch (*format) {
        case ExchangeFormat::Csv: {
            CsvReader reader(exchange);
            applyCsvEdits(reader, import);
            break;
        }
        case ExchangeFormat::Po:
            applyPoEdits(exchange, import);
            break;
        case ExchangeFormat::Xliff:
            applyXliffEdits(exchange, import);
            break;
        }
    } catch (const ImportError& error) {
        throw CommandError(QStringLiteral("%1:%2: %3").arg(exchangePath).arg(error.line()).arg(error.reason()));
    }
    if (!call.has(QStringLiteral("--dry-run")))
        saveLanguageFileTo(call.operands[2], file.entries, file.model);
    if (wantReport)
        writeWholeFile(call.value(QStringLiteral("--report")), csvOfChanges(changes));
    writeErr(summaryLine(import.summary()) + u'\n');
}

} // namespace

// import [--format F] [--dry-run] [--report FILE] IN.xom IN OUT.xom: an edit
// file applied to IN.xom (see EntryImport), the result saved to OUT.xom.
Command importCommand()
{
    return Command{QStringLiteral("import"),
        {QStringLiteral("IN.xom"), QStringLiteral("IN"), QStringLiteral("OUT.xom")},
        QStringLiteral("apply CSV, PO or XLIFF edits and new entries, save OUT.xom"),
        QStringLiteral("Loads IN.xom, applies IN (CSV, or PO or XLIFF 1.2 by its extension or\n"
                       "--format) to its entries and saves the result to OUT.xom.\n"
                       "\n"
                       "A CSV starts with the header line \"number,name,text\" (a fourth column\n"
                       "\"reference\" is read past); each record after it\n"
                       "  - with a number: replaces the name and text of the first entry whose\n"
                       "    number is exactly that text;\n"
                       "  - with an empty number: adds a new last entry exactly as the editor's\n"
                       "    Add does (the next number, one more string resource).\n"
                       "A PO message names its entry by msgctxt \"NUMBER NAME\", an XLIFF\n"
                       "trans-unit by its id and resname; an empty msgstr or target keeps the\n"
                       "entry's text.\n"
                       "\n"
                       "A text equal to the entry's text but for the form of its line breaks\n"
                       "(a spreadsheet turns CR LF into LF) leaves the entry unchanged; a changed\n"
                       "or new text gets the editor's line breaks, CR LF. Grid order is kept; new\n"
                       "entries go to the end. Standard error shows \"n changed, m added,\n"
                       "k unchanged\".\n"
                       "\n"
                       "Reads CSV as export writes it and as spreadsheets save it: UTF-8 with or\n"
                       "without a byte-order mark or UTF-16 with one, comma, semicolon or tab as\n"
                       "the header shows, CR LF or LF line ends, RFC 4180 quoting; empty lines\n"
                       "and trailing empty fields are ignored. A missing header, a record\n"
                       "without three fields, a malformed quote, a NUL byte, bytes that are not\n"
                       "UTF-8, a number that matches no entry or that two records give is an\n"
                       "error naming the line the record starts on (the header is line 1), and\n"
                       "then nothing is written. OUT.xom is replaced atomically and may be\n"
                       "IN.xom; '-' reads IN from standard input or writes OUT.xom to standard\n"
                       "output.\n"
                       "\n"
                       "Example: ludra-lang import lang_en.xom lang_en.csv lang_en.xom\n"),
        runImport,
        {Option{QStringLiteral("--format"), QStringLiteral("csv|po|xliff"),
             QStringLiteral("the format of IN, whatever its extension")},
            Option{QStringLiteral("--dry-run"), QString(), QStringLiteral("check and count; write no language file")},
            Option{QStringLiteral("--report"), QStringLiteral("FILE"),
                QStringLiteral("the changed and added entries as CSV")}}};
}

} // namespace cli
