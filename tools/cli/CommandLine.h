#pragma once

#include <QStringList>

namespace cli {

// Runs the program on its arguments, the program name left out, and gives
// its exit status (ExitStatus). Help that was asked for goes to standard
// output; a usage error's short usage and every error message, as
// "ludra-lang: message", go to standard error.
//
//   ludra-lang --help | -h
//   ludra-lang COMMAND [--help | -h] [--] OPERAND...
[[nodiscard]] int runCommandLine(const QStringList& arguments);

} // namespace cli
