#pragma once

#include "text/EditorError.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace cli {

// What the program exits with.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFileError = 1,  // a file could not be read or saved, or a CSV was refused
    ExitUsageError = 2, // unknown command or option, wrong number of operands
};

inline constexpr auto ProgramName = "ludra-lang";

// A file that cannot be read or saved, or a CSV that is refused. The command
// stops where it is raised, before anything is written, as an editor error
// ends an operation.
class CommandError : public text::EditorError {
public:
    using EditorError::EditorError;
};

// A command line that a command refuses after parsing it (a missing
// option, a pattern that does not compile): the program ends with a usage
// error and writes nothing.
class CommandUsageError : public text::EditorError {
public:
    using EditorError::EditorError;
};

// An option a command takes besides --help: a switch ("--regex") or, with a
// valueName, an option with a value ("--find TEXT" or "--find=TEXT").
struct CommandOption {
    QString name;
    QString valueName;
};

// The options given, by name; a switch maps to an empty text.
using OptionValues = QHash<QString, QString>;

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
    // Runs with exactly operands.size() operands. Throws CommandError or
    // text::EditorError (a save's own errors); an output file is then left
    // as it was.
    void (*run)(const QStringList& operands) = nullptr;
    // The options it takes, in the order its usage line shows them, and
    // that line's text for them.
    QList<CommandOption> options = {};
    QString optionsSynopsis = {};
    // Runs instead of run for a command that takes options, with the
    // options given. May also throw CommandUsageError.
    void (*runWithOptions)(const QStringList& operands, const OptionValues& options) = nullptr;

    // "Usage: ludra-lang export IN OUT.csv"
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
[[nodiscard]] Command replaceCommand();

} // namespace cli
