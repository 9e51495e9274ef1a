// Arbitrary bytes read as a recovery journal and replayed onto a small
// document. The record checksums are set right first, so that mutations
// reach the records' contents and the replay rather than stopping at the
// checksum. A journal is read up to its last whole record, a replay takes
// what fits and stops, and whatever it took, undoing and redoing the whole
// history gives the same bytes back.
#include "recovery/JournalFormat.h"
#include "recovery/Replay.h"

#include "support/RandomEntries.h"
#include "text/EditorError.h"

#include "support/FuzzChecks.h"

#include <random>

namespace {

using testsupport::failFuzzing;

// The records' checksums made to fit their bodies, frame by frame, as far
// as the lengths lead.
QByteArray withFittingChecksums(QByteArray bytes)
{
    qsizetype at = recovery::journalPreambleSize;
    while (at + 4 <= bytes.size()) {
        const auto length = static_cast<qsizetype>(static_cast<std::uint8_t>(bytes[at]))
                          | static_cast<qsizetype>(static_cast<std::uint8_t>(bytes[at + 1])) << 8
                          | static_cast<qsizetype>(static_cast<std::uint8_t>(bytes[at + 2])) << 16
                          | static_cast<qsizetype>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
        if (length > bytes.size() - at - 8)
            break;
        const std::uint32_t checksum = recovery::journalChecksum(QByteArrayView(bytes).sliced(at + 4, length));
        for (int i = 0; i < 4; ++i)
            bytes[at + 4 + length + i] = static_cast<char>((checksum >> (8 * i)) & 0xFF);
        at += length + 8;
    }
    return bytes;
}

QByteArray imageOf(document::Document& document)
{
    try {
        return document.image();
    } catch (const text::EditorError&) {
        return QByteArray("unsavable"); // texts a save cannot write
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes
        = withFittingChecksums(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const recovery::ReadJournal journal = recovery::readJournal(bytes);
    if (journal.recognised && journal.wholeBytes() + journal.damagedBytes != bytes.size())
        failFuzzing("the whole and damaged bytes do not add up to the journal");
    std::mt19937 random(7);
    document::Document document;
    document.open(testsupport::randomLoadedFile(random, 12), QStringLiteral("lang_fuzz.xom"));
    const recovery::ReplayOutcome outcome = recovery::replayJournal(document, journal);
    if (outcome.replayed > outcome.recorded)
        failFuzzing("more changes replayed than recorded");
    const QByteArray replayed = imageOf(document);
    const int done = document.history().index();
    for (int step = 0; step < done; ++step)
        document.undo();
    const int all = document.history().count();
    for (int step = 0; step < all; ++step)
        document.redo();
    for (int step = all; step > done; --step)
        document.undo();
    if (imageOf(document) != replayed)
        failFuzzing("undoing and redoing the replayed history did not give the same bytes");
    return 0;
}
