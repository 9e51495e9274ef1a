#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"
#include "cli/FormatOption.h"

#include "document/Document.h"

#include "exchange/CsvWriter.h"
#include "exchange/ExchangeImport.h"
#include "exchange/ImportError.h"

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");

void runImport(const Invocation& call)
{
    const QString& exchangePath = call.operands[1];
    const exchange::ExchangeFormat format = formatOfExchangeFile(call, exchangePath);
    const bool dryRun = call.has(QStringLiteral("--dry-run"));
    const bool wantReport = call.has(QStringLiteral("--report"));
    const QString reportPath = call.value(QStringLiteral("--report"));
    // A dry run writes no file at all: its report goes to standard output.
    if (dryRun && wantReport && !isStandardStream(reportPath))
        throw UsageError(QStringLiteral("--dry-run writes no file: give --report - to see the report"));

    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    if (call.has(ReferenceOption))
        document.openReference(loadLanguageFile(call.value(ReferenceOption)).entries, call.value(ReferenceOption));
    const QByteArray bytes = readWholeFile(exchangePath);
    exchange::ImportOptions options;
    options.report = wantReport;
    exchange::ImportOutcome outcome;
    try {
        outcome = document.importExchange(bytes, format, options);
    } catch (const exchange::ImportError& error) {
        throw CommandError(QStringLiteral("%1:%2: %3").arg(exchangePath).arg(error.line()).arg(error.reason()));
    }
    if (!dryRun)
        saveDocumentTo(document, call.operands[2]);
    if (wantReport)
        writeWholeFile(reportPath, exchange::csvOfChanges(outcome.report));
    writeErr(exchange::summaryLine(outcome.summary) + u'\n');
}

} // namespace

// import [--format F] [--dry-run] [--report FILE] IN.xom IN OUT.xom: an edit
// file applied to IN.xom with its states and notes (see EntryImport and
// Document::importExchange), the result saved to OUT.xom.
Command importCommand()
{
    return Command{QStringLiteral("import"),
        {QStringLiteral("IN.xom"), QStringLiteral("IN"), QStringLiteral("OUT.xom")},
        QStringLiteral("apply CSV, PO or XLIFF edits and new entries, save OUT.xom"),
        QStringLiteral("Loads IN.xom, applies IN (CSV, or PO or XLIFF 1.2 by its extension or\n"
                       "--format) to its entries and saves the result to OUT.xom.\n"
                       "\n"
                       "A CSV starts with the header line \"number,name,text\" (then, in any\n"
                       "order, \"reference\", which is read past, \"state\" and \"note\"); each\n"
                       "record after it\n"
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
                       "entries go to the end. A name may not break a line or hold a tab.\n"
                       "\n"
                       "States and notes go with the texts, into the review file beside OUT.xom\n"
                       "(OUT.xom.review; the one beside IN.xom is read first). A fuzzy PO\n"
                       "message, an XLIFF target whose state is needs-review-*, or new or needs\n"
                       "translation with a text, a unit marked approved=\"no\" or translate=\"no\",\n"
                       "and a CSV state \"needs review\" are applied and make the entry need\n"
                       "review. An XLIFF state translated, final or signed-off (approved) and a\n"
                       "CSV state translated, approved or empty (unset) set the state; a PO\n"
                       "message that is not fuzzy makes an entry that needed review translated.\n"
                       "PO translator comments, XLIFF notes and a CSV \"note\" column are the\n"
                       "entry's note. A file exported and imported unchanged changes no state:\n"
                       "an entry whose reference text changed (give the export's --reference REF\n"
                       "here too) stays as it is when the file says it needs review, and one\n"
                       "taken as done is accepted against REF's text. --accept-fuzzy is still\n"
                       "accepted and does nothing.\n"
                       "\n"
                       "Standard error shows what happened to the entries: \"n changed\n"
                       "(r renamed), m added, k unchanged, j not in the file\", and \", s states or\n"
                       "notes changed\" when there were such. A dry run writes no file; its\n"
                       "report, if asked for, goes to standard output (--report -).\n"
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
        {formatOption(QStringLiteral("IN")),
            Option{QStringLiteral("--dry-run"), QString(), QStringLiteral("check and count; write no file")},
            Option{QStringLiteral("--report"), QStringLiteral("FILE"),
                QStringLiteral("the changed and added entries as CSV ('-' with --dry-run)")},
            Option{ReferenceOption, QStringLiteral("REF"),
                QStringLiteral("the reference the states are accepted against")},
            Option{QStringLiteral("--accept-fuzzy"), QString(),
                QStringLiteral("no effect: fuzzy translations are applied as needing review")}}};
}

} // namespace cli
