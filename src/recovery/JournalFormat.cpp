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

// The polynomial of zlib and PNG, eight bytes a round ("slicing by 8"): a
// Replace All's record is over a hundred megabytes, and this is four times
// the speed of a byte a round, the same sums.
std::uint32_t journalChecksum(const QByteArrayView bytes)
{
    using Tables = std::array<std::array<std::uint32_t, 256>, 8>;
    static const Tables tables = [] {
        Tables t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (std::uint32_t n = 0; n < 256; ++n) {
            for (std::size_t slice = 1; slice < 8; ++slice)
                t[slice][n] = (t[slice - 1][n] >> 8) ^ t[0][t[slice - 1][n] & 0xFF];
        }
        return t;
    }();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    qsizetype left = bytes.size();
    std::uint32_t crc = 0xFFFFFFFFu;
    while (left >= 8) {
        const std::uint32_t low = crc
                                ^ (std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16
                                    | std::uint32_t{data[3]} << 24);
        crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF]
            ^ tables[4][low >> 24] ^ tables[3][data[4]] ^ tables[2][data[5]] ^ tables[1][data[6]] ^ tables[0][data[7]];
        data += 8;
        left -= 8;
    }
    for (; left > 0; --left, ++data)
        crc = tables[0][(crc ^ *data) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray journalPreamble()
{
    QByteArray bytes = journalMagic.toByteArray();
    JournalBytesOut(bytes).u32(journalVersion);
    return bytes;
}

RecordFrame frameOf(const QByteArray& body)
{
    RecordFrame frame;
    JournalBytesOut(frame.length).u32(static_cast<std::uint32_t>(body.size()));
    JournalBytesOut(frame.checksum).u32(journalChecksum(body));
    return frame;
}

QByteArray framedRecord(const QByteArray& body)
{
    const RecordFrame frame = frameOf(body);
    return frame.length + body + frame.checksum;
}

QByteArray encodeStepBody(const RecordKind kind, const qint64 timeMs, const document::Step& step)
{
    QByteArray body;
    JournalBytesOut out(body);
    out.u8(static_cast<std::uint8_t>(kind));
    out.i64(timeMs);
    encodeStep(out, step);
    return body;
}

QByteArray encodeRecordBody(const JournalRecord& record)
{
    if (record.step)
        return encodeStepBody(record.kind, record.timeMs, *record.step);
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
        break; // encoded above
    }
    return body;
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
