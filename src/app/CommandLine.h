#pragma once

#include <QString>

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

} // namespace app
