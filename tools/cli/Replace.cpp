#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"

#include "xom/LanguageFileWriter.h"
#include "xom/TableSearch.h"

namespace cli {

namespace {

xom::LookIn lookInOf(const OptionValues& options)
{
    const bool names = options.contains(QStringLiteral("--names"));
    const bool texts = options.contains(QStringLiteral("--texts"));
    const bool both = options.contains(QStringLiteral("--both"));
    if (int(names) + int(texts) + int(both) > 1)
        throw CommandUsageError(QStringLiteral("give only one of --names, --texts and --both"));
    return names ? xom::LookIn::Names : both ? xom::LookIn::Both : xom::LookIn::Texts;
}

void runReplace(const QStringList& operands, const OptionValues& options)
{
    const QString find = options.value(QStringLiteral("--find"));
    if (find.isEmpty())
        throw CommandUsageError(QStringLiteral("replace needs a non-empty --find TEXT"));
    if (!options.contains(QStringLiteral("--replace")))
        throw CommandUsageError(QStringLiteral("replace needs --replace TEXT (it may be empty)"));
    const bool regex = options.contains(QStringLiteral("--regex"));
    const xom::TableSearch search({find, regex ? text::MatchMode::RegularExpression : text::MatchMode::Contains,
                                      options.contains(QStringLiteral("--match-case"))},
        lookInOf(options));
    if (!search.matcher().isValid())
        throw CommandUsageError(QStringLiteral("bad regular expression: %1").arg(search.matcher().errorText()));

    xom::LoadedFile file = loadLanguageFile(operands[0]);
    const xom::ReplaceAllResult result = search.replaceAll(file.entries, options.value(QStringLiteral("--replace")));
    xom::applyCellChanges(file.entries, result.changes);
    xom::saveLanguageFile(operands[1], file.entries, file.model);
    writeOut((xom::describeReplacements(result.tally) + u'\n').toUtf8());
}

} // namespace

// replace IN OUT --find TEXT --replace TEXT [--regex] [--match-case]
// [--names|--texts|--both]: the editor's Replace All, saved to OUT.
Command replaceCommand()
{
    Command command{QStringLiteral("replace"), {QStringLiteral("IN"), QStringLiteral("OUT")},
        QStringLiteral("replace a term in every text or name, save OUT"),
        QStringLiteral("Loads IN, replaces every occurrence of the --find text with the --replace\n"
                       "text as the editor's Replace All does, saves the result to OUT and prints\n"
                       "the count (\"412 replacements in 398 entries\"). OUT is written even when\n"
                       "nothing matched, is replaced atomically and may be IN.\n"
                       "\n"
                       "  --find TEXT      what to look for; never empty\n"
                       "  --replace TEXT   what replaces it; may be empty\n"
                       "  --regex          TEXT is a regular expression; \\1 .. \\9 in the\n"
                       "                   replacement stand for its groups, \\0 for the whole\n"
                       "                   match and \\\\ for a backslash\n"
                       "  --match-case     letter case counts; otherwise texts are compared\n"
                       "                   by Unicode simple case folding in the user's locale\n"
                       "  --texts          look in the texts (the default)\n"
                       "  --names          look in the names instead\n"
                       "  --both           look in the names and the texts\n"
                       "\n"
                       "Line breaks are matched like other characters and the ones not replaced\n"
                       "are kept as they are. A regular expression that does not compile is a\n"
                       "usage error.\n"
                       "\n"
                       "Example: ludra-lang replace lang_en.xom lang_en.xom --find Continue --replace Resume\n"),
        nullptr};
    command.options = {{QStringLiteral("--find"), QStringLiteral("TEXT")},
        {QStringLiteral("--replace"), QStringLiteral("TEXT")}, {QStringLiteral("--regex"), QString()},
        {QStringLiteral("--match-case"), QString()}, {QStringLiteral("--names"), QString()},
        {QStringLiteral("--texts"), QString()}, {QStringLiteral("--both"), QString()}};
    command.optionsSynopsis
        = QStringLiteral("--find TEXT --replace TEXT [--regex] [--match-case] [--names|--texts|--both]");
    command.runWithOptions = runReplace;
    return command;
}

} // namespace cli
