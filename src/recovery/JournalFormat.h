#pragma once

#include "document/UndoHistory.h"

#include "xom/ReversibleOperations.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace recovery {

// A recovery journal: twelve bytes that name it ("LudraJnl" and the
// version), then records. A record is its body's length (u32), the body,
// and the body's CRC-32, so that a record cut short by a crash or damaged
// later is known and everything before it still counts. A body is its
// kind, the time it was written (ms since 1970, UTC) and what the kind
// holds.
inline constexpr QByteArrayView journalMagic = "LudraJnl";
inline constexpr std::uint32_t journalVersion = 1;
inline constexpr qsizetype journalPreambleSize = 12;

// The numbers are part of the format and never change.
enum class RecordKind : std::uint8_t {
    // The file the journal's changes apply to, as it was when loaded or
    // last saved, and the reference then open.
    Begin = 1,
    // A copy of the file's recorded bytes beside the journal, and their
    // hash; written once the copy is whole.
    BaseCopy = 2,
    // A step pushed, undone or redone.
    Push = 3,
    Undo = 4,
    Redo = 5,
    // A step made before the journal began that an undo or redo then took:
    // done below every step the journal knows, or undone above them.
    DoneBelow = 6,
    UndoneAbove = 7,
    // The reference opened (its path) or closed (empty).
    Reference = 8,
};

// What Begin records of the file.
struct FileStamp {
    QString path; // absolute
    qint64 size = -1;
    qint64 modifiedMs = -1;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct JournalRecord {
    RecordKind kind = RecordKind::Push;
    qint64 timeMs = 0;
    // Begin: the file, and the marks the entries had then (marks are never
    // saved, so a save leaves them in the entries but not in the file);
    // Reference: the path; BaseCopy: the copy's file name.
    FileStamp file;
    std::vector<xom::CellChange> marks;
    QString referencePath;
    QString copyName;
    QByteArray hash;
    // Push, DoneBelow and UndoneAbove.
    std::optional<document::Step> step;
    // The journal's length up to the end of this record.
    qsizetype endOffset = 0;
};

// The CRC-32 (zlib's) a record's body is checked with.
[[nodiscard]] std::uint32_t journalChecksum(QByteArrayView body);

// The twelve bytes a journal starts with.
[[nodiscard]] QByteArray journalPreamble();
// A record's body; a step's is encoded from the step itself, which may be
// large (a Replace All's), so that it is never copied.
[[nodiscard]] QByteArray encodeRecordBody(const JournalRecord& record);
[[nodiscard]] QByteArray encodeStepBody(RecordKind kind, qint64 timeMs, const document::Step& step);
// What goes before and after a body to make it a whole record: its length
// and its checksum.
struct RecordFrame {
    QByteArray length;
    QByteArray checksum;
};
[[nodiscard]] RecordFrame frameOf(const QByteArray& body);
[[nodiscard]] QByteArray framedRecord(const QByteArray& body);
[[nodiscard]] inline QByteArray encodeRecord(const JournalRecord& record)
{
    return framedRecord(encodeRecordBody(record));
}

// Whether bytes start as a journal does (of any version).
[[nodiscard]] bool looksLikeJournal(QByteArrayView bytes);

struct ReadJournal {
    // Whether the bytes are a journal of this version at all.
    bool recognised = false;
    // Every whole record, in order.
    std::vector<JournalRecord> records;
    // Bytes after the last whole record: a record cut short or damaged, and
    // whatever follows it.
    qsizetype damagedBytes = 0;

    [[nodiscard]] const JournalRecord* begin() const;
    [[nodiscard]] const JournalRecord* baseCopy() const;
    // The records a replay takes: pushes, undos, redos and their steps.
    [[nodiscard]] int changeCount() const;
    [[nodiscard]] qsizetype wholeBytes() const;
};

// Reads records up to the first one that is not whole: a bad length, a bad
// checksum or a body that does not hold what its kind needs.
[[nodiscard]] ReadJournal readJournal(QByteArrayView bytes);

} // namespace recovery
