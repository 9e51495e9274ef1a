// make_synthetic_file COUNT PATH: writes a well-formed language file of COUNT
// synthetic entries (testsupport::syntheticFileBytes), so that whole-process
// runs of ludra-lang can be timed on large files.
#include "support/RandomEntries.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("Usage: make_synthetic_file COUNT PATH\n", stderr);
        return 2;
    }
    const int count = std::atoi(argv[1]);
    QFile file(QFile::decodeName(argv[2]));
    const QByteArray bytes = testsupport::syntheticFileBytes(count);
    if (count <= 0 || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fputs("make_synthetic_file: cannot write the file\n", stderr);
        return 1;
    }
    return 0;
}
