#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <exception>

namespace cli {

// What the program exits with.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFileError = 1,  // a file could not be read or saved, or a CSV was refused
    ExitUsageError = 2, // unknown command or option, wrong number of operands
};

inline constexpr auto ProgramName = "ludra-lang";

// A file that cannot be read or saved, or a CSV that is refused. The command
// stops where it is raised, before anything is written.
class CommandError : public std::exception {
public:
    explicit CommandError(QString message);

    [[nodiscard]] const QString& message() const noexcept { return m_message; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// One command of the program. The command line checks the options and the
// number of operands before run() sees them.
class Command {
public:
    Command() = default;
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    [[nodiscard]] virtual QString name() const = 0;
    // The operands' placeholders in the order the command takes them.
    [[nodiscard]] virtual QStringList operands() const = 0;
    // One line for the program's list of commands.
    [[nodiscard]] virtual QString summary() const = 0;
    // What --help shows below the usage line.
    [[nodiscard]] virtual QString details() const = 0;

    // Runs with exactly operands().size() operands. Throws CommandError or
    // text::EditorError (a save's own errors); an output file is then left as
    // it was.
    virtual void run(const QStringList& operands) const = 0;

    // "Usage: ludra-lang export IN OUT.csv"
    [[nodiscard]] QString usageLine() const;
    [[nodiscard]] QString help() const;
};

} // namespace cli
