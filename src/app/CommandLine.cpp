#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace app {

void describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Edits the string resources of a game's language files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A language file (lang*.xom) to open."), QStringLiteral("[FILE]"));
}

QString fileToOpen(const QCommandLineParser& parser)
{
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : files.front();
}

} // namespace app
