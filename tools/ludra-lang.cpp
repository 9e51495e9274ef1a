#include "cli/CommandLine.h"

#include <QFile>
#include <QStringList>

int main(int argc, char* argv[])
{
    // No QCoreApplication: the program needs no event loop, and the
    // arguments are file names in the local 8-bit encoding.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments += QFile::decodeName(argv[i]);
    return cli::runCommandLine(arguments);
}
