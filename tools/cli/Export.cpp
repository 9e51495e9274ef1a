#include "cli/Command.h"

#include "cli/Files.h"
#include "cli/FormatOption.h"

#include "document/Document.h"

#include "exchange/ExchangeExport.h"
#include "exchange/ImportError.h"

#include <QFileInfo>

#include <optional>

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");
const QString StatesOption = QStringLiteral("--states");

// The language of a file: the option's value when given, else the one its
// name says, else "und".
QString languageOf(const Invocation& call, const QString& option, const QString& path)
{
    if (call.has(option))
        return call.value(option);
    return isStandardStream(path) ? QStringLiteral("und") : exchange::languageOfFileName(path);
}

void runExport(const Invocation& call)
{
    using exchange::ExchangeFormat;
    const QString& in = call.operands[0];
    const QString& out = call.operands[1];
    const ExchangeFormat format = formatOfExchangeFile(call, out);
    document::Document document(document::Document::History::NotKept);
    openDocument(document, in);
    if (call.has(ReferenceOption))
        document.openReference(loadLanguageFile(call.value(ReferenceOption)).entries, call.value(ReferenceOption));
    exchange::ExportContext context;
    context.project = isStandardStream(in) ? QStringLiteral("-") : QFileInfo(in).fileName();
    context.generator = exchange::exportGenerator();
    context.targetLanguage = languageOf(call, QStringLiteral("--target-language"), in);
    context.sourceLanguage = languageOf(
        call, QStringLiteral("--source-language"), call.has(ReferenceOption) ? call.value(ReferenceOption) : QString());
    context.reviewColumns = call.has(StatesOption) ? exchange::ReviewColumns::Always : exchange::ReviewColumns::Never;
    try {
        writeWholeFile(out, document.exportAs(format, context));
    } catch (const exchange::ExportError& error) {
        throw CommandError(error.message());
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
                       "entry's text, and a header declaring charset=UTF-8; an empty source is\n"
                       "written as msgid \"(empty)\" under a comment that says so, since gettext\n"
                       "keeps msgid \"\" for the header, and a lone surrogate in its three-byte\n"
                       "form, as in CSV. XLIFF: one trans-unit per entry, id the number, resname\n"
                       "the name, source and target the text. XLIFF cannot hold a lone surrogate\n"
                       "or a control character but tab, LF and CR: such an entry stops the\n"
                       "export, naming it, and nothing is written.\n"
                       "\n"
                       "The PO header's Language and the XLIFF file's source-language and\n"
                       "target-language come from --source-language and --target-language, or\n"
                       "from the names of REF and IN (lang_de.xom: de); \"und\" when nothing says.\n"
                       "\n"
                       "With --reference REF, the text of the first entry of REF with the same\n"
                       "name goes beside each entry's text: in CSV a fourth column \"reference\"\n"
                       "(empty when REF has none), which import ignores; in PO the msgid and in\n"
                       "XLIFF the source (the entry's own text when REF has none).\n"
                       "\n"
                       "The review file beside IN (IN.review), when there is one, gives each\n"
                       "entry's state and note. In PO, a note is written as translator comments\n"
                       "(\"# \" lines), an entry that needs review, or whose reference text\n"
                       "changed since its translation was accepted, is flagged fuzzy, and the\n"
                       "reference text it was accepted against, where it differs, is the previous\n"
                       "msgid (\"#| msgid\"). In XLIFF, the target's state is\n"
                       "needs-review-translation, translated or final (approved), and the note a\n"
                       "<note>. In CSV, --states adds the columns \"state\" (needs review,\n"
                       "translated, approved, or empty) and \"note\" after the others.\n"
                       "\n"
                       "OUT is replaced atomically; '-' writes standard output.\n"
                       "\n"
                       "Example: ludra-lang export lang_en.xom lang_en.csv\n"
                       "         ludra-lang export --reference lang_en.xom lang_de.xom lang_de.csv\n"),
        runExport,
        {formatOption(QStringLiteral("OUT")),
            Option{ReferenceOption, QStringLiteral("REF"), QStringLiteral("add the reference texts of REF")},
            Option{QStringLiteral("--source-language"), QStringLiteral("TAG"),
                QStringLiteral("the language of the sources (default: from REF's name)")},
            Option{QStringLiteral("--target-language"), QStringLiteral("TAG"),
                QStringLiteral("the language of IN (default: from IN's name)")},
            Option{StatesOption, QString(), QStringLiteral("CSV: add the state and note columns")}}};
}

} // namespace cli
