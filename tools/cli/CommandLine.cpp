#include "cli/CommandLine.h"

#include "cli/Command.h"
#include "cli/Console.h"

#include "text/EditorError.h"

#include <vector>

namespace cli {

namespace {

using Commands = std::vector<Command>;

Commands allCommands()
{
    return {
        infoCommand(), dumpCommand(), resaveCommand(), sortCommand(), exportCommand(), importCommand(), checkCommand()};
}

QString programUsage(const Commands& commands)
{
    QString usage = QStringLiteral("Usage: ludra-lang COMMAND [--help] OPERAND...\n"
                                   "\n"
                                   "Reads and writes language files (lang*.xom) with the Ludra Language\n"
                                   "Editor's own load, save, sort and Add, so that the results are exactly\n"
                                   "the editor's.\n"
                                   "\n"
                                   "Commands:\n");
    for (const auto& command : commands) {
        // A synopsis too long for its column puts the summary on a line of
        // its own.
        const QString synopsis = command.synopsis();
        const QString gap = synopsis.size() < 30 ? QString(30 - synopsis.size(), u' ')
                                                 : QStringLiteral("\n%1").arg(QString(32, u' '));
        usage += QStringLiteral("  %1%2%3\n").arg(synopsis, gap, command.summary);
    }
    usage += QStringLiteral("\n"
                            "Run 'ludra-lang COMMAND --help' for one command's details.\n"
                            "Exit status: 0 success, 1 a file could not be read or saved (nothing is\n"
                            "written then), 2 a usage error; check: 3 when some entry fails a check.\n");
    return usage;
}

QString shortProgramUsage(const Commands& commands)
{
    QStringList names;
    for (const auto& command : commands)
        names += command.name;
    return QStringLiteral("Usage: ludra-lang COMMAND [--help] OPERAND...\n"
                          "Commands: %1.\n"
                          "Run 'ludra-lang --help' for details.\n")
        .arg(names.join(QStringLiteral(", ")));
}

[[nodiscard]] bool isHelpOption(const QString& argument)
{
    return argument == u"--help" || argument == u"-h";
}

[[nodiscard]] bool isOption(const QString& argument)
{
    return argument.size() > 1 && argument.startsWith(u'-');
}

int usageError(const QString& problem, const QString& usage)
{
    writeErr(QStringLiteral("%1: %2\n%3").arg(QLatin1StringView(ProgramName), problem, usage));
    return ExitUsageError;
}

// The option of command that argument names, as "--name" or "--name=value";
// nullptr when it takes none of that name.
const CommandOption* optionNamed(const Command& command, const QString& argument)
{
    const QString name = argument.section(u'=', 0, 0);
    for (const CommandOption& option : command.options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

int runCommand(const Command& command, const QStringList& arguments)
{
    const QString shortUsage
        = command.usageLine() + QStringLiteral("\nRun 'ludra-lang %1 --help' for details.\n").arg(command.name);
    QStringList operands;
    OptionValues options;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !isOption(argument)) {
            operands += argument;
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (isHelpOption(argument)) {
            writeOut(command.help().toUtf8());
            return ExitSuccess;
        } else if (const CommandOption* const option = optionNamed(command, argument)) {
            if (options.contains(option->name))
                return usageError(QStringLiteral("option '%1' given twice").arg(option->name), shortUsage);
            const qsizetype equals = argument.indexOf(u'=');
            if (option->valueName.isEmpty()) {
                if (equals >= 0)
                    return usageError(QStringLiteral("option '%1' takes no value").arg(option->name), shortUsage);
                options.insert(option->name, QString());
            } else if (equals >= 0) {
                options.insert(option->name, argument.sliced(equals + 1));
            } else if (i + 1 < arguments.size()) {
                options.insert(option->name, arguments[++i]);
            } else {
                return usageError(
                    QStringLiteral("option '%1' needs %2").arg(option->name, option->valueName), shortUsage);
            }
        } else {
            return usageError(QStringLiteral("unknown option '%1'").arg(argument), shortUsage);
        }
    }
    const qsizetype expected = command.operands.size();
    if (operands.size() != expected) {
        return usageError(QStringLiteral("%1 takes %2 operand%3, got %4")
                              .arg(command.name)
                              .arg(expected)
                              .arg(expected == 1 ? QString() : QStringLiteral("s"))
                              .arg(operands.size()),
            shortUsage);
    }
    for (const CommandOption& option : command.options) {
        if (option.required && !options.contains(option.name))
            return usageError(
                QStringLiteral("%1 needs %2 %3").arg(command.name, option.name, option.valueName), shortUsage);
    }
    if (command.runWithOptions)
        return command.runWithOptions(operands, options);
    command.run(operands);
    return ExitSuccess;
}

int dispatch(const QStringList& arguments)
{
    const Commands commands = allCommands();
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"), shortProgramUsage(commands));
    const QString& first = arguments.front();
    if (isHelpOption(first)) {
        writeOut(programUsage(commands).toUtf8());
        return ExitSuccess;
    }
    for (const auto& command : commands) {
        if (command.name == first)
            return runCommand(command, arguments.sliced(1));
    }
    return usageError(QStringLiteral("unknown command '%1'").arg(first), shortProgramUsage(commands));
}

} // namespace

int runCommandLine(const QStringList& arguments)
{
    // Every failure ends here with its message, and no file written, as the
    // editor's error box ends an operation.
    try {
        return dispatch(arguments);
    } catch (const text::EditorError& error) {
        writeErr(QStringLiteral("%1: %2\n").arg(QLatin1StringView(ProgramName), error.message()));
    } catch (const std::exception& error) {
        writeErr(QStringLiteral("%1: %2\n").arg(QLatin1StringView(ProgramName), QString::fromLocal8Bit(error.what())));
    }
    return ExitFileError;
}

} // namespace cli
