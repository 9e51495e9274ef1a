// Arbitrary bytes read as TMX: either refused at a line that the bytes
// have, or read into units that write back whole and read the same again.
#include "memory/TmxFile.h"

#include "exchange/ImportError.h"

#include "support/FuzzChecks.h"

using testsupport::failFuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of its own, so that a read past the end is a read past the
    // allocation.
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<memory::MemoryUnit> units;
    try {
        units = memory::readTmx(bytes);
    } catch (const exchange::ImportError& error) {
        // XML counts a lone CR as a line break too.
        if (error.line() < 1 || error.line() > bytes.count('\n') + bytes.count('\r') + 1)
            failFuzzing("a refusal names a line the document does not have");
        return 0;
    }
    // What is read came out of XML and names its languages: all of it can
    // be written again.
    const memory::TmxWritten written = memory::writeTmx(units);
    if (written.unitsLeftOut != 0)
        failFuzzing("a unit read cannot be written");
    try {
        if (memory::readTmx(written.bytes) != units)
            failFuzzing("what was written reads back otherwise");
    } catch (const exchange::ImportError&) {
        failFuzzing("what was written is refused");
    }
    return 0;
}
