#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace toolstest {

ProgramRun runProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
    const std::function<void()>& childSetup)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(program, arguments);
    // An empty standard input: a program reading "-" sees its end at once.
    process.closeWriteChannel();
    process.waitForFinished(-1);
    ProgramRun run;
    if (process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

ProgramRun runLang(const QStringList& arguments)
{
    return runProgram(QStringLiteral(LUDRA_LANG_PATH), arguments);
}

ProgramRun runLangWithInput(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(LUDRA_LANG_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    ProgramRun run;
    if (process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
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
