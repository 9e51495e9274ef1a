#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"
#include "cli/JsonText.h"

namespace cli {

namespace {

void runDump(const Invocation& call)
{
    const xom::LoadedFile file = loadLanguageFile(call.operands[0]);

    QByteArray out("{\"types\":[");
    const char* separator = "\n";
    for (const xom::XTypeCont& type : file.model.TypeTable) {
        out += separator;
        out += "{\"name\":";
        appendJsonBytes(type.name, out);
        out += ",\"instanceCount\":" + QByteArray::number(type.instanceCount) + '}';
        separator = ",\n";
    }
    out += file.model.TypeTable.empty() ? "]" : "\n]";

    out += ",\"entries\":[";
    separator = "\n";
    const xom::EntryTable& entries = file.entries;
    for (int row = 0; row < entries.entryCount(); ++row) {
        out += separator;
        out += "{\"number\":";
        appendJsonNumberCell(entries.number(row), out);
        out += ",\"name\":";
        appendJsonText(entries.name(row), out);
        out += ",\"text\":";
        appendJsonText(entries.text(row), out);
        out += '}';
        separator = ",\n";
    }
    out += file.entries.rows.empty() ? "]}\n" : "\n]}\n";
    writeOut(out);
}

} // namespace

// dump FILE: the types and the entries as one JSON document on standard output.
Command dumpCommand()
{
    return Command{QStringLiteral("dump"), {QStringLiteral("FILE")},
        QStringLiteral("the types and entries as one JSON document"),
        QStringLiteral("Writes FILE as one JSON document, one type or entry a line:\n"
                       "  {\"types\":[{\"name\":...,\"instanceCount\":...}, ...],\n"
                       "   \"entries\":[{\"number\":...,\"name\":...,\"text\":...}, ...]}\n"
                       "Types in type-table order, entries in grid order, names and texts exactly\n"
                       "as the editor holds them after opening the file.\n"
                       "\n"
                       "The output is pure ASCII: '\"' and '\\' are escaped by a backslash and\n"
                       "every other UTF-16 code unit outside 0x20..0x7E is written as \\uXXXX\n"
                       "(lone surrogates included; type names byte by byte as \\u00XX), so any\n"
                       "text survives exactly. \"number\" is a JSON number when the entry's\n"
                       "number cell is plain decimal (as every load gives it) and a JSON string\n"
                       "otherwise.\n"
                       "\n"
                       "Example: ludra-lang dump samples/lang_sample.xom > sample.json\n"),
        runDump};
}

} // namespace cli
