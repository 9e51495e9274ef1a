#include "cli/Sort.h"

#include "cli/Files.h"

#include "xom/EntryOperations.h"
#include "xom/LanguageFileWriter.h"

namespace cli {

QString Sort::name() const
{
    return QStringLiteral("sort");
}

QStringList Sort::operands() const
{
    return {QStringLiteral("IN"), QStringLiteral("OUT")};
}

QString Sort::summary() const
{
    return QStringLiteral("load IN, sort by name as the editor does, save OUT");
}

QString Sort::details() const
{
    return QStringLiteral(
        "Loads IN, sorts its entries by name as the editor's Sort button does\n"
        "(ascending, case-insensitive, stable, in the collation of the user's\n"
        "locale) and saves the result to OUT. Every entry keeps its number. OUT is\n"
        "replaced atomically and may be IN.\n"
        "\n"
        "Example: ludra-lang sort lang_en.xom lang_en.sorted.xom\n");
}

void Sort::run(const QStringList& operands) const
{
    xom::LoadedFile file = loadLanguageFile(operands[0]);
    xom::sortEntriesByName(file.entries);
    xom::saveLanguageFile(operands[1], file.entries, file.model);
}

} // namespace cli
