#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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

std::optional<EarlyAnswer> answerBeforeStart(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(arguments))
        return EarlyAnswer{parser.errorText() + QLatin1Char('\n'), true, 1};
    if (parser.isSet(QStringLiteral("help")))
        return EarlyAnswer{parser.helpText(), false, 0};
    // The product and its version once: the application's name is the
    // title, which carries a version of its own.
    if (parser.isSet(QStringLiteral("version")))
        return EarlyAnswer{
            QStringLiteral("Ludra Language Editor %1\n").arg(QCoreApplication::applicationVersion()), false, 0};
    if (parser.positionalArguments().size() > 1)
        return EarlyAnswer{QStringLiteral("Only one FILE can be opened.\n"), true, 1};
    return std::nullopt;
}

} // namespace app
