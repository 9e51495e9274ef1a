#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"

#include "document/Document.h"
#include "exchange/ImportError.h"
#include "memory/DocumentUnits.h"
#include "memory/PreTranslation.h"
#include "memory/TmxFile.h"
#include "memory/TranslationMemory.h"

#include "text/Decimal.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

const QString MemoryOption = QStringLiteral("--memory");
const QString ReferenceOption = QStringLiteral("--reference");
const QString SourceLanguageOption = QStringLiteral("--source-language");
const QString TargetLanguageOption = QStringLiteral("--target-language");

// The memory --memory names, or the user's own.
memory::TranslationMemory openMemory(const Invocation& call)
{
    return memory::TranslationMemory(
        call.has(MemoryOption) ? call.value(MemoryOption) : memory::TranslationMemory::defaultPath());
}

// The languages the options give, in normal form; a tag given that is none
// is a usage error.
memory::LanguagePair givenLanguages(const Invocation& call)
{
    memory::LanguagePair given;
    const auto tag = [&](const QString& option, QString& into) {
        if (!call.has(option))
            return;
        into = memory::normalLanguageTag(call.value(option));
        if (into.isEmpty())
            throw UsageError(QStringLiteral("%1: '%2' is no language tag").arg(option, call.value(option)));
    };
    tag(SourceLanguageOption, given.source);
    tag(TargetLanguageOption, given.target);
    return given;
}

// The translation at path opened with its review file and the reference
// --reference names beside it.
void openWithReference(document::Document& document, const QString& path, const Invocation& call)
{
    if (!call.has(ReferenceOption))
        throw UsageError(QStringLiteral("%1 REF is needed: the source-language file").arg(ReferenceOption));
    openDocument(document, path);
    xom::LoadedFile reference = loadLanguageFile(call.value(ReferenceOption));
    document.openReference(std::move(reference.entries), call.value(ReferenceOption));
}

// The document's languages, from the options or the file names; a usage
// error naming the option to give when a name tells none.
memory::LanguagePair languagesFor(const document::Document& document, const Invocation& call)
{
    const memory::LanguagePair languages = memory::languagesOf(document, givenLanguages(call));
    if (languages.source.isEmpty())
        throw UsageError(
            QStringLiteral("the reference's name tells no language (lang_TAG.xom): give %1").arg(SourceLanguageOption));
    if (languages.target.isEmpty())
        throw UsageError(QStringLiteral("the translation's name tells no language (lang_TAG.xom): give %1")
                             .arg(TargetLanguageOption));
    return languages;
}

void tellAdded(const memory::AddedUnits& added, const memory::TranslationMemory& memory)
{
    writeErr(QStringLiteral("%1 units added, %2 updated (%3)\n")
                 .arg(text::FormatDecimal(added.added), text::FormatDecimal(added.updated),
                     QDir::toNativeSeparators(memory.path())));
}

void addTranslation(const QString& path, const Invocation& call)
{
    document::Document document(document::Document::History::NotKept);
    openWithReference(document, path, call);
    const std::vector<memory::MemoryUnit> units
        = memory::unitsOf(document, languagesFor(document, call), QDateTime::currentDateTimeUtc());
    memory::TranslationMemory memory = openMemory(call);
    tellAdded(memory.add(units), memory);
}

void importTmx(const QString& path, const Invocation& call)
{
    std::vector<memory::MemoryUnit> units;
    try {
        units = memory::readTmx(readWholeFile(path));
    } catch (const exchange::ImportError& error) {
        throw CommandError(QStringLiteral("%1: line %2: %3").arg(path).arg(error.line()).arg(error.reason()));
    }
    memory::TranslationMemory memory = openMemory(call);
    tellAdded(memory.add(units), memory);
}

void exportTmx(const QString& path, const Invocation& call)
{
    const memory::LanguagePair only = givenLanguages(call);
    memory::TranslationMemory memory = openMemory(call);
    std::vector<memory::MemoryUnit> units = memory.allUnits();
    std::erase_if(units, [&](const memory::MemoryUnit& unit) {
        return (!only.source.isEmpty() && unit.sourceLanguage != only.source)
            || (!only.target.isEmpty() && unit.targetLanguage != only.target);
    });
    const memory::TmxWritten written = memory::writeTmx(units);
    writeWholeFile(path, written.bytes);
    QString told = QStringLiteral("%1 units written")
                       .arg(text::FormatDecimal(static_cast<int>(units.size()) - written.unitsLeftOut));
    if (written.unitsLeftOut > 0)
        told += QStringLiteral(", %1 left out (characters XML cannot hold)")
                    .arg(text::FormatDecimal(written.unitsLeftOut));
    writeErr(told + u'\n');
}

void runMemory(const Invocation& call)
{
    const QString& action = call.operands[0];
    if (action == u"add")
        addTranslation(call.operands[1], call);
    else if (action == u"import")
        importTmx(call.operands[1], call);
    else if (action == u"export")
        exportTmx(call.operands[1], call);
    else
        throw UsageError(QStringLiteral("'%1' is no memory action: add, import or export").arg(action));
}

void runPreTranslate(const Invocation& call)
{
    document::Document document(document::Document::History::NotKept);
    openWithReference(document, call.operands[0], call);
    const memory::LanguagePair languages = languagesFor(document, call);
    // Languages given are kept in the review file written with OUT.
    const memory::LanguagePair given = givenLanguages(call);
    if (!given.source.isEmpty() || !given.target.isEmpty()) {
        document.setLanguages({given.source.isEmpty() ? document.languages().source : given.source,
            given.target.isEmpty() ? document.languages().target : given.target});
    }
    memory::PreTranslateOptions options;
    if (call.has(QStringLiteral("--min-score"))) {
        bool ok = false;
        options.minScore = call.value(QStringLiteral("--min-score")).toInt(&ok);
        if (!ok || options.minScore < 1 || options.minScore > 100)
            throw UsageError(QStringLiteral("--min-score takes a number from 1 to 100"));
    }
    if (call.has(QStringLiteral("--exact-as"))) {
        const QString exactAs = call.value(QStringLiteral("--exact-as"));
        if (exactAs != u"translated" && exactAs != u"needs-review")
            throw UsageError(QStringLiteral("--exact-as takes translated or needs-review"));
        options.exactAsTranslated = exactAs == u"translated";
    }
    memory::TranslationMemory memory = openMemory(call);
    const memory::PreTranslateResult result = memory::preTranslate(document, memory, languages, options);
    saveDocumentTo(document, call.operands[1]);
    if (call.has(QStringLiteral("--report")))
        writeWholeFile(call.value(QStringLiteral("--report")), memory::preTranslateReport(result, document));
    writeErr(memory::preTranslateSummary(result, options) + u'\n');
}

Option memoryOption()
{
    return Option{
        MemoryOption, QStringLiteral("FILE"), QStringLiteral("the translation memory to use (default: the user's)")};
}

std::vector<Option> languageOptions()
{
    return {Option{SourceLanguageOption, QStringLiteral("TAG"),
                QStringLiteral("the reference's language, where its file name tells none")},
        Option{TargetLanguageOption, QStringLiteral("TAG"),
            QStringLiteral("the translation's language, where its file name tells none")}};
}

} // namespace

// memory ACTION FILE: the translation memory filled from a translation or a
// TMX file, or written as TMX.
Command memoryCommand()
{
    std::vector<Option> options{memoryOption(),
        Option{ReferenceOption, QStringLiteral("REF"), QStringLiteral("add: the reference the translation is of")}};
    for (Option& option : languageOptions())
        options.push_back(std::move(option));
    return Command{QStringLiteral("memory"), {QStringLiteral("ACTION"), QStringLiteral("FILE")},
        QStringLiteral("fill the translation memory, or write it as TMX"),
        QStringLiteral("ACTION is one of:\n"
                       "  add      FILE is a translation (lang_de.xom) and --reference REF its\n"
                       "           source-language file: each entry that is translated or\n"
                       "           approved goes into the memory, its source the reference's\n"
                       "           text (entries needing review or untranslated do not);\n"
                       "  import   FILE is a TMX file (1.1 to 1.4): each of its units goes in;\n"
                       "  export   FILE ('-': standard output) gets the memory as TMX 1.4, the\n"
                       "           units of --source-language and --target-language only when\n"
                       "           they are given.\n"
                       "A unit already kept (the same languages, source and target) is updated.\n"
                       "The languages come from the file names (lang_en.xom: en) or the\n"
                       "options. The memory is the editor's own, in the user's data folder,\n"
                       "unless --memory names another.\n"
                       "\n"
                       "Example: ludra-lang memory add lang_de.xom --reference lang_en.xom\n"),
        runMemory, std::move(options)};
}

// pretranslate [OPTION]... FILE OUT: the untranslated entries filled from
// the translation memory.
Command preTranslateCommand()
{
    std::vector<Option> options{memoryOption(),
        Option{ReferenceOption, QStringLiteral("REF"), QStringLiteral("the source-language file (needed)")},
        Option{QStringLiteral("--min-score"), QStringLiteral("N"),
            QStringLiteral("the least similarity of a near match, 1 to 100 (default 75)")},
        Option{QStringLiteral("--exact-as"), QStringLiteral("STATE"),
            QStringLiteral("translated or needs-review (default): the state of an exact match")},
        Option{QStringLiteral("--report"), QStringLiteral("FILE"),
            QStringLiteral("each entry filled or not, with its score ('-': standard output)")}};
    for (Option& option : languageOptions())
        options.push_back(std::move(option));
    return Command{QStringLiteral("pretranslate"), {QStringLiteral("FILE"), QStringLiteral("OUT.xom")},
        QStringLiteral("fill untranslated entries from the translation memory"),
        QStringLiteral("Loads FILE with its review file and --reference REF, fills each\n"
                       "untranslated entry (its text empty or the reference's) from the\n"
                       "translation memory, and saves the result to OUT.xom with its review\n"
                       "file. An exact match (the same source text) is taken as needing review,\n"
                       "or as translated with --exact-as translated; the best near match at\n"
                       "--min-score or more as needing review. Standard error shows the counts.\n"
                       "\n"
                       "Example: ludra-lang pretranslate lang_de.xom --reference lang_en.xom "
                       "lang_de.xom\n"),
        runPreTranslate, std::move(options)};
}

} // namespace cli
