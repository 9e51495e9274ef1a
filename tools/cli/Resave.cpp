#include "cli/Command.h"

#include "cli/Files.h"

#include "xom/LanguageFileWriter.h"

namespace cli {

namespace {

void runResave(const Invocation& call)
{
    xom::LoadedFile file = loadLanguageFile(call.operands[0]);
    saveLanguageFileTo(call.operands[1], file.entries, file.model);
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
