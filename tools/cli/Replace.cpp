#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"

#include "document/Document.h"

#include "xom/TableSearch.h"

namespace cli {

namespace {

xom::LookIn lookInOf(const Invocation& call)
{
    const bool names = call.has(QStringLiteral("--names"));
    const bool texts = call.has(QStringLiteral("--texts"));
    const bool both = call.has(QStringLiteral("--both"));
    if (int(names) + int(texts) + int(both) > 1)
        throw UsageError(QStringLiteral("give only one of --names, --texts and --both"));
    return names ? xom::LookIn::Names : both ? xom::LookIn::Both : xom::LookIn::Texts;
}

void runReplace(const Invocation& call)
{
    const QString find = call.value(QStringLiteral("--find"));
    if (find.isEmpty())
        throw UsageError(QStringLiteral("replace needs a non-empty --find TEXT"));
    if (!call.has(QStringLiteral("--replace")))
        throw UsageError(QStringLiteral("replace needs --replace TEXT (it may be empty)"));
    const bool regex = call.has(QStringLiteral("--regex"));
    const xom::TableSearch search({find, regex ? text::MatchMode::RegularExpression : text::MatchMode::Contains,
                                      call.has(QStringLiteral("--match-case"))},
        lookInOf(call));
    if (!search.matcher().isValid())
        throw UsageError(QStringLiteral("bad regular expression: %1").arg(search.matcher().errorText()));

    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    const xom::MatchTally tally = document.replaceAll(search, call.value(QStringLiteral("--replace")));
    document.saveAs(call.operands[1]);
    writeOut((xom::describeReplacements(tally) + u'\n').toUtf8());
}

} // namespace

// replace IN OUT --find TEXT --replace TEXT [--regex] [--match-case]
// [--names|--texts|--both]: the editor's Replace All, saved to OUT.
Command replaceCommand()
{
    return Command{QStringLiteral("replace"), {QStringLiteral("IN"), QStringLiteral("OUT")},
        QStringLiteral("replace a term in every text or name, save OUT"),
        QStringLiteral("Loads IN, replaces every occurrence of the --find text with the --replace\n"
                       "text as the editor's Replace All does, saves the result to OUT and prints\n"
                       "the count (\"412 replacements in 398 entries\"). OUT is written even when\n"
                       "nothing matched, is replaced atomically and may be IN.\n"
                       "\n"
                       "Without --match-case, texts are compared by Unicode simple case folding\n"
                       "in the user's locale. In the replacement for a --regex, \\1 .. \\9 stand\n"
                       "for the expression's groups, \\0 for the whole match and \\\\ for a\n"
                       "backslash. Line breaks are matched like other characters and the ones\n"
                       "not replaced are kept as they are. A regular expression that does not\n"
                       "compile is a usage error.\n"
                       "\n"
                       "Example: ludra-lang replace --find Continue --replace Resume lang_en.xom lang_en.xom\n"),
        runReplace,
        {Option{QStringLiteral("--find"), QStringLiteral("TEXT"), QStringLiteral("what to look for; never empty")},
            Option{
                QStringLiteral("--replace"), QStringLiteral("TEXT"), QStringLiteral("what replaces it; may be empty")},
            Option{QStringLiteral("--regex"), QString(), QStringLiteral("TEXT is a regular expression")},
            Option{QStringLiteral("--match-case"), QString(), QStringLiteral("letter case counts")},
            Option{QStringLiteral("--texts"), QString(), QStringLiteral("look in the texts (the default)")},
            Option{QStringLiteral("--names"), QString(), QStringLiteral("look in the names instead")},
            Option{QStringLiteral("--both"), QString(), QStringLiteral("look in the names and the texts")}}};
}

} // namespace cli
