#include "cli/Command.h"

#include "cli/CsvWriter.h"
#include "cli/ExchangeFormat.h"
#include "cli/Files.h"
#include "cli/PoFile.h"
#include "cli/XliffFile.h"

#include <QFileInfo>

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");

// The --format of a call, or nothing without the option.
std::optional<QString> formatOption(const Invocation& call)
{
    return call.has(QStringLiteral("--format")) ? std::optional(call.value(QStringLiteral("--format"))) : std::nullopt;
}

void runExport(const Invocation& call)
{
    const QString& in = call.operands[0];
    const QString& out = call.operands[1];
    const std::optional<ExchangeFormat> format = exchangeFormatOf(out, formatOption(call));
    if (!format)
        throw UsageError(QStringLiteral("unknown format '%1' (csv, po or xliff)").arg(*formatOption(call)));
    if (call.has(ReferenceOption) && *format != ExchangeFormat::Csv)
        throw UsageError(QStringLiteral("--reference works with CSV only"));
    const xom::LoadedFile file = loadLanguageFile(in);
    const QString project = isStandardStream(in) ? QStringLiteral("-") : QFileInfo(in).fileName();
    switch (*format) {
    case ExchangeFormat::Csv:
        if (call.has(ReferenceOption)) {
            const xom::TranslationReview reference(loadLanguageFile(call.value(ReferenceOption)).entries);
            writeWholeFile(out, csvOfEntries(file.entries, &reference));
        } else {
            writeWholeFile(out, csvOfEntries(file.entries));
        }
        break;
    case ExchangeFormat::Po:
        writeWholeFile(out, poOfEntries(file.entries, project));
        break;
    case ExchangeFormat::Xliff:
        writeWholeFile(out, xliffOfEntries(file.entries, project));
        break;
    }
}

} // namespace

// export [--format F] IN OUT: the entries of IN as CSV, PO or XLIFF.
Command exportCommand()
{
    return Command{QStringLiteral("export"), {QStringLiteral("IN"), QStringLiteral("OUT")},
        QStringLiteral("the entries as CSV, PO or XLIFF"),
        QStringLiteral("Writes the entries of IN to OUT in grid order, as CSV, or as PO or XLIFF\n"
                       "1.2 by OUT's extension (.po, .xlf, .xliff) or --format. Every text\n"
                       "survives exactly, line breaks included.\n"
                       "\n"
                       "CSV: the header line \"number,name,text\", then one record per entry.\n"
                       "UTF-8 with a byte-order mark, CR LF after every record, every field in\n"
                       "quotes (quotes doubled), so that a spreadsheet reading quoted fields as\n"
                       "text keeps 00123, =SUM(A1) or +49 as they are. A lone surrogate is\n"
                       "written in its three-byte form so that import gives it back.\n"
                       "\n"
                       "PO: one message per entry, msgctxt \"NUMBER NAME\", msgid and msgstr the\n"
                       "entry's text, and a header declaring charset=UTF-8. XLIFF: one\n"
                       "trans-unit per entry, id the number, resname the name, source and\n"
                       "target the text. Neither can hold a lone surrogate, and XLIFF no control\n"
                       "character but tab, LF and CR: such an entry stops the export, naming\n"
                       "it, and nothing is written.\n"
                       "\n"
                       "With --reference REF (CSV only), a fourth column \"reference\" holds the\n"
                       "text of the first entry of REF with the same name (empty when REF has\n"
                       "none), for translating beside it; import ignores that column.\n"
                       "\n"
                       "OUT is replaced atomically; '-' writes standard output.\n"
                       "\n"
                       "Example: ludra-lang export lang_en.xom lang_en.csv\n"
                       "         ludra-lang export --reference lang_en.xom lang_de.xom lang_de.csv\n"),
        runExport,
        {Option{QStringLiteral("--format"), QStringLiteral("csv|po|xliff"),
             QStringLiteral("the format of OUT, whatever its extension")},
            Option{ReferenceOption, QStringLiteral("REF"), QStringLiteral("add the reference texts of REF (CSV)")}}};
}

} // namespace cli
