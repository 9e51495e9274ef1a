#include "cli/Command.h"

#include "cli/Files.h"

#include "document/Document.h"

namespace cli {

namespace {

void runSort(const Invocation& call)
{
    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    document.sortByName();
    saveDocumentTo(document, call.operands[1]);
}

} // namespace

// sort IN OUT: IN loaded, sorted by name as the editor's Sort does, saved to OUT.
Command sortCommand()
{
    return Command{QStringLiteral("sort"), {QStringLiteral("IN"), QStringLiteral("OUT")},
        QStringLiteral("load IN, sort by name as the editor does, save OUT"),
        QStringLiteral("Loads IN, sorts its entries by name as the editor's Sort button does\n"
                       "(ascending, case-insensitive, stable, in the collation of the user's\n"
                       "locale) and saves the result to OUT. Every entry keeps its number. OUT is\n"
                       "replaced atomically and may be IN.\n"
                       "\n"
                       "Example: ludra-lang sort lang_en.xom lang_en.sorted.xom\n"),
        runSort};
}

} // namespace cli
