#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"
#include "cli/JsonText.h"

#include "text/Decimal.h"
#include "xom/TranslationReview.h"

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");
const QString JsonOption = QStringLiteral("--json");

// One failing entry a line: "number<TAB>name<TAB>check, check"; then the
// totals.
QByteArray plainReport(const xom::EntryTable& entries, const xom::TranslationReview& review)
{
    QByteArray out;
    for (int row = 0; row < entries.entryCount(); ++row) {
        const xom::Checks checks = review.checksOfRow(row);
        if (!checks)
            continue;
        out += (entries.number(row) + u'\t' + entries.name(row).toString() + u'\t'
                + xom::checkNames(checks).join(QStringLiteral(", ")) + u'\n')
                   .toUtf8();
    }
    const xom::CheckTotals totals = review.totals();
    out += QStringLiteral("%1 entries: %2 untranslated, %3 with warnings\n")
               .arg(text::FormatDecimal(entries.entryCount()), text::FormatDecimal(totals.untranslated),
                   text::FormatDecimal(totals.withWarnings))
               .toUtf8();
    return out;
}

QByteArray jsonReport(const xom::EntryTable& entries, const xom::TranslationReview& review)
{
    QByteArray out("{\"failing\":[");
    const char* separator = "\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        const xom::Checks checks = review.checksOfRow(row);
        if (!checks)
            continue;
        out += separator;
        out += "{\"number\":";
        appendJsonNumberCell(entries.number(row), out);
        out += ",\"name\":";
        appendJsonText(entries.name(row), out);
        out += ",\"checks\":[";
        const QStringList names = xom::checkNames(checks);
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (i > 0)
                out += ',';
            appendJsonText(names[i], out);
        }
        out += "]}";
        separator = ",\n";
    }
    out += review.totals().failing() == 0 ? "]" : "\n]";
    const xom::CheckTotals totals = review.totals();
    out += ",\"entries\":" + QByteArray::number(entries.entryCount())
         + ",\"untranslated\":" + QByteArray::number(totals.untranslated)
         + ",\"withWarnings\":" + QByteArray::number(totals.withWarnings) + "}\n";
    return out;
}

int runCheck(const Invocation& call)
{
    if (!call.has(ReferenceOption))
        throw UsageError(QStringLiteral("check needs --reference REF"));
    const xom::LoadedFile file = loadLanguageFile(call.operands[0]);
    xom::TranslationReview review(loadLanguageFile(call.value(ReferenceOption)).entries);
    review.recheckAll(file.entries);
    writeOut(call.has(JsonOption) ? jsonReport(file.entries, review) : plainReport(file.entries, review));
    return review.totals().failing() == 0 ? ExitSuccess : ExitChecksFailed;
}

} // namespace

// check FILE --reference REF [--json]: the entries of FILE that fail a check
// beside REF, and the totals.
Command checkCommand()
{
    return Command{QStringLiteral("check"), {QStringLiteral("FILE")},
        QStringLiteral("check a translation against --reference REF"),
        QStringLiteral("Checks each entry of FILE against its reference: the first entry of REF\n"
                       "with the same name. Writes one line per entry that fails a check, in grid\n"
                       "order, as number, name and the failing checks separated by tabs, then a\n"
                       "line of totals. The checks:\n"
                       "  untranslated         the text equals the reference text (not empty)\n"
                       "  empty                the text is empty, the reference text is not\n"
                       "  missing reference    REF has no entry of that name\n"
                       "  placeholders differ  the placeholders differ as a multiset: printf\n"
                       "                       style (%s, %d, %1$s; \"%%\" is none), %1 .. %9,\n"
                       "                       {0}, {name}, and control characters other than\n"
                       "                       line breaks and tab\n"
                       "  line breaks differ   the numbers of line breaks differ\n"
                       "  whitespace differs   the leading or trailing whitespace differs\n"
                       "An untranslated entry counts as untranslated, any other failing entry as\n"
                       "one with warnings.\n"
                       "\n"
                       "With --json the report is one JSON document in the form of dump's:\n"
                       "  {\"failing\":[{\"number\":...,\"name\":...,\"checks\":[...]}, ...],\n"
                       "   \"entries\":...,\"untranslated\":...,\"withWarnings\":...}\n"
                       "\n"
                       "Exit status: 0 when no entry fails, 3 when some entry does, 1 when FILE\n"
                       "or REF cannot be read, 2 a usage error (--reference is required).\n"
                       "\n"
                       "Example: ludra-lang check lang_de.xom --reference lang_en.xom\n"),
        nullptr,
        {Option{ReferenceOption, QStringLiteral("REF"), QStringLiteral("the reference language file (required)")},
            Option{JsonOption, {}, QStringLiteral("write the report as JSON")}},
        runCheck};
}

} // namespace cli
