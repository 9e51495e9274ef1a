#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"
#include "cli/JsonText.h"

#include "document/Document.h"

#include "review/ReviewFile.h"
#include "text/Decimal.h"
#include "xom/TranslationReview.h"

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");
const QString JsonOption = QStringLiteral("--json");

// What the report says of one entry: the checks it fails, and whether its
// source changed since it was accepted.
struct EntryFindings {
    xom::Checks checks;
    bool sourceChanged = false;

    [[nodiscard]] bool any() const { return checks || sourceChanged; }
};

EntryFindings findingsOf(const document::Document& document, const int row)
{
    return {document.review()->checksOfRow(row), document.sourceChanged(row + 1)};
}

QStringList findingNames(const document::Document& document, const int row, const EntryFindings& findings)
{
    QStringList names = xom::describedChecks(*document.review(), document.entries(), row);
    if (findings.sourceChanged)
        names.append(QStringLiteral("source changed"));
    return names;
}

// How many entries have each state, and how many changed their source.
struct StateTotals {
    int needsReview = 0;
    int translated = 0;
    int approved = 0;
    int sourceChanged = 0;

    [[nodiscard]] bool any() const { return needsReview + translated + approved + sourceChanged > 0; }
};

StateTotals stateTotals(const document::Document& document)
{
    StateTotals totals;
    for (int gridRow = 1; gridRow <= document.entries().entryCount(); ++gridRow) {
        switch (document.entryReview(gridRow).state) {
        case review::State::NeedsReview:
            ++totals.needsReview;
            break;
        case review::State::Translated:
            ++totals.translated;
            break;
        case review::State::Approved:
            ++totals.approved;
            break;
        case review::State::Unset:
            break;
        }
        totals.sourceChanged += document.sourceChanged(gridRow) ? 1 : 0;
    }
    return totals;
}

// One entry a line that fails a check or whose source changed: "number<TAB>
// name<TAB>check, check"; then the totals, and the states' when the review
// file beside FILE holds any.
QByteArray plainReport(const document::Document& document)
{
    const xom::EntryTable& entries = document.entries();
    QByteArray out;
    for (int row = 0; row < entries.entryCount(); ++row) {
        const EntryFindings findings = findingsOf(document, row);
        if (!findings.any())
            continue;
        out += (entries.number(row) + u'\t' + entries.name(row).toString() + u'\t'
                + findingNames(document, row, findings).join(QStringLiteral(", ")) + u'\n')
                   .toUtf8();
    }
    const xom::CheckTotals totals = document.review()->totals();
    out += QStringLiteral("%1 entries: %2 untranslated, %3 with warnings\n")
               .arg(text::FormatDecimal(entries.entryCount()), text::FormatDecimal(totals.untranslated),
                   text::FormatDecimal(totals.withWarnings))
               .toUtf8();
    if (const StateTotals states = stateTotals(document); states.any()) {
        out += QStringLiteral("states: %1 needing review, %2 translated, %3 approved; %4 source changed\n")
                   .arg(text::FormatDecimal(states.needsReview), text::FormatDecimal(states.translated),
                       text::FormatDecimal(states.approved), text::FormatDecimal(states.sourceChanged))
                   .toUtf8();
    }
    return out;
}

void appendJsonEntry(const xom::EntryTable& entries, const int row, QByteArray& out)
{
    out += "{\"number\":";
    appendJsonNumberCell(entries.number(row), out);
    out += ",\"name\":";
    appendJsonText(entries.name(row), out);
}

QByteArray jsonReport(const document::Document& document)
{
    const xom::EntryTable& entries = document.entries();
    const xom::TranslationReview& review = *document.review();
    QByteArray out("{\"failing\":[");
    const char* separator = "\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        const xom::Checks checks = review.checksOfRow(row);
        if (!checks)
            continue;
        out += separator;
        appendJsonEntry(entries, row, out);
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

    // Every entry with a state, or whose source changed.
    out += ",\"reviewed\":[";
    separator = "\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        const review::EntryReview& kept = document.entryReview(row + 1);
        const bool sourceChanged = document.sourceChanged(row + 1);
        if (kept.state == review::State::Unset && !sourceChanged)
            continue;
        out += separator;
        appendJsonEntry(entries, row, out);
        out += ",\"state\":";
        appendJsonText(review::stateWord(kept.state), out);
        out += sourceChanged ? ",\"sourceChanged\":true" : ",\"sourceChanged\":false";
        out += ",\"note\":";
        appendJsonText(kept.note, out);
        out += '}';
        separator = ",\n";
    }
    out += separator[0] == ',' ? "\n]" : "]";

    const xom::CheckTotals totals = review.totals();
    const StateTotals states = stateTotals(document);
    out += ",\"entries\":" + QByteArray::number(entries.entryCount()) + ",\"untranslated\":"
         + QByteArray::number(totals.untranslated) + ",\"withWarnings\":" + QByteArray::number(totals.withWarnings)
         + ",\"needsReview\":" + QByteArray::number(states.needsReview) + ",\"translated\":"
         + QByteArray::number(states.translated) + ",\"approved\":" + QByteArray::number(states.approved)
         + ",\"sourceChanged\":" + QByteArray::number(states.sourceChanged) + "}\n";
    return out;
}

int runCheck(const Invocation& call)
{
    if (!call.has(ReferenceOption))
        throw UsageError(QStringLiteral("check needs --reference REF"));
    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    const QString referencePath = call.value(ReferenceOption);
    document.openReference(loadLanguageFile(referencePath).entries, referencePath);
    writeOut(call.has(JsonOption) ? jsonReport(document) : plainReport(document));
    return document.review()->totals().failing() == 0 ? ExitSuccess : ExitChecksFailed;
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
                       "The review file beside FILE (FILE.review) adds its states: an entry\n"
                       "whose reference text is no longer the one it was accepted against is\n"
                       "listed as \"source changed\", and a line of the states' totals follows.\n"
                       "\n"
                       "With --json the report is one JSON document in the form of dump's:\n"
                       "  {\"failing\":[{\"number\":...,\"name\":...,\"checks\":[...]}, ...],\n"
                       "   \"reviewed\":[{\"number\":...,\"name\":...,\"state\":...,\n"
                       "                 \"sourceChanged\":...,\"note\":...}, ...],\n"
                       "   \"entries\":...,\"untranslated\":...,\"withWarnings\":...,\n"
                       "   \"needsReview\":...,\"translated\":...,\"approved\":...,\n"
                       "   \"sourceChanged\":...}\n"
                       "with a state one of \"needs-review\", \"translated\", \"approved\" or \"-\".\n"
                       "The exit status tells the checks alone.\n"
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
