#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace toolstest {

namespace {

// Gives a started process its standard input and waits for its end. A run
// that hangs is killed after a bound far beyond any test's need, so that a
// fault shows as a failed test instead of a stalled suite.
ProgramRun finish(QProcess& process, const QByteArray& input)
{
    constexpr int longestRunMs = 5 * 60 * 1000;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(longestRunMs)) {
        process.kill();
        process.waitForFinished();
    }
    ProgramRun run;
    if (process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

ProgramRun runProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
    const std::function<void()>& childSetup)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(program, arguments);
    // An empty standard input: a program reading "-" sees its end at once.
    return finish(process, QByteArray());
}

ProgramRun runLang(const QStringList& arguments)
{
    return runProgram(QStringLiteral(LUDRA_LANG_PATH), arguments);
}

ProgramRun runLangWithInput(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(LUDRA_LANG_PATH), arguments);
    return finish(process, input);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace toolstest
