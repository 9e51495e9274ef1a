// Arbitrary bytes read as a review file: either refused at a line that the
// bytes have, or read; what is read writes back to bytes that read the same
// again, one line an entry after the head lines.
#include "review/ReviewFile.h"

#include "support/FuzzChecks.h"

using testsupport::failFuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    review::ReviewFile file;
    try {
        file = review::readReviewFile(bytes);
    } catch (const review::ReviewFileError& error) {
        if (error.line() < 1 || error.line() > bytes.count('\n') + 1)
            failFuzzing("a refusal names a line the file does not have");
        return 0;
    }
    const QByteArray written = review::writeReviewFile(file);
    // The header, the fingerprint, the languages and the checks when there are any,
    // and one line an entry.
    const qsizetype heads
        = 1 + (file.language.size >= 0 ? 1 : 0) + (file.languages.isEmpty() ? 0 : 1) + (file.checks.isEmpty() ? 0 : 1);
    if (written.count('\n') != static_cast<qsizetype>(file.lines.size()) + heads)
        failFuzzing("a line written is not one line");
    try {
        if (review::readReviewFile(written) != file)
            failFuzzing("what was written reads back otherwise");
    } catch (const review::ReviewFileError&) {
        failFuzzing("what was written is refused");
    }
    return 0;
}
