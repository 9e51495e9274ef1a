#pragma once

#include "text/EditorError.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace cli {

// What the program exits with.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFileError = 1,    // a file could not be read or saved, or a CSV was refused
    ExitUsageError = 2,   // unknown command or option, wrong number of operands
    ExitChecksFailed = 3, // check: some entry fails a check
};

inline constexpr auto ProgramName = "ludra-lang";
// The version the build gives the editor and the program.
inline constexpr auto ProgramVersion = LUDRA_VERSION;

// A file that cannot be read or saved, or a CSV that is refused. The command
// stops where it is raised, before anything is written, as an editor error
// ends an operation.
class CommandError : public text::EditorError {
public:
    using EditorError::EditorError;
};

// An option a command takes: "--dry-run", or "--report FILE" when it has a
// value (given as the next argument or after "=").
struct Option {
    QString name;      // "--report"
    QString valueName; // "FILE"; empty for an option without a value
    QString help;      // one line for --help
};

// What the command line gives a command: its operands in order, and the
// options given with their values (an empty value for an option without
// one). An operand "-" stands for standard input or output.
struct Invocation {
    QStringList operands;
    QHash<QString, QString> options;

    [[nodiscard]] bool has(const QString& option) const { return options.contains(option); }
    [[nodiscard]] QString value(const QString& option) const { return options.value(option); }
};

// A call that the command line could not tell was wrong, found by the
// command itself (an unknown --format value): exit status 2 with the
// command's usage.
class UsageError : public CommandError {
public:
    using CommandError::CommandError;
};

// One command of the program. The command line checks the options and the
// number of operands before run sees them.
struct Command {
    QString name;
    // The operands' placeholders in the order the command takes them.
    QStringList operands;
    // One line for the program's list of commands.
    QString summary;
    // What --help shows below the usage line.
    QString details;
    // Runs with exactly operands.size() operands and only the options
    // below. Throws CommandError or text::EditorError (a save's own errors);
    // an output file is then left as it was.
    void (*run)(const Invocation& call) = nullptr;
    std::vector<Option> options = {};
    // Runs instead of run when set, for a command whose exit status tells
    // its result (check); gives that status.
    int (*runWithStatus)(const Invocation& call) = nullptr;
    // An option with which the command takes no operands at all (check
    // --list-checks); empty for none.
    QString optionWithoutOperands = {};

    [[nodiscard]] const Option* findOption(const QString& name) const;
    // "Usage: ludra-lang export [OPTION]... IN OUT"
    [[nodiscard]] QString usageLine() const;
    [[nodiscard]] QString help() const;
};

// The program's commands, in the order its help lists them.
[[nodiscard]] Command infoCommand();
[[nodiscard]] Command dumpCommand();
[[nodiscard]] Command resaveCommand();
[[nodiscard]] Command sortCommand();
[[nodiscard]] Command exportCommand();
[[nodiscard]] Command importCommand();
[[nodiscard]] Command checkCommand();
[[nodiscard]] Command replaceCommand();
[[nodiscard]] Command runCommand();
[[nodiscard]] Command updateCommand();
[[nodiscard]] Command memoryCommand();
[[nodiscard]] Command preTranslateCommand();

} // namespace cli
