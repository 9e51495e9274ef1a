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
    ExitFileError = 1,    // a file could not be read or saved, or a CSV was refused
    ExitUsageError = 2,   // unknown command or option, wrong number of operands
    ExitChecksFailed = 3, // check: some entry fails a check
};

inline constexpr auto ProgramName = "ludra-lang";

// A file that cannot be read or saved, or a CSV that is refused. The command
// stops where it is raised, before anything is written, as an editor error
// ends an operation.
class CommandError : public text::EditorError {
public:
    using EditorError::EditorError;
};

// An option that a command takes besides --help: a flag ("--json") or an
// option with a value ("--reference REF" or "--reference=REF").
struct CommandOption {
    QString name;      // with its dashes: "--reference"
    QString valueName; // empty for a flag
    QString help;      // one line for the command's help
    bool required = false;
};

// The options given, by name; a flag's value is empty. Each at most once.
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
    // The options the command takes, listed in its usage line and help.
    QList<CommandOption> options = {};
    // Runs instead of run when set: for commands that take options or exit
    // with another status than success. Gives the exit status.
    int (*runWithOptions)(const QStringList& operands, const OptionValues& options) = nullptr;

    // "Usage: ludra-lang export [--reference REF] IN OUT.csv"
    [[nodiscard]] QString usageLine() const;
    // The usage line without "Usage: ludra-lang ".
    [[nodiscard]] QString synopsis() const;
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

} // namespace cli
