#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"
#include "cli/JsonText.h"

#include "checks/DocumentChecks.h"
#include "document/Document.h"

#include "review/ReviewFile.h"
#include "text/Decimal.h"
#include "xom/TranslationReview.h"

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");
const QString JsonOption = QStringLiteral("--json");
const QString ChecksOption = QStringLiteral("--checks");
const QString ListChecksOption = QStringLiteral("--list-checks");
const QString FixOption = QStringLiteral("--fix");

// What the report says of one entry: the checks it fails, and whether its
// source changed since it was accepted.
struct EntryFindings {
    std::vector<checks::CheckFinding> checks;
    bool sourceChanged = false;

    [[nodiscard]] bool any() const { return !checks.empty() || sourceChanged; }
};

// What the checks found: the review's context for the details, and the
// words spelling found unknown.
struct Checked {
    checks::TextCheckContext context;
    checks::UnknownWords unknown;

    [[nodiscard]] xom::CheckTotals totals(const xom::TranslationReview& review) const
    {
        return checks::totalsWithSpelling(review, unknown);
    }
};

EntryFindings findingsOf(const document::Document& document, const int row, const Checked& checked)
{
    return {checks::findingsOfRow(document, row, checked.context, checked.unknown), document.sourceChanged(row + 1)};
}

QStringList findingNames(const EntryFindings& findings)
{
    QStringList names = checks::describe(findings.checks);
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
QByteArray plainReport(const document::Document& document, const Checked& checked)
{
    const xom::EntryTable& entries = document.entries();
    QByteArray out;
    for (int row = 0; row < entries.entryCount(); ++row) {
        const EntryFindings findings = findingsOf(document, row, checked);
        if (!findings.any())
            continue;
        out += (entries.number(row) + u'\t' + entries.name(row).toString() + u'\t'
                + findingNames(findings).join(QStringLiteral(", ")) + u'\n')
                   .toUtf8();
    }
    const xom::CheckTotals totals = checked.totals(*document.review());
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

// Each failing check of an entry by its name, then again with its key,
// severity and what it found.
void appendJsonFindings(const std::vector<checks::CheckFinding>& findings, QByteArray& out)
{
    out += ",\"checks\":[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        if (i > 0)
            out += ',';
        appendJsonText(findings[i].check->name, out);
    }
    out += "],\"findings\":[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        out += i > 0 ? ",{\"check\":" : "{\"check\":";
        appendJsonText(QString(findings[i].check->key), out);
        out += ",\"severity\":";
        appendJsonText(QString(checks::severityName(findings[i].check->severity)), out);
        out += ",\"detail\":";
        appendJsonText(findings[i].detail, out);
        out += '}';
    }
    out += ']';
}

QByteArray jsonReport(const document::Document& document, const Checked& checked)
{
    const xom::EntryTable& entries = document.entries();
    const xom::TranslationReview& review = *document.review();
    QByteArray out("{\"failing\":[");
    const char* separator = "\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        if (!review.rowFails(row) && !checked.unknown.contains(row))
            continue;
        out += separator;
        appendJsonEntry(entries, row, out);
        appendJsonFindings(checks::findingsOfRow(document, row, checked.context, checked.unknown), out);
        out += '}';
        separator = ",\n";
    }
    out += checked.totals(review).failing() == 0 ? "]" : "\n]";

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

    const xom::CheckTotals totals = checked.totals(review);
    const StateTotals states = stateTotals(document);
    out += ",\"entries\":" + QByteArray::number(entries.entryCount()) + ",\"untranslated\":"
         + QByteArray::number(totals.untranslated) + ",\"withWarnings\":" + QByteArray::number(totals.withWarnings)
         + ",\"needsReview\":" + QByteArray::number(states.needsReview) + ",\"translated\":"
         + QByteArray::number(states.translated) + ",\"approved\":" + QByteArray::number(states.approved)
         + ",\"sourceChanged\":" + QByteArray::number(states.sourceChanged) + "}\n";
    return out;
}

// Every check: key, severity, whether it runs by default, name and what it
// finds, tab-separated.
QByteArray checkList()
{
    QString out;
    for (const checks::CheckEntry& check : checks::allCheckEntries()) {
        out += check.key + u'\t' + checks::severityName(check.severity) + u'\t'
             + (check.onByDefault ? QStringLiteral("on") : QStringLiteral("off")) + u'\t' + check.name + u'\t'
             + check.explanation + u'\n';
    }
    return out.toUtf8();
}

int runCheck(const Invocation& call)
{
    if (call.has(ListChecksOption)) {
        writeOut(checkList());
        return ExitSuccess;
    }
    if (!call.has(ReferenceOption))
        throw UsageError(QStringLiteral("check needs --reference REF"));
    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    const QString referencePath = call.value(ReferenceOption);
    document.openReference(loadLanguageFile(referencePath).entries, referencePath);

    // The file's own choices, or exactly the checks asked for.
    checks::CheckSelection selection = checks::selectionOf(document);
    if (call.has(ChecksOption)) {
        std::variant<checks::CheckSelection, QString> asked
            = checks::selectionOfKeys(call.value(ChecksOption), selection);
        if (const QString* const wrong = std::get_if<QString>(&asked))
            throw UsageError(*wrong);
        selection = std::get<checks::CheckSelection>(asked);
    }
    checks::runSelection(document, selection);
    // The languages the file's name gives, before --fix names it otherwise.
    const QString language = checks::targetLanguageOf(document);
    const QString spellingLanguage = checks::spellingLanguageOf(document);
    if (call.has(FixOption)) {
        const int fixed = checks::fixEntries(document);
        saveDocumentTo(document, call.value(FixOption));
        writeErr(
            QStringLiteral("%1 entries fixed, written to %2\n").arg(text::FormatDecimal(fixed), call.value(FixOption)));
    }
    Checked checked{checks::contextOf(selection, language), {}};
    if (selection.spelling) {
        QString why;
        checked.unknown = checks::unknownWordsOf(document, spellingLanguage, &why);
        // Said only where spelling was asked for by name: by default it
        // runs where a dictionary is installed, and is passed over quietly
        // elsewhere.
        if (!why.isEmpty() && call.value(ChecksOption).contains(QStringLiteral("spelling")))
            writeErr(QStringLiteral("spelling not checked: %1\n").arg(why));
    }
    writeOut(call.has(JsonOption) ? jsonReport(document, checked) : plainReport(document, checked));
    return checked.totals(*document.review()).failing() == 0 ? ExitSuccess : ExitChecksFailed;
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
                       "order, as number, name and the failing checks separated by tabs (each\n"
                       "with what it found in brackets: \"placeholders differ (missing %d)\"), then\n"
                       "a line of totals. --list-checks lists every check with its key, severity\n"
                       "(critical, warning, style), whether it runs by default, its name and what\n"
                       "it finds; among them:\n"
                       "  untranslated         the text equals the reference text (not empty)\n"
                       "  empty                the text is empty, the reference text is not\n"
                       "  missing-reference    REF has no entry of that name\n"
                       "  placeholders         the placeholders differ as a multiset: printf\n"
                       "                       style (%s, %d, %1$s; \"%%\" is none), %1 .. %9,\n"
                       "                       {0}, {name}, and control characters other than\n"
                       "                       line breaks and tab\n"
                       "  tags, numbers, end-punctuation, doubled-word, invisible-characters,\n"
                       "  length (off unless a limit is set) and more.\n"
                       "An untranslated entry counts as untranslated, any other failing entry as\n"
                       "one with warnings. The checks that run are the defaults with the choices\n"
                       "kept in FILE's review file, or with --checks exactly those listed, by key\n"
                       "and comma-separated (\"placeholders,tags,numbers\").\n"
                       "\n"
                       "--fix OUT makes the safe fixes first and writes the fixed file to OUT:\n"
                       "the reference's leading and trailing whitespace, zero-width and control\n"
                       "characters the reference does not have removed, three dots made an\n"
                       "ellipsis where the reference has one. The report is of the fixed file.\n"
                       "\n"
                       "The review file beside FILE (FILE.review) adds its states: an entry\n"
                       "whose reference text is no longer the one it was accepted against is\n"
                       "listed as \"source changed\", and a line of the states' totals follows.\n"
                       "\n"
                       "With --json the report is one JSON document in the form of dump's:\n"
                       "  {\"failing\":[{\"number\":...,\"name\":...,\"checks\":[...],\n"
                       "               \"findings\":[{\"check\":...,\"severity\":...,\"detail\":...}]},\n"
                       "              ...],\n"
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
                       "Example: ludra-lang check lang_de.xom --reference lang_en.xom\n"
                       "         ludra-lang check lang_de.xom --reference lang_en.xom --checks tags,numbers\n"),
        nullptr,
        {Option{ReferenceOption, QStringLiteral("REF"), QStringLiteral("the reference language file (required)")},
            Option{JsonOption, {}, QStringLiteral("write the report as JSON")},
            Option{ChecksOption, QStringLiteral("LIST"), QStringLiteral("run exactly these checks, by key")},
            Option{ListChecksOption, {}, QStringLiteral("list every check and stop")},
            Option{FixOption, QStringLiteral("OUT"), QStringLiteral("make the safe fixes and write the file to OUT")}},
        runCheck, ListChecksOption};
}

} // namespace cli
