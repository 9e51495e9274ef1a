#include "recovery/JournalFormat.h"

#include "recovery/JournalBytes.h"
#include "recovery/StepCodec.h"

#include <array>

namespace recovery {

namespace {

bool holdsStep(const RecordKind kind)
{
    return kind == RecordKind::Push || kind == RecordKind::DoneBelow || kind == RecordKind::UndoneAbove;
}

JournalRecord decodeBody(const QByteArrayView body)
{
    JournalBytesIn in(body);
    JournalRecord record;
    record.kind = static_cast<RecordKind>(in.u8());
    record.timeMs = in.i64();
    switch (record.kind) {
    case RecordKind::Begin:
        record.file.path = in.text();
        record.file.size = in.i64();
        record.file.modifiedMs = in.i64();
        record.referencePath = in.text();
        record.marks.resize(in.count(8));
        for (xom::CellChange& mark : record.marks) {
            mark.gridRow = in.i32();
            mark.column = xom::MarkColumn;
            mark.after = in.text();
        }
        break;
    case RecordKind::BaseCopy:
        record.copyName = in.text();
        record.hash = in.bytes();
        break;
    case RecordKind::Reference:
        record.referencePath = in.text();
        break;
    case RecordKind::Undo:
    case RecordKind::Redo:
        break;
    case RecordKind::Push:
    case RecordKind::DoneBelow:
    case RecordKind::UndoneAbove:
        record.step = decodeStep(in);
        break;
    default:
        throw BadRecord();
    }
    if (!in.atEnd())
        throw BadRecord();
    return record;
}

} // namespace

// Table-driven, with the polynomial of zlib and PNG.
std::uint32_t journalChecksum(const QByteArrayView bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray journalPreamble()
{
    QByteArray bytes = journalMagic.toByteArray();
    JournalBytesOut(bytes).u32(journalVersion);
    return bytes;
}

QByteArray encodeRecord(const JournalRecord& record)
{
    QByteArray body;
    JournalBytesOut out(body);
    out.u8(static_cast<std::uint8_t>(record.kind));
    out.i64(record.timeMs);
    switch (record.kind) {
    case RecordKind::Begin:
        out.text(record.file.path);
        out.i64(record.file.size);
        out.i64(record.file.modifiedMs);
        out.text(record.referencePath);
        out.u32(static_cast<std::uint32_t>(record.marks.size()));
        for (const xom::CellChange& mark : record.marks) {
            out.i32(mark.gridRow);
            out.text(mark.after);
        }
        break;
    case RecordKind::BaseCopy:
        out.text(record.copyName);
        out.bytes(record.hash);
        break;
    case RecordKind::Reference:
        out.text(record.referencePath);
        break;
    case RecordKind::Undo:
    case RecordKind::Redo:
        break;
    case RecordKind::Push:
    case RecordKind::DoneBelow:
    case RecordKind::UndoneAbove:
        encodeStep(out, *record.step);
        break;
    }
    QByteArray whole;
    whole.reserve(body.size() + 8);
    JournalBytesOut framed(whole);
    framed.u32(static_cast<std::uint32_t>(body.size()));
    whole.append(body);
    framed.u32(journalChecksum(body));
    return whole;
}

bool looksLikeJournal(const QByteArrayView bytes)
{
    return bytes.startsWith(journalMagic);
}

const JournalRecord* ReadJournal::begin() const
{
    return !records.empty() && records.front().kind == RecordKind::Begin ? &records.front() : nullptr;
}

const JournalRecord* ReadJournal::baseCopy() const
{
    for (const JournalRecord& record : records) {
        if (record.kind == RecordKind::BaseCopy)
            return &record;
    }
    return nullptr;
}

int ReadJournal::changeCount() const
{
    int changes = 0;
    for (const JournalRecord& record : records) {
        if (record.kind == RecordKind::Push || record.kind == RecordKind::Undo || record.kind == RecordKind::Redo)
            ++changes;
    }
    return changes;
}

qsizetype ReadJournal::wholeBytes() const
{
    return records.empty() ? journalPreambleSize : records.back().endOffset;
}

ReadJournal readJournal(const QByteArrayView bytes)
{
    ReadJournal journal;
    if (bytes.size() < journalPreambleSize || !looksLikeJournal(bytes))
        return journal;
    JournalBytesIn preamble(bytes.sliced(journalMagic.size(), 4));
    if (preamble.u32() != journalVersion)
        return journal;
    journal.recognised = true;
    qsizetype at = journalPreambleSize;
    while (at < bytes.size()) {
        try {
            JournalBytesIn frame(bytes.sliced(at));
            const std::uint32_t length = frame.count(1);
            if (bytes.size() - at - 4 < static_cast<qsizetype>(length) + 4)
                break;
            const QByteArrayView body = bytes.sliced(at + 4, length);
            JournalBytesIn check(bytes.sliced(at + 4 + length, 4));
            if (check.u32() != journalChecksum(body))
                break;
            JournalRecord record = decodeBody(body);
            if (journal.records.empty() != (record.kind == RecordKind::Begin))
                break;
            if (holdsStep(record.kind) && !record.step)
                break;
            at += 4 + length + 4;
            record.endOffset = at;
            journal.records.push_back(std::move(record));
        } catch (const BadRecord&) {
            break;
        }
    }
    journal.damagedBytes = bytes.size() - at;
    return journal;
}

} // namespace recovery
