#include "cli/Resave.h"

#include "cli/Files.h"

#include "xom/LanguageFileWriter.h"

namespace cli {

QString Resave::name() const
{
    return QStringLiteral("resave");
}

QStringList Resave::operands() const
{
    return {QStringLiteral("IN"), QStringLiteral("OUT")};
}

QString Resave::summary() const
{
    return QStringLiteral("load IN, save OUT as the editor's Save does");
}

QString Resave::details() const
{
    return QStringLiteral(
        "Loads IN and saves it to OUT exactly as the editor's Save does when\n"
        "nothing was changed: the same bytes. OUT is replaced atomically and may\n"
        "be IN.\n"
        "\n"
        "Example: ludra-lang resave lang_en.xom lang_en.resaved.xom\n");
}

void Resave::run(const QStringList& operands) const
{
    xom::LoadedFile file = loadLanguageFile(operands[0]);
    xom::saveLanguageFile(operands[1], file.entries, file.model);
}

} // namespace cli
