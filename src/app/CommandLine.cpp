#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace app {

namespace {

const QString ReferenceOption = QStringLiteral("reference");

} // namespace

void describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Edits the string resources of a game's language files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A language file (lang*.xom) to open."), QStringLiteral("[FILE]"));
    parser.addOption(QCommandLineOption(ReferenceOption,
        QStringLiteral("Opens FILE read-only beside the working file as the reference language."),
        QStringLiteral("FILE")));
}

QString fileToOpen(const QCommandLineParser& parser)
{
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : files.front();
}

QString referenceToOpen(const QCommandLineParser& parser)
{
    return parser.value(ReferenceOption);
}

} // namespace app
