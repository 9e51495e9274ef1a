// make_synthetic_file [--alike-images] COUNT PATH: writes a well-formed
// language file of COUNT synthetic entries (testsupport::syntheticFileBytes,
// or alikeImagesFileBytes, whose texts often image alike), so that
// whole-process runs of ludra-lang can be timed on large files.
#include "support/RandomEntries.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[])
{
    const bool alikeImages = argc == 4 && std::strcmp(argv[1], "--alike-images") == 0;
    if (argc != 3 && !alikeImages) {
        std::fputs("Usage: make_synthetic_file [--alike-images] COUNT PATH\n", stderr);
        return 2;
    }
    const int count = std::atoi(argv[argc - 2]);
    QFile file(QFile::decodeName(argv[argc - 1]));
    const QByteArray bytes
        = alikeImages ? testsupport::alikeImagesFileBytes(count) : testsupport::syntheticFileBytes(count);
    if (count <= 0 || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fputs("make_synthetic_file: cannot write the file\n", stderr);
        return 1;
    }
    return 0;
}
