// Arbitrary bytes through the loader.
#include "support/FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    testsupport::checkLoad(QByteArrayView(data, static_cast<qsizetype>(size)), [](const char* what) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    });
    return 0;
}
