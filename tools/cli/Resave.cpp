#include "cli/Command.h"

#include "cli/Files.h"

#include "document/Document.h"

namespace cli {

namespace {

void runResave(const Invocation& call)
{
    document::Document document(document::Document::History::NotKept);
    openDocument(document, call.operands[0]);
    saveDocumentTo(document, call.operands[1]);
}

} // namespace

// resave IN OUT: IN loaded and saved to OUT as the editor's Save does.
Command resaveCommand()
{
    return Command{QStringLiteral("resave"), {QStringLiteral("IN"), QStringLiteral("OUT")},
        QStringLiteral("load IN, save OUT as the editor's Save does"),
        QStringLiteral("Loads IN and saves it to OUT exactly as the editor's Save does when\n"
                       "nothing was changed: the same bytes. OUT is replaced atomically and may\n"
                       "be IN.\n"
                       "\n"
                       "Example: ludra-lang resave lang_en.xom lang_en.resaved.xom\n"),
        runResave};
}

} // namespace cli
