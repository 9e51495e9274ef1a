#pragma once

#include "text/EditorError.h"

#include <QByteArray>
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

} // namespace cli
