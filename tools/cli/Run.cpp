#include "cli/Command.h"

#include "cli/Files.h"

#include "document/Document.h"
#include "document/EditScript.h"

#include <QFileInfo>

namespace cli {

namespace {

void runSteps(const Invocation& call)
{
    const QString& stepsPath = call.operands[0];
    const QByteArray script = readWholeFile(stepsPath);
    std::vector<document::ScriptStep> steps;
    document::Document document;
    try {
        steps = document::parseEditScript(script);
        openDocument(document, call.operands[1]);
        // An import's file is named from the script's folder.
        const QDir folder = isStandardStream(stepsPath) ? QDir::current() : QFileInfo(stepsPath).dir();
        document::runEditScript(document, steps, folder);
    } catch (const document::ScriptError& error) {
        throw CommandError(QStringLiteral("%1:%2: %3").arg(stepsPath).arg(error.line()).arg(error.reason()));
    }
    saveDocumentTo(document, call.operands[2]);
}

} // namespace

// run STEPS IN OUT: the steps of a script made on IN, the result saved to OUT.
Command runCommand()
{
    return Command{QStringLiteral("run"), {QStringLiteral("STEPS"), QStringLiteral("IN"), QStringLiteral("OUT")},
        QStringLiteral("make the steps of a script on IN, save OUT"),
        QStringLiteral("Loads IN, makes on it the steps that STEPS lists, one per line, as the\n"
                       "editor's actions make them (undo and redo included), and saves the\n"
                       "result to OUT. A line is a step's name and its fields, separated by\n"
                       "tabs; in a field \\n, \\r, \\t and \\\\ stand for a line feed, a carriage\n"
                       "return, a tab and a backslash. Empty lines and lines starting with #\n"
                       "are passed over.\n"
                       "\n"
                       "  edit ROW TEXT          the Text cell of grid row ROW (from 1)\n"
                       "  rename ROW NAME        the Name cell of grid row ROW\n"
                       "  add NAME TEXT          a new last entry, as Add makes it\n"
                       "  mark ROW               Toggle Mark\n"
                       "  move-down              Move Down\n"
                       "  sort                   Sort\n"
                       "  replace-all FIND WITH  Replace All in the texts, any letter case\n"
                       "  import FILE            Import of a CSV, PO or XLIFF file, named\n"
                       "                         from the folder of STEPS\n"
                       "  undo, redo\n"
                       "\n"
                       "A line that is no step, a row the file lacks, an import refused or an\n"
                       "undo with nothing to undo is an error naming the line, and then nothing\n"
                       "is written. OUT is replaced atomically and may be IN.\n"
                       "\n"
                       "Example: ludra-lang run day.steps lang_de.xom lang_de.xom\n"),
        runSteps};
}

} // namespace cli
