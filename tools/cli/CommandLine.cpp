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
    return {infoCommand(), dumpCommand(), resaveCommand(), sortCommand(), exportCommand(), importCommand(),
        checkCommand(), replaceCommand(), runCommand(), updateCommand(), memoryCommand(), preTranslateCommand()};
}

QString programUsage(const Commands& commands)
{
    QString usage = QStringLiteral("Usage: ludra-lang COMMAND [--help] OPERAND...\n"
                                   "   or: ludra-lang --version\n"
                                   "\n"
                                   "Reads and writes language files (lang*.xom) with the Ludra Language\n"
                                   "Editor's own load, save, sort and Add, so that the results are exactly\n"
                                   "the editor's.\n"
                                   "\n"
                                   "Commands:\n");
    for (const auto& command : commands) {
        // A call too long for its column has its summary on the next line.
        constexpr int column = 30;
        const QString call = command.name + u' ' + command.operands.join(u' ');
        if (call.size() < column)
            usage += QStringLiteral("  %1%2\n").arg(call.leftJustified(column), command.summary);
        else
            usage += QStringLiteral("  %1\n  %2%3\n").arg(call, QString(column, u' '), command.summary);
    }
    usage += QStringLiteral("\n"
                            "Run 'ludra-lang COMMAND --help' for one command's details and options.\n"
                            "An operand '-' reads standard input or writes standard output.\n"
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

int runCommand(const Command& command, const QStringList& arguments)
{
    const QString shortUsage
        = command.usageLine() + QStringLiteral("\nRun 'ludra-lang %1 --help' for details.\n").arg(command.name);
    Invocation call;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !isOption(argument)) {
            call.operands += argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (isHelpOption(argument)) {
            writeOut(command.help().toUtf8());
            return ExitSuccess;
        }
        // "--report FILE" or "--report=FILE".
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.first(equals);
        const Option* const option = command.findOption(name);
        if (!option)
            return usageError(QStringLiteral("unknown option '%1'").arg(name), shortUsage);
        QString value;
        if (option->valueName.isEmpty()) {
            if (equals >= 0)
                return usageError(QStringLiteral("option '%1' takes no value").arg(name), shortUsage);
        } else if (equals >= 0) {
            value = argument.sliced(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return usageError(QStringLiteral("option '%1' needs a value %2").arg(name, option->valueName), shortUsage);
        }
        call.options.insert(name, value);
    }
    const bool withoutOperands = !command.optionWithoutOperands.isEmpty() && call.has(command.optionWithoutOperands);
    const qsizetype expected = withoutOperands ? 0 : command.operands.size();
    if (call.operands.size() != expected) {
        return usageError(QStringLiteral("%1 takes %2 operand%3, got %4")
                              .arg(command.name)
                              .arg(expected)
                              .arg(expected == 1 ? QString() : QStringLiteral("s"))
                              .arg(call.operands.size()),
            shortUsage);
    }
    try {
        if (command.runWithStatus)
            return command.runWithStatus(call);
        command.run(call);
    } catch (const UsageError& error) {
        return usageError(error.message(), shortUsage);
    }
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
    if (first == u"--version") {
        writeOut(QByteArray(ProgramName) + ' ' + ProgramVersion + '\n');
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
