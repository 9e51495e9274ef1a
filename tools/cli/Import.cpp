#include "cli/Command.h"

#include "cli/CsvImport.h"
#include "cli/CsvReader.h"
#include "cli/Files.h"

#include "xom/LanguageFileWriter.h"

namespace cli {

namespace {

void runImport(const QStringList& operands)
{
    const QString& csvPath = operands[1];
    xom::LoadedFile file = loadLanguageFile(operands[0]);
    const QByteArray csv = readWholeFile(csvPath);
    try {
        CsvReader reader(csv);
        applyCsvEdits(reader, file.entries, file.model);
    } catch (const CsvError& error) {
        throw CommandError(QStringLiteral("%1:%2: %3").arg(csvPath).arg(error.line()).arg(error.reason()));
    }
    xom::saveLanguageFile(operands[2], file.entries, file.model);
}

} // namespace

// import IN.xom IN.csv OUT.xom: an edit CSV applied to IN (see applyCsvEdits),
// the result saved to OUT.
Command importCommand()
{
    return Command{QStringLiteral("import"),
        {QStringLiteral("IN.xom"), QStringLiteral("IN.csv"), QStringLiteral("OUT.xom")},
        QStringLiteral("apply CSV edits and new entries, save OUT.xom"),
        QStringLiteral("Loads IN.xom, applies IN.csv to its entries and saves the result to\n"
                       "OUT.xom. IN.csv starts with the header line \"number,name,text\"; each\n"
                       "record after it\n"
                       "  - with a number: replaces the name and text of the first entry whose\n"
                       "    number is exactly that text;\n"
                       "  - with an empty number: adds a new last entry exactly as the editor's\n"
                       "    Add does (the next number, one more string resource).\n"
                       "Grid order is kept; new entries go to the end. Names and texts are taken\n"
                       "as they are, line breaks included.\n"
                       "\n"
                       "Reads what export writes and what spreadsheets save as CSV: UTF-8 with\n"
                       "or without a byte-order mark, CR LF or LF line ends, RFC 4180 quoting;\n"
                       "empty lines are skipped. A missing header, a record without exactly\n"
                       "three fields, a malformed quote, bytes that are not UTF-8 or a number\n"
                       "that matches no entry is an error naming the line the record starts on\n"
                       "(the header is line 1), and then nothing is written. OUT.xom is\n"
                       "replaced atomically and may be IN.xom.\n"
                       "\n"
                       "Example: ludra-lang import lang_en.xom lang_en.csv lang_en.xom\n"),
        runImport};
}

} // namespace cli
