#include "xom/LanguageFileWriter.h"

#include "xom/FileErrors.h"
#include "xom/FileLayout.h"
#include "xom/ImageOut.h"
#include "xom/Parallel.h"
#include "xom/SaveLayout.h"
#include "xom/SaveProgress.h"
#include "xom/StringDataOrder.h"
#include "xom/StringTable.h"
#include "xom/Utf8Codec.h"
#include "xom/Varint.h"

#include "text/Decimal.h"
#include "text/EditorError.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

// One save, from the entries to the bytes of the layout that docs/format.md
// draws. The whole file is measured exactly before its first byte is
// written, then each part is written at its place: into one image in
// memory, or straight to the file in runs (see ImageOut).
//
//   measureSave        collectStrings     the string table, in list order
//                      matchEntryNumbers  the row of each entry number
//                      orderStringData    the order of the strings' bytes
//                      measureLayout      every string's offset, every
//                                         container's place, the file's size
//   writeSave          writeHeader        header, type table, GUID, SCHM
//                      writeStringTable   count, offsets, data
//                      writeStringResources, writeDataBank,
//                      writeOtherContainers
namespace xom {

namespace {

void putU32(char* at, const std::uint32_t value)
{
    qToLittleEndian(value, at);
}

char* putMagic(char* at, const QByteArrayView magic)
{
    std::memcpy(at, magic.data(), static_cast<std::size_t>(magic.size()));
    return at + magic.size();
}

// Everything a save writes, measured.
struct MeasuredSave {
    StringTable strings;
    EntryNumbers numbers;
    StringDataOrder data;
    SaveLayout layout;
};

// Throws ListIndexError(-1) when an entry number 1 .. n has no row.
void requireEveryNumber(const EntryTable& entries, const EntryNumbers& numbers)
{
    const int gridRows = entries.gridRowCount();
    for (int k = 1; k < gridRows; ++k) {
        if (numbers.rowOfNumber[static_cast<std::size_t>(k)] < 0)
            throw text::ListIndexError(-1);
    }
}

// Measures the save and records its string list in the model.
MeasuredSave measureSave(const EntryTable& entries, LanguageModel& model, const SaveProgress& progress)
{
    progress.set(0);
    // The list is still unchanged when it has no string 1 to keep.
    if (model.StringList.count < 2)
        throw text::ListIndexError(1);
    // The entry numbers are matched on a thread of their own meanwhile.
    std::optional<StringTable> collected;
    EntryNumbers numbers;
    const auto collect = [&] { collected.emplace(collectStrings(entries, model.StringList.second)); };
    const auto match = [&] { numbers = matchEntryNumbers(entries); };
    bothAtOnceIf(worthTwoThreads(entries.rows.size()), collect, match);
    MeasuredSave save{*std::move(collected), std::move(numbers), {}, {}};
    save.data = orderStringData(save.strings, entries);
    // The collection's positions do not depend on the texts: they are
    // reported once the table is final (ordering may collect it again).
    const int gridRows = entries.gridRowCount();
    for (std::size_t row = 0; row < entries.rows.size(); ++row)
        progress.step(static_cast<qint64>(row) + 1, gridRows, 20, 0);
    save.layout = measureLayout(entries, model, save.strings, save.data, save.numbers, progress);
    model.StringList = summaryOf(save.strings);
    requireEveryNumber(entries, save.numbers);
    return save;
}

// Header, type table, GUID and SCHM chunks: everything before the string
// table.
void writeHeader(ImageOut& out, const LanguageModel& model, const SaveLayout& measured)
{
    QByteArray header(measured.stringTable, '\0');
    char* const base = header.data();
    const auto typeCount = static_cast<qsizetype>(model.TypeTable.size());
    putMagic(base, layout::MagicFile);
    base[layout::VersionLastByteOffset] = layout::VersionLastByte;
    putU32(base + layout::TypeCountOffset, static_cast<std::uint32_t>(typeCount));
    const auto containerCount = static_cast<std::uint32_t>(measured.places.containerCount);
    putU32(base + layout::ContainerCountOffset, containerCount);
    putU32(base + layout::ContainerCount2Offset, containerCount);
    for (qsizetype t = 0; t < typeCount; ++t) {
        const XTypeCont& type = model.TypeTable[static_cast<std::size_t>(t)];
        char* const entry = base + layout::typeTableEnd(t);
        putMagic(entry, layout::MagicType);
        putU32(entry + layout::TypeInstanceCountOffset, static_cast<std::uint32_t>(type.instanceCount));
        std::memcpy(entry + layout::TypeGuidOffset, type.guid.data(), type.guid.size());
        std::memcpy(entry + layout::TypeNameOffset, type.name.constData(),
            static_cast<std::size_t>(std::min(type.name.size(), layout::TypeNameSize)));
    }
    char* const chunks = base + layout::typeTableEnd(typeCount);
    putMagic(chunks, layout::MagicGuid);
    putMagic(chunks + layout::ChunkSize, layout::MagicSchema);
    putU32(chunks + layout::ChunkSize + 4, layout::SchmValue);
    out.put(0, header);
}

// The string data is written in the order the pool holds the strings, so
// that the pool is read front to back; read in any other order, the strings
// wait on memory one by one (a million entries, bench_save: the other route
// would make saveSavedLayout nearly three times as slow, saveEntries half
// again as slow).

// The string data in the pool's order, which is the data's when the loaded
// file gave it: each string follows the previous one's NUL, written front
// to back in two halves, through runs of a megabyte.
void writeStringDataInPoolOrder(ImageOut& out, const MeasuredSave& save)
{
    const std::vector<std::int32_t>& order = save.data.order;
    inTwoHalves(order.size(), [&](const std::size_t begin, const std::size_t end) {
        if (begin == end)
            return;
        const std::uint32_t first = save.layout.dataOffsets[static_cast<std::size_t>(order[begin])];
        ImageOut::Run data(out, save.layout.dataStart + first);
        for (std::size_t p = begin; p < end; ++p) {
            const QStringView text = save.strings.textOf(save.data.orderIds[p]);
            // A UTF-16 unit takes at most three bytes of UTF-8.
            data.advance(writeUtf8(text, data.room(3 * static_cast<std::size_t>(text.size()) + 1)) + 1);
        }
        data.finish();
    });
}

// The string data written in list order, each string at its offset: after
// a sort the strings lie in the pool in about list order, scattered over
// the data, which is made whole in the sort's arena before it is sent.
void writeStringDataAtOffsets(ImageOut& out, MeasuredSave& save)
{
    ImageOut::Block data(out, save.layout.dataStart, save.layout.dataSize, std::move(save.data.spare));
    // The strings and their NULs cover the data but for its first NUL.
    data.data()[0] = '\0';
    inTwoHalves(save.strings.count(), [&](const std::size_t begin, const std::size_t end) {
        for (std::size_t k = std::max<std::size_t>(begin, 1); k < end; ++k)
            *writeUtf8(save.strings.at(k), data.data() + save.layout.dataOffsets[k]) = '\0';
    });
    data.finish();
}

// The string table: "STRS", count, data size, the offsets in list order,
// then the data.
void writeStringTable(ImageOut& out, MeasuredSave& save)
{
    const std::size_t stringCount = save.strings.count();
    ImageOut::Run offsets(out, save.layout.stringTable);
    char* at = putMagic(offsets.room(layout::StringTableHeaderSize), layout::MagicStrings);
    putU32(at, static_cast<std::uint32_t>(stringCount));
    putU32(at + 4, static_cast<std::uint32_t>(save.layout.dataSize));
    offsets.advance(at + 8);
    for (std::size_t k = 0; k < stringCount; ++k) {
        at = offsets.room(4);
        putU32(at, save.layout.dataOffsets[k]);
        offsets.advance(at + 4);
    }
    offsets.finish();
    if (save.data.orderIds.empty())
        writeStringDataAtOffsets(out, save);
    else
        writeStringDataInPoolOrder(out, save);
}

// The largest string resource container: two indices of five bytes.
constexpr std::size_t LargestStringResource
    = layout::MagicContainer.size() + layout::StringResourceReservedSize + 10 + layout::StringResourceTrailer;

// One string resource container per entry number, in number order; every
// number has its row (requireEveryNumber).
void writeStringResources(
    ImageOut& out, const EntryTable& entries, const MeasuredSave& save, const SaveProgress& progress)
{
    const int gridRows = entries.gridRowCount();
    ImageOut::Run run(out, save.layout.places.stringResources);
    for (int k = 1; k < gridRows; ++k) {
        if (const auto ahead = static_cast<std::size_t>(k) + StringTable::RowsAhead;
            ahead < static_cast<std::size_t>(gridRows))
            save.strings.prefetchIndicesOf(entries.rows[static_cast<std::size_t>(save.numbers.rowOfNumber[ahead])]);
        const int row = save.numbers.rowOfNumber[static_cast<std::size_t>(k)];
        const EntryRow& record = entries.rows[static_cast<std::size_t>(row)];
        char* at
            = putMagic(run.room(LargestStringResource), layout::MagicContainer) + layout::StringResourceReservedSize;
        at = WriteVarint(at, static_cast<std::uint32_t>(save.strings.indexOfText(record.text)));
        at = WriteVarint(at, static_cast<std::uint32_t>(save.strings.indexOfText(record.name)));
        run.advance(at + layout::StringResourceTrailer);
        progress.step(k, gridRows, 50, 40);
    }
    run.finish();
}

// The data bank: the entry numbers in row order. Each of the n numbers
// found its own row before (requireEveryNumber), so every number cell is
// a plain decimal by now; one that were not would be parsed as the number
// it writes (ConvertError when it is none).
void writeDataBank(ImageOut& out, const EntryTable& entries, const SaveLayout& measured, const SaveProgress& progress)
{
    const int gridRows = entries.gridRowCount();
    ImageOut::Run run(out, measured.places.dataBank);
    char* at = putMagic(run.room(LargestVarint + layout::DataBankReservedSize + 4), layout::MagicContainer)
             + layout::DataBankReservedSize;
    run.advance(WriteVarint(at, static_cast<std::uint32_t>(entries.rows.size())));
    for (std::size_t row = 0; row < entries.rows.size(); ++row) {
        const EntryRow& record = entries.rows[row];
        const std::uint32_t number = record.numberIsText() ? static_cast<std::uint32_t>(
                                         text::ParseDecimal(entries.number(static_cast<int>(row))))
                                                           : record.number;
        run.advance(WriteVarint(run.room(LargestVarint), number));
        progress.step(static_cast<qint64>(row) + 1, gridRows, 10, 90);
    }
    run.finish();
}

// The carried containers, and the empty ones the counts still announce (an
// empty container is its magic alone, the rest of it zeros).
void writeOtherContainers(ImageOut& out, const LanguageModel& model, const ContainerPlaces& places)
{
    for (std::size_t c = 0; c < model.carriedContainers.size(); ++c)
        out.put(places.carried[c], model.carriedContainers[c].bytes);
    const auto writeRuns = [&](const std::vector<ContainerPlaces::Run>& runs, const qsizetype size) {
        for (const auto& [at, count] : runs) {
            ImageOut::Run run(out, at);
            for (qsizetype i = 0; i < count; ++i) {
                char* const container = run.room(static_cast<std::size_t>(size));
                putMagic(container, layout::MagicContainer);
                run.advance(container + size);
            }
            run.finish();
        }
    };
    writeRuns(places.emptyStringResources, EmptyStringResourceSize);
    writeRuns(places.emptyContainers, layout::MagicContainer.size());
}

// Every part at its place. The string table on a thread of its own while
// this one, which reports the progress, writes the containers.
void writeSave(ImageOut& out, const EntryTable& entries, const LanguageModel& model, MeasuredSave& save,
    const SaveProgress& progress)
{
    writeHeader(out, model, save.layout);
    const auto strings = [&] { writeStringTable(out, save); };
    const auto containers = [&] {
        writeStringResources(out, entries, save, progress);
        writeDataBank(out, entries, save.layout, progress);
    };
    bothAtOnceIf(worthTwoThreads(entries.rows.size()), containers, strings);
    writeOtherContainers(out, model, save.layout.places);
}

// A file replaced atomically: written to a temporary file beside the
// target, which is renamed over it only when every byte is on disk, so that
// a failed save leaves the previous file whole. Dropped uncommitted, the
// temporary file is removed.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path)
        : m_file(path)
    {
        // Unbuffered, so that a short write shows at once and not in a
        // final flush whose failure commit() would not report.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw FileCreateError(path);
    }
    [[nodiscard]] QFileDevice& operator*() noexcept { return m_file; }
    [[nodiscard]] QFileDevice* operator->() noexcept { return &m_file; }
    // Throws StreamWriteError.
    void commit()
    {
        if (!m_file.flush() || !m_file.commit())
            throw StreamWriteError();
    }

private:
    QSaveFile m_file;
};

} // namespace

QByteArray buildLanguageImage(const EntryTable& entries, LanguageModel& model, const ProgressReport& report)
{
    const SaveProgress progress(report);
    MeasuredSave save = measureSave(entries, model, progress);
    QByteArray image(save.layout.places.end, '\0');
    ImageOut out(image.data(), image.size());
    writeSave(out, entries, model, save, progress);
    return image;
}

void writeLanguageFile(const QString& path, const QByteArray& image)
{
    AtomicFile file(path);
    if (file->write(image) != image.size())
        throw StreamWriteError();
    file.commit();
}

void saveLanguageFile(
    const QString& path, const EntryTable& entries, LanguageModel& model, const ProgressReport& report)
{
    const SaveProgress progress(report);
    MeasuredSave save = measureSave(entries, model, progress);
    const qsizetype size = save.layout.places.end;
    model.FileSize = static_cast<qint32>(std::min<qsizetype>(size, std::numeric_limits<qint32>::max()));
    AtomicFile file(path);
    ImageOut out(*file, size);
    writeSave(out, entries, model, save, progress);
    progress.set(100);
    file.commit();
}

} // namespace xom
