#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace app {

// The editor's command line: an optional FILE to open, --reference FILE for
// a reference language beside it, --help and --version, as
// QCommandLineParser presents them.
void describeCommandLine(QCommandLineParser& parser);

// The file a parsed command line names, or an empty string.
[[nodiscard]] QString fileToOpen(const QCommandLineParser& parser);
// The reference file a parsed command line names, or an empty string.
[[nodiscard]] QString referenceToOpen(const QCommandLineParser& parser);

// What the command line asks for before any window exists: --help and
// --version (and a command line that makes no sense) are answered on the
// terminal, without a display.
struct EarlyAnswer {
    QString text;
    bool toStandardError = false;
    int exitCode = 0;
};
// The answer for arguments (the program's name first), or nothing when the
// editor should start.
[[nodiscard]] std::optional<EarlyAnswer> answerBeforeStart(const QStringList& arguments);

} // namespace app
