#include "xom/LanguageFileWriter.h"

#include "xom/EntryNumber.h"

#include "xom/ArenaKey.h"
#include "xom/FileErrors.h"
#include "xom/FileLayout.h"
#include "xom/ProgressPosition.h"
#include "xom/TextIndex.h"
#include "xom/Utf8Codec.h"
#include "xom/Varint.h"

#include "text/AnsiImage.h"
#include "text/Decimal.h"
#include "text/EditorError.h"
#include "text/QuickSort.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

// The writer builds the whole file in one buffer, sized exactly before the
// first byte is written (see FileLayout.h for the layout):
//
//   header | type table | GUID | SCHM | "STRS" count size | offsets | data |
//   containers in type-table order, as many per type as its instance count
//   announces: the string resources (one per entry number, in number order),
//   the data bank (entry numbers in row order), and the containers of other
//   types carried through from the load (see placeContainers).
//
// The string table holds each distinct text once: the empty string, the
// string that stood at index 1 ("kept"), then every text and name of the
// rows in order of first occurrence, a row's text before its name. Offsets
// stay in that order while the bytes of data are laid out in ascending order
// of the strings' ANSI images, as the list's quicksort leaves them.
namespace xom {

namespace {

class Progress {
public:
    explicit Progress(const ProgressReport& report)
        : m_report(report)
    {
    }

    void set(const int position) const
    {
        if (m_report)
            m_report(position);
    }

    // nearest(item / count * factor) + base, the quotient taken first.
    void step(const qint64 item, const qint64 count, const int factor, const int base) const
    {
        if (m_report)
            m_report(nearestPosition(static_cast<double>(item) / static_cast<double>(count) * factor) + base);
    }

private:
    const ProgressReport& m_report;
};

void putU32(char* at, const std::uint32_t value)
{
    qToLittleEndian(value, at);
}

char* putMagic(char* at, const QByteArrayView magic)
{
    std::memcpy(at, magic.data(), static_cast<std::size_t>(magic.size()));
    return at + magic.size();
}

// The strings of the rebuilt table and, per row, the indices of its text and
// name in it. Each string is measured and imaged when it joins the table,
// while its characters are at hand: later steps need not read the strings
// again until their bytes are written.
struct RebuiltStrings {
    std::vector<QString> strings;
    std::vector<std::int32_t> textIndex;
    std::vector<std::int32_t> nameIndex;
    std::vector<std::uint32_t> utf8Lengths; // per string
    QByteArray images;                      // the strings' ANSI images, in list order
    std::vector<std::uint32_t> imageEnds;   // per string: where its image ends

    void measureLast()
    {
        const QString& s = strings.back();
        utf8Lengths.push_back(static_cast<std::uint32_t>(utf8Length(s)));
        text::appendAnsiImage(s, images);
        imageEnds.push_back(static_cast<std::uint32_t>(images.size()));
    }

    // Adds text unless the table holds it already; gives its index.
    std::int32_t add(TextIndex& index, const QString& text) { return add(index, text, TextIndex::hashOf(text)); }
    std::int32_t add(TextIndex& index, const QString& text, const std::uint32_t hash)
    {
        const std::size_t before = strings.size();
        const std::int32_t position = index.addIfAbsent(text, hash, strings);
        if (strings.size() != before)
            measureLast();
        return position;
    }
};

RebuiltStrings rebuildStrings(const EntryTable& entries, const QString& kept, const Progress& progress)
{
    const std::size_t rows = entries.rows.size();
    const int gridRows = entries.gridRowCount();
    RebuiltStrings result;
    result.strings.reserve(2 * rows + 2);
    result.utf8Lengths.reserve(2 * rows + 2);
    result.imageEnds.reserve(2 * rows + 2);
    result.textIndex.resize(rows);
    result.nameIndex.resize(rows);
    TextIndex index(2 * rows + 2);
    result.add(index, QString());
    // The kept string takes index 1 even when it is empty; lookups of the
    // empty string still find index 0 first.
    if (kept.isEmpty()) {
        result.strings.push_back(kept);
        result.measureLast();
    } else {
        result.add(index, kept);
    }
    // Rows go in batches: their hashes first, with a prefetch of each
    // lookup's memory, then the lookups in row order.
    constexpr std::size_t Batch = 16;
    std::array<std::uint32_t, 2 * Batch> hashes{};
    for (std::size_t first = 0; first < rows; first += Batch) {
        const std::size_t last = std::min(rows, first + Batch);
        for (std::size_t row = first; row < last; ++row) {
            const Entry& entry = entries.rows[row];
            const std::size_t at = 2 * (row - first);
            hashes[at] = TextIndex::hashOf(entry.text);
            hashes[at + 1] = TextIndex::hashOf(entry.name);
            index.prefetch(hashes[at]);
            index.prefetch(hashes[at + 1]);
        }
        for (std::size_t row = first; row < last; ++row) {
            const Entry& entry = entries.rows[row];
            const std::size_t at = 2 * (row - first);
            result.textIndex[row] = result.add(index, entry.text, hashes[at]);
            result.nameIndex[row] = result.add(index, entry.name, hashes[at + 1]);
            progress.step(static_cast<qint64>(row) + 1, gridRows, 20, 0);
        }
    }
    return result;
}

// The list indices 1 .. count - 1 (as the keys' indices) in the order the
// list's quicksort leaves them when it compares ANSI images bytewise.
std::vector<ArenaKey> sortByAnsiImage(const RebuiltStrings& rebuilt)
{
    const auto* const bytes = reinterpret_cast<const unsigned char*>(rebuilt.images.constData());
    std::vector<ArenaKey> items;
    items.reserve(rebuilt.strings.size());
    for (std::size_t k = 1; k < rebuilt.strings.size(); ++k) {
        const std::uint32_t offset = rebuilt.imageEnds[k - 1];
        items.emplace_back(bytes, offset, rebuilt.imageEnds[k] - offset, static_cast<std::int32_t>(k));
    }
    const auto compare = [&](const int i, const int j) {
        return items[static_cast<std::size_t>(i)].compare(items[static_cast<std::size_t>(j)], bytes);
    };
    const auto swap = [&](const int i, const int j) {
        std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
    };
    text::quickSortPositions(static_cast<int>(items.size()), compare, swap);
    return items;
}

qsizetype stringResourceSize(const std::int32_t textIndex, const std::int32_t nameIndex)
{
    return layout::MagicContainer.size() + layout::StringResourceReservedSize
         + varintLength(static_cast<std::uint32_t>(textIndex)) + varintLength(static_cast<std::uint32_t>(nameIndex))
         + layout::StringResourceTrailer;
}

// Where each run of containers goes. Every type gets, at its place in the
// table, exactly the containers that its instance count announces, so that a
// reader walking the counts finds each container where its type says:
//  - the string resource type that the load used: one container per entry
//    number, then empty ones (text and name index 0) up to its count, for a
//    file whose count exceeds its entries;
//  - another type of that name: empty string resources, which a reader takes
//    in and then overwrites with those of the type that follows it;
//  - the data bank type that holds an instance: the data bank; other data
//    bank types (count 0) nothing;
//  - any other type: its carried containers, then bare "CTNR" magics up to
//    its count, for a load whose walk ended before the type was complete.
// A file without a string resource type gets the string resources just
// before the data bank, and one without a data bank instance the data bank
// last, where the usual layout has them.
struct ContainerPlaces {
    qsizetype stringResources = -1;
    qsizetype dataBank = -1;
    std::vector<qsizetype> carried; // beside model.carriedContainers
    struct Run {
        qsizetype at = 0;
        qsizetype count = 0;
    };
    std::vector<Run> emptyStringResources;
    std::vector<Run> emptyContainers;
    qsizetype containerCount = 0;
    qsizetype end = 0;
};

// The size of a string resource container whose two indices are 0.
constexpr qsizetype EmptyStringResourceSize
    = layout::MagicContainer.size() + layout::StringResourceReservedSize + 2 + layout::StringResourceTrailer;

ContainerPlaces placeContainers(const LanguageModel& model, qsizetype position, const qsizetype entryCount,
    const qsizetype stringResourceBytes, const qsizetype dataBankBytes)
{
    ContainerPlaces places;
    places.carried.assign(model.carriedContainers.size(), 0);
    const auto placeStringResources = [&] {
        places.stringResources = position;
        position += stringResourceBytes;
        places.containerCount += entryCount;
    };
    const auto placeDataBank = [&] {
        places.dataBank = position;
        position += dataBankBytes;
        places.containerCount += 1;
    };
    const auto placeRun = [&](std::vector<ContainerPlaces::Run>& runs, const qsizetype count, const qsizetype size) {
        if (count <= 0)
            return;
        runs.push_back({position, count});
        position += count * size;
        places.containerCount += count;
    };
    const auto dataBankType = std::find_if(model.TypeTable.begin(), model.TypeTable.end(), [](const XTypeCont& type) {
        return type.kind == TypeKind::DataBank && type.instanceCount > 0;
    }) - model.TypeTable.begin();
    for (std::size_t t = 0; t < model.TypeTable.size(); ++t) {
        const XTypeCont& type = model.TypeTable[t];
        const qsizetype announced = std::max(type.instanceCount, 0);
        if (static_cast<int>(t) == model.StringResourceType) {
            placeStringResources();
            // A count below the entries is no loaded file's: every entry is
            // written all the same.
            placeRun(places.emptyStringResources, announced - entryCount, EmptyStringResourceSize);
        } else if (type.kind == TypeKind::StringResourceDetails) {
            placeRun(places.emptyStringResources, announced, EmptyStringResourceSize);
        } else if (static_cast<std::ptrdiff_t>(t) == dataBankType) {
            if (model.StringResourceType < 0)
                placeStringResources();
            placeDataBank();
        } else if (type.kind != TypeKind::DataBank) {
            qsizetype carried = 0;
            for (std::size_t c = 0; c < model.carriedContainers.size(); ++c) {
                if (model.carriedContainers[c].typeIndex == static_cast<int>(t)) {
                    places.carried[c] = position;
                    position += model.carriedContainers[c].bytes.size();
                    ++carried;
                }
            }
            places.containerCount += carried;
            placeRun(places.emptyContainers, announced - carried, layout::MagicContainer.size());
        }
    }
    if (places.stringResources < 0)
        placeStringResources();
    if (places.dataBank < 0)
        placeDataBank();
    places.end = position;
    return places;
}

} // namespace

QByteArray buildLanguageImage(const EntryTable& entries, LanguageModel& model, const ProgressReport& report)
{
    const Progress progress(report);
    progress.set(0);
    const int gridRows = entries.gridRowCount();
    const std::size_t rows = entries.rows.size();

    // The list is still unchanged when it has no string 1 to keep.
    const QString kept = model.StringList.get(1);
    RebuiltStrings rebuilt = rebuildStrings(entries, kept, progress);
    model.StringList.setMatchCase(true);
    model.StringList.clear();
    model.StringList.reserve(static_cast<int>(rebuilt.strings.size()));
    for (const QString& s : rebuilt.strings)
        model.StringList.append(s);
    const std::vector<QString>& strings = rebuilt.strings;
    const auto stringCount = static_cast<qsizetype>(strings.size());

    // The row of each entry number: the first row whose number cell is
    // exactly its decimal text.
    std::vector<int> rowOfNumber(static_cast<std::size_t>(gridRows), -1);
    std::vector<int> numberOfRow(rows, -1);
    for (std::size_t row = 0; row < rows; ++row) {
        const int number = canonicalEntryNumber(entries.rows[row].number, gridRows);
        if (number > 0 && rowOfNumber[static_cast<std::size_t>(number)] < 0) {
            rowOfNumber[static_cast<std::size_t>(number)] = static_cast<int>(row);
            numberOfRow[row] = number;
        }
    }

    // Exact sizes. The data bank's size counts the numbers the rows were
    // matched by; a row left unmatched means a number is missing and the
    // save stops before the data bank is written.
    const std::vector<std::uint32_t>& utf8Lengths = rebuilt.utf8Lengths;
    qsizetype dataSize = 1;
    for (qsizetype k = 1; k < stringCount; ++k)
        dataSize += utf8Lengths[static_cast<std::size_t>(k)] + 1;
    qsizetype stringResourceBytes = 0;
    qsizetype dataBankBytes = layout::MagicContainer.size() + layout::DataBankReservedSize
                            + varintLength(static_cast<std::uint32_t>(rows)) + layout::DataBankTrailer;
    for (std::size_t row = 0; row < rows; ++row) {
        stringResourceBytes += stringResourceSize(rebuilt.textIndex[row], rebuilt.nameIndex[row]);
        dataBankBytes += varintLength(static_cast<std::uint32_t>(std::max(numberOfRow[row], 0)));
    }
    const auto typeCount = static_cast<qsizetype>(model.TypeTable.size());
    const qsizetype stringTable = layout::typeTableEnd(typeCount) + 2 * layout::ChunkSize;
    const qsizetype offsetsStart = stringTable + layout::StringTableHeaderSize;
    const qsizetype dataStart = offsetsStart + 4 * stringCount;
    const ContainerPlaces places = placeContainers(
        model, dataStart + dataSize, static_cast<qsizetype>(rows), stringResourceBytes, dataBankBytes);

    QByteArray image(places.end, '\0');
    char* const base = image.data();

    // Header, type table, GUID and SCHM chunks.
    putMagic(base, layout::MagicFile);
    base[layout::VersionLastByteOffset] = layout::VersionLastByte;
    putU32(base + layout::TypeCountOffset, static_cast<std::uint32_t>(typeCount));
    const auto containerCount = static_cast<std::uint32_t>(places.containerCount);
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

    // String table.
    putMagic(base + stringTable, layout::MagicStrings);
    putU32(base + stringTable + 4, static_cast<std::uint32_t>(stringCount));
    putU32(base + stringTable + 8, static_cast<std::uint32_t>(dataSize));
    // Each string's place in data follows the sorted order; the bytes are
    // then written in list order, reading the strings one after another.
    std::vector<std::uint32_t> dataOffsets(strings.size(), 0);
    {
        const std::vector<ArenaKey> sorted = sortByAnsiImage(rebuilt);
        const auto sortedCount = static_cast<qint64>(sorted.size());
        qsizetype running = 1;
        for (qint64 i = 0; i < sortedCount; ++i) {
            const auto slot = static_cast<std::size_t>(sorted[static_cast<std::size_t>(i)].index);
            dataOffsets[slot] = static_cast<std::uint32_t>(running);
            running += utf8Lengths[slot] + 1;
            progress.step(i, sortedCount, 20, 20);
        }
    }
    for (qsizetype k = 1; k < stringCount; ++k) {
        const std::uint32_t offset = dataOffsets[static_cast<std::size_t>(k)];
        putU32(base + offsetsStart + 4 * k, offset);
        writeUtf8(strings[static_cast<std::size_t>(k)], base + dataStart + offset);
    }

    // One string resource container per entry number, in number order.
    char* out = base + places.stringResources;
    for (int k = 1; k < gridRows; ++k) {
        const int row = rowOfNumber[static_cast<std::size_t>(k)];
        if (row < 0)
            throw text::ListIndexError(-1);
        out = putMagic(out, layout::MagicContainer) + layout::StringResourceReservedSize;
        out = WriteVarint(out, static_cast<std::uint32_t>(rebuilt.textIndex[static_cast<std::size_t>(row)]));
        out = WriteVarint(out, static_cast<std::uint32_t>(rebuilt.nameIndex[static_cast<std::size_t>(row)]));
        out += layout::StringResourceTrailer;
        progress.step(k, gridRows, 50, 40);
    }

    // The data bank: the entry numbers in row order.
    out = base + places.dataBank;
    out = putMagic(out, layout::MagicContainer) + layout::DataBankReservedSize;
    out = WriteVarint(out, static_cast<std::uint32_t>(rows));
    for (std::size_t row = 0; row < rows; ++row) {
        out = WriteVarint(out, static_cast<std::uint32_t>(text::ParseDecimal(entries.rows[row].number)));
        progress.step(static_cast<qint64>(row) + 1, gridRows, 10, 90);
    }

    for (std::size_t c = 0; c < model.carriedContainers.size(); ++c) {
        const QByteArray& bytes = model.carriedContainers[c].bytes;
        std::memcpy(base + places.carried[c], bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    // The image is zeroed: an empty container is its magic alone.
    for (const auto& [at, count] : places.emptyStringResources) {
        for (qsizetype i = 0; i < count; ++i)
            putMagic(base + at + i * EmptyStringResourceSize, layout::MagicContainer);
    }
    for (const auto& [at, count] : places.emptyContainers) {
        for (qsizetype i = 0; i < count; ++i)
            putMagic(base + at + i * layout::MagicContainer.size(), layout::MagicContainer);
    }
    return image;
}

void writeLanguageFile(const QString& path, const QByteArray& image)
{
    // A temporary file beside the target, renamed over it only when every
    // byte is on disk: a failed save leaves the previous file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileCreateError(path);
    // Unbuffered, so that a short write shows here and not in a final flush
    // whose failure commit() would not report.
    const qint64 written = file.write(image);
    if (written != image.size() || !file.flush()) {
        file.cancelWriting();
        throw StreamWriteError();
    }
    if (!file.commit())
        throw StreamWriteError();
}

void saveLanguageFile(
    const QString& path, const EntryTable& entries, LanguageModel& model, const ProgressReport& progress)
{
    const QByteArray image = buildLanguageImage(entries, model, progress);
    model.FileSize = static_cast<qint32>(std::min<qsizetype>(image.size(), std::numeric_limits<qint32>::max()));
    if (progress)
        progress(100);
    writeLanguageFile(path, image);
}

} // namespace xom
