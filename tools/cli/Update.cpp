#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"

#include "document/Document.h"

namespace cli {

namespace {

void runUpdate(const Invocation& call)
{
    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    xom::LoadedFile newReference = loadLanguageFile(call.operands[1]);
    std::optional<xom::LoadedFile> oldReference;
    if (call.has(QStringLiteral("--old-reference")))
        oldReference = loadLanguageFile(call.value(QStringLiteral("--old-reference")));
    document::UpdateResult result = document.updateToReference(
        std::move(newReference.entries), call.operands[1], oldReference ? &oldReference->entries : nullptr);
    if (call.has(QStringLiteral("--drop-removed")))
        document.dropRemovedEntries(result);
    saveDocumentTo(document, call.operands[2]);
    if (call.has(QStringLiteral("--report")))
        writeWholeFile(call.value(QStringLiteral("--report")), document::updateReport(result, document.entries()));
    writeErr(document::updateSummaryLine(result.summary) + u'\n');
}

} // namespace

// update [--old-reference OLD] [--report FILE] TRANSLATION NEW_REFERENCE OUT:
// the translation carried to a new version of its reference.
Command updateCommand()
{
    return Command{QStringLiteral("update"),
        {QStringLiteral("TRANSLATION"), QStringLiteral("NEW_REFERENCE"), QStringLiteral("OUT.xom")},
        QStringLiteral("carry a translation to a new version of its reference"),
        QStringLiteral("Loads TRANSLATION with its review file (TRANSLATION.review) and the\n"
                       "language file NEW_REFERENCE, a new version of the source language, and\n"
                       "saves the translation carried to it to OUT.xom, with OUT.xom.review.\n"
                       "\n"
                       "Entry by entry, by name:\n"
                       "  - an entry of NEW_REFERENCE that the translation lacks is added as the\n"
                       "    editor's Add adds it, with the reference text, untranslated;\n"
                       "  - an entry whose source changed since it was translated keeps its\n"
                       "    translation and needs review; the old source is kept to show what\n"
                       "    changed; an entry still untranslated (its text the old source)\n"
                       "    takes the new source;\n"
                       "  - an entry NEW_REFERENCE no longer has is kept and listed, or, with\n"
                       "    --drop-removed, dropped: the numbers after it close up.\n"
                       "The source an entry was translated from is the one its review file\n"
                       "kept when it was accepted or approved; --old-reference gives it for the\n"
                       "entries that have none. An entry with neither is left as it is.\n"
                       "\n"
                       "Standard error shows the counts; --report lists each entry with what\n"
                       "happened to it (number, name and outcome, tab-separated). A damaged\n"
                       "review file is an error naming its line, and then nothing is written.\n"
                       "\n"
                       "Example: ludra-lang update lang_de.xom lang_en_v2.xom lang_de.xom "
                       "--old-reference lang_en_v1.xom\n"),
        runUpdate,
        {Option{QStringLiteral("--old-reference"), QStringLiteral("OLD"),
             QStringLiteral("the reference the translation was made from")},
            Option{QStringLiteral("--drop-removed"), QString(),
                QStringLiteral("drop the entries the new reference no longer has")},
            Option{QStringLiteral("--report"), QStringLiteral("FILE"),
                QStringLiteral("each entry with what happened to it ('-': standard output)")}}};
}

} // namespace cli
