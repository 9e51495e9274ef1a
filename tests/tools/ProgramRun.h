#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace toolstest {

struct ProgramRun {
    int exitCode = -1; // -1 when the program crashed or did not start
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end (no time limit) with the test's environment or
// the one given; childSetup runs in the child before the program starts.
[[nodiscard]] ProgramRun runProgram(const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    const std::function<void()>& childSetup = {});
[[nodiscard]] ProgramRun runLang(const QStringList& arguments);
// The program with input on its standard input.
[[nodiscard]] ProgramRun runLangWithInput(const QStringList& arguments, const QByteArray& input);

// A QString of a UTF-16 literal, which may hold lone surrogates.
[[nodiscard]] inline QString utf16(const char16_t* text)
{
    return QString::fromUtf16(text);
}

[[nodiscard]] QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace toolstest
