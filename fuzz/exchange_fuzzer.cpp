// Arbitrary bytes through one exchange format's reader and the import; the
// format is the build's: LUDRA_FUZZ_FORMAT names it.
#include "support/FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    testsupport::checkImport(QByteArrayView(data, static_cast<qsizetype>(size)),
        exchange::ExchangeFormat::LUDRA_FUZZ_FORMAT, [](const char* what) {
            std::fprintf(stderr, "%s\n", what);
            std::abort();
        });
    return 0;
}
