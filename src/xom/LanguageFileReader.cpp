#include "xom/LanguageFileReader.h"

#include "xom/ByteCursor.h"
#include "xom/Parallel.h"
#include "xom/FileLayout.h"
#include "xom/Utf8Codec.h"
#include "xom/Varint.h"

#include "text/EditorError.h"

#include <QByteArrayMatcher>

#include <algorithm>
#include <span>
#include <exception>
#include <array>
#include <cstring>
#include <limits>

namespace xom {

QString LoadError::message() const
{
    if (kind == Kind::ListIndexOutOfBounds)
        return text::ListIndexError(index).message();
    return QStringLiteral("Bad Language File");
}

QString LoadError::explained() const
{
    return detail.isEmpty() ? message() : message() + QStringLiteral(": ") + detail;
}

namespace {

using Kind = LoadError::Kind;

struct Bad {
    LoadError error;
};

// Refuses the file: what is wrong, and the byte where it was found.
[[noreturn]] void badFile(const QString& what, const qsizetype offset)
{
    throw Bad{LoadError{Kind::BadLanguageFile, 0, QStringLiteral("%1 (at byte %2)").arg(what).arg(offset)}};
}

// A value read from the file, or the refusal: a read fails only when the
// file ends first.
template <typename T> T require(std::optional<T> value, const char* where, const qsizetype offset)
{
    if (!value)
        badFile(QStringLiteral("the file ends inside %1").arg(QLatin1StringView(where)), offset);
    return *value;
}

// A string resource's name and text, as indices in the file's string table.
struct Resource {
    TextId name = TextPool::EmptyText;
    TextId text = TextPool::EmptyText;
};

// The walk's state: the resources read so far and the last data bank.
struct Walk {
    // Record i (from 1) holds the i-th string resource container's name and
    // text; record 0 stays empty.
    std::vector<Resource> resources;
    std::vector<bool> resourceRead;
    std::optional<std::vector<std::uint32_t>> dataBank;
    qsizetype dataBankOffset = 0;
    std::optional<int> containerCounter;
};

// The strings 1 .. count - 1 of a string table as (offset << 32 | index),
// ascending by offset (then index): a radix sort in two passes of sixteen
// bits, which keeps the index order of equal offsets. Refuses an
// offset outside the data.
std::vector<std::uint64_t> stringsByOffset(
    const QByteArrayView offsets, const qint32 count, const std::uint32_t dataSize)
{
    std::vector<std::uint64_t> items;
    items.reserve(static_cast<std::size_t>(std::max(count - 1, 0)));
    for (qint32 k = 1; k < count; ++k) {
        ByteCursor entry(offsets, qsizetype{4} * k);
        const std::uint32_t offset = require(entry.readU32(), "the string table", entry.position());
        if (offset >= dataSize)
            badFile(QStringLiteral("string %1 begins outside the string data").arg(k), entry.position() - 4);
        items.push_back(std::uint64_t{offset} << 32 | static_cast<std::uint32_t>(k));
    }
    // The radix sort's buckets cost more than a small table's whole sort.
    constexpr std::size_t WorthBuckets = 1 << 14;
    if (items.size() < WorthBuckets) {
        std::sort(items.begin(), items.end());
        return items;
    }
    std::vector<std::uint64_t> sorted(items.size());
    for (const int shift : {32, 48}) {
        std::vector<std::size_t> starts(0x10000 + 1, 0);
        for (const std::uint64_t item : items)
            ++starts[((item >> shift) & 0xFFFF) + 1];
        for (std::size_t digit = 1; digit < starts.size(); ++digit)
            starts[digit] += starts[digit - 1];
        for (const std::uint64_t item : items)
            sorted[starts[(item >> shift) & 0xFFFF]++] = item;
        items.swap(sorted);
    }
    return items;
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : m_view(bytes)
    {
    }

    LoadedFile read()
    {
        LoadedFile result;
        LanguageModel& model = result.model;
        if (m_view.size() > std::numeric_limits<qint32>::max())
            badFile(QStringLiteral("the file is larger than 2 GiB"), 0);
        model.FileSize = static_cast<qint32>(m_view.size());

        ByteCursor header(m_view, layout::TypeCountOffset);
        const std::uint32_t typeCount = require(header.readU32(), "its header", layout::TypeCountOffset);
        if (typeCount != layout::RequiredTypeCount)
            badFile(QStringLiteral("the file has %1 types, not 4").arg(typeCount), layout::TypeCountOffset);
        readTypeTable(model);
        checkAnnouncedInstances(model);
        const StringTableBytes strings = locateStringTable();
        // The strings and the containers after them are read at once on a
        // large file: the walk needs no string, only how many there are. An
        // error in the strings is the one reported, as when they come first.
        Walk walk;
        std::exception_ptr walkFailed;
        const auto walkTheContainers = [&] {
            try {
                walk = walkContainers(model, strings.end, std::max(strings.count, 1));
            } catch (...) {
                walkFailed = std::current_exception();
            }
        };
        std::vector<std::uint64_t> byOffset;
        const auto sortStrings = [&] { byOffset = stringsByOffset(strings.offsets, strings.count, strings.dataSize); };
        bothAtOnceIf(worthTwoThreads(static_cast<std::size_t>(strings.count)), sortStrings, walkTheContainers);
        readStringTable(strings, byOffset, result.entries.texts, model.StringList);
        if (walkFailed)
            std::rethrow_exception(walkFailed);
        result.entries.loadedTexts = static_cast<TextId>(result.entries.texts.size());
        result.entries.loadedSecond = m_stringIds.size() >= 2 ? m_stringIds[1] : TextPool::EmptyText;
        // A type table that promises a data bank the walk never reached
        // belongs to a file cut short.
        const bool dataBankPromised = std::any_of(model.TypeTable.begin(), model.TypeTable.end(),
            [](const XTypeCont& type) { return type.kind == TypeKind::DataBank && type.instanceCount > 0; });
        if (dataBankPromised && !walk.dataBank)
            badFile(QStringLiteral("the type table counts a data bank that the file ends before"), m_view.size());
        if (model.StringList.count < 2)
            badFile(QStringLiteral("the string table holds no string for a save to keep"), strings.start);
        resolveDataBank(walk, result.entries);
        result.containerCounter = walk.containerCounter;
        return result;
    }

private:
    void readTypeTable(LanguageModel& model)
    {
        model.TypeTable.resize(layout::RequiredTypeCount);
        for (std::size_t n = 0; n < model.TypeTable.size(); ++n) {
            XTypeCont& type = model.TypeTable[n];
            const qsizetype entry = layout::HeaderSize + layout::TypeEntrySize * static_cast<qsizetype>(n);
            ByteCursor cursor(m_view, entry + layout::TypeInstanceCountOffset);
            type.instanceCount = static_cast<qint32>(require(cursor.readU32(), "its type table", entry));
            cursor.seek(entry + layout::TypeGuidOffset);
            const QByteArrayView guid = require(cursor.readBytes(layout::TypeGuidSize), "its type table", entry);
            std::memcpy(type.guid.data(), guid.data(), type.guid.size());
            cursor.seek(entry + layout::TypeNameOffset);
            const QByteArrayView field = require(cursor.readBytes(layout::TypeNameSize), "its type table", entry);
            const qsizetype nul = field.indexOf('\0');
            type.name = field.first(nul < 0 ? field.size() : nul).toByteArray();
            type.kind = kindOfTypeName(type.name);
            if (type.kind == TypeKind::StringResourceDetails)
                model.StringResourceType = static_cast<int>(n);
        }
    }

    // Refuses a type table whose counts no save could give back. More than
    // one data bank instance leaves open which list is the grid; a string
    // resource type counting more instances than the one whose records the
    // entries take (the last of that name) fills records the table was not
    // sized for; and more containers than the file could hold (each takes
    // at least its four-byte magic) is a lie, caught before a save would
    // write them.
    void checkAnnouncedInstances(const LanguageModel& model) const
    {
        const qint32 resourceCount
            = model.StringResourceType < 0
                ? 0
                : model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
        qint64 dataBanks = 0;
        qint64 announced = 0;
        for (const XTypeCont& type : model.TypeTable) {
            const qint64 count = std::max(type.instanceCount, 0);
            announced += count;
            if (type.kind == TypeKind::DataBank)
                dataBanks += count;
            if (type.kind == TypeKind::StringResourceDetails && count > std::max(resourceCount, 0)) {
                badFile(QStringLiteral("a second string resource type counts more instances than the last"),
                    layout::HeaderSize);
            }
        }
        if (dataBanks > 1)
            badFile(QStringLiteral("the type table counts %1 data banks").arg(dataBanks), layout::HeaderSize);
        if (announced > m_view.size() / layout::MagicContainer.size()) {
            badFile(QStringLiteral("the type table counts %1 containers, more than the file can hold").arg(announced),
                layout::HeaderSize);
        }
    }

    // Where the string table lies, checked against the file's size.
    struct StringTableBytes {
        qint32 count = 0;
        std::uint32_t dataSize = 0;
        QByteArrayView offsets;
        QByteArrayView data;
        qsizetype end = 0;   // the first container's offset
        qsizetype start = 0; // the table's own offset
    };

    StringTableBytes locateStringTable() const
    {
        const qsizetype end = layout::typeTableEnd(layout::RequiredTypeCount);
        ByteCursor probe(m_view, end + layout::ChunkSize);
        const auto magic = probe.readBytes(layout::MagicStrings.size());
        const qsizetype start
            = magic && *magic == layout::MagicStrings ? end + layout::ChunkSize : end + 2 * layout::ChunkSize;
        ByteCursor cursor(m_view, start + 4);
        const auto stringCount = static_cast<qint32>(require(cursor.readU32(), "its string table", start));
        const std::uint32_t dataSize = require(cursor.readU32(), "its string table", start);
        // Each string needs its four offset bytes: a count beyond that is a
        // lie, caught before anything is sized from it.
        if (stringCount < 0 || stringCount > cursor.remaining() / 4) {
            badFile(QStringLiteral("the string table counts %1 strings, more than the file can hold")
                        .arg(static_cast<std::uint32_t>(stringCount)),
                start);
        }
        const QByteArrayView offsets
            = require(cursor.readBytes(qsizetype{4} * stringCount), "its string table", cursor.position());
        const QByteArrayView data
            = require(cursor.readBytes(static_cast<qsizetype>(dataSize)), "its string data", cursor.position());
        return {stringCount, dataSize, offsets, data, cursor.position(), start};
    }

    // Reads the strings, byOffset, into the pool, recording each one's id by
    // its index in the file, and what the model keeps of the table in
    // summary.
    void readStringTable(const StringTableBytes& table, const std::vector<std::uint64_t>& byOffset, TextPool& pool,
        StringListSummary& summary)
    {
        // The strings are decoded in the order of their bytes in the data,
        // so that the data is read front to back and the pool holds them as
        // the save that wrote the file sorted them (the next save then only
        // checks that order). On a large file the two halves of the data
        // are decoded at once, each run sized first: its strings, and their
        // bytes, which bound their code units.
        const QByteArrayView data = table.data;
        m_stringIds.assign(static_cast<std::size_t>(std::max(table.count, 1)), TextPool::EmptyText);
        const std::span<const std::uint64_t> items(byOffset);
        std::size_t split = items.size();
        if (worthTwoThreads(items.size())) {
            split = items.size() / 2;
            while (split < items.size() && items[split] >> 32 == items[split - 1] >> 32)
                ++split;
        }
        const std::array<std::span<const std::uint64_t>, 2> halves{items.first(split), items.subspan(split)};
        const auto eachHalf = [&](const auto& work) {
            bothAtOnceIf(
                !halves[1].empty(), [&] { work(std::size_t{0}); }, [&] { work(std::size_t{1}); });
        };
        std::array<TextPool::LoadRunSize, 2> sizes;
        eachHalf([&](const std::size_t h) { sizes[h] = measureStrings(data, halves[h]); });
        // Strings may share bytes, one beginning inside another, but shared
        // tails save a writer far less than half of its data. A file whose
        // strings, each read to its NUL, take more than twice the data's
        // bytes is refused before they are decoded: from a small file they
        // could take memory without bound.
        if (sizes[0].units + sizes[1].units > 2 * static_cast<std::size_t>(data.size()))
            badFile(QStringLiteral("the strings, each read to its end, take more than twice the string data"),
                table.end - data.size());
        std::array<TextPool::LoadRun, 2> runs = pool.beginLoad(sizes[0], sizes[1]);
        eachHalf([&](const std::size_t h) { decodeStrings(data, halves[h], runs[h]); });
        pool.endLoad(runs);

        // A file may hold a text twice: the pool finds out when it first
        // needs its index, and canonical() then maps the second id to the
        // first.
        const auto textOf = [&](const std::size_t k) { return pool.text(m_stringIds[k]); };
        summary.count = static_cast<int>(m_stringIds.size());
        if (summary.count >= 2) {
            summary.second = textOf(1);
            summary.lastButOne = textOf(m_stringIds.size() - 2);
            summary.last = textOf(m_stringIds.size() - 1);
        }
    }

    // The distinct strings among items (in ascending order of offset) and
    // the bytes they take, each read to its NUL. A string that begins
    // inside the previous one ends at that one's NUL. Refuses a string
    // without its NUL.
    static TextPool::LoadRunSize measureStrings(const QByteArrayView data, const std::span<const std::uint64_t> items)
    {
        TextPool::LoadRunSize size;
        std::uint64_t previous = ~std::uint64_t{0};
        qsizetype nul = -1;
        for (const std::uint64_t item : items) {
            const std::uint64_t offset = item >> 32;
            if (offset == previous)
                continue;
            const auto at = static_cast<qsizetype>(offset);
            if (nul < at)
                nul = nulFrom(data, at);
            ++size.texts;
            size.units += static_cast<std::size_t>(nul - at);
            previous = offset;
        }
        return size;
    }

    // Decodes the strings among items into run, as measureStrings found
    // them, and records each one's id by its index in the file.
    void decodeStrings(const QByteArrayView data, const std::span<const std::uint64_t> items, TextPool::LoadRun& run)
    {
        std::uint64_t previous = ~std::uint64_t{0};
        qsizetype nul = -1;
        TextId id = TextPool::EmptyText;
        for (const std::uint64_t item : items) {
            const std::uint64_t offset = item >> 32;
            if (offset != previous) {
                const auto at = static_cast<qsizetype>(offset);
                if (nul < at)
                    nul = nulFrom(data, at);
                id = run.endText(static_cast<std::size_t>(decodeUtf8(data.sliced(at, nul - at), run.nextText())));
                previous = offset;
            }
            m_stringIds[item & 0xFFFF'FFFFu] = id;
        }
    }

    // The position of the first NUL at or after at; refuses data without one.
    static qsizetype nulFrom(const QByteArrayView data, const qsizetype at)
    {
        const auto* const nul
            = static_cast<const char*>(std::memchr(data.data() + at, 0, static_cast<std::size_t>(data.size() - at)));
        if (!nul)
            badFile(QStringLiteral("a string of the string data has no NUL to end it"), at);
        return nul - data.data();
    }

    // Walks the containers from position on; string indices are checked
    // against stringCount and kept as they stand in the file.
    Walk walkContainers(LanguageModel& model, qsizetype position, const int stringCount) const
    {
        Walk walk;
        qint64 resourceCount = 0;
        if (model.StringResourceType >= 0)
            resourceCount
                = std::max(0, model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount);
        // The table is sized by what the rest of the file can hold, not by
        // the claim: the smallest string resource is its magic, the reserved
        // bytes and two one-byte varints, and the next container is sought
        // only past its trailer.
        constexpr qsizetype smallestResource
            = layout::MagicContainer.size() + layout::StringResourceReservedSize + 2 + layout::ContainerReadTrailer;
        const qint64 resourcesThatFit = std::max<qsizetype>(0, m_view.size() - position) / smallestResource + 1;
        walk.resources.resize(static_cast<std::size_t>(std::min(resourceCount, resourcesThatFit)) + 1);
        walk.resourceRead.assign(walk.resources.size(), false);
        walk.resourceRead[0] = true; // entry 0: a row with an empty name and text

        int counter = 0;
        for (std::size_t typeIndex = 0; typeIndex < model.TypeTable.size(); ++typeIndex) {
            const XTypeCont& type = model.TypeTable[typeIndex];
            for (qint32 i = 1; i <= type.instanceCount; ++i) {
                qsizetype searchStart = position + layout::MagicContainer.size();
                switch (type.kind) {
                case TypeKind::StringResourceDetails:
                    searchStart = readStringResource(stringCount, walk, position, i);
                    break;
                case TypeKind::DataBank:
                    searchStart = readDataBank(walk, position);
                    break;
                default:
                    break;
                }
                ++counter;
                const qsizetype next = findContainer(std::max(searchStart, position + 1));
                if (!isParsed(type.kind))
                    carry(model, static_cast<int>(typeIndex), position, next);
                if (next < 0)
                    return walk;
                walk.containerCounter = counter;
                position = next;
            }
        }
        return walk;
    }

    static bool isParsed(const TypeKind kind)
    {
        return kind == TypeKind::StringResourceDetails || kind == TypeKind::DataBank;
    }

    qsizetype readStringResource(
        const int stringCount, Walk& walk, const qsizetype position, const qint32 instance) const
    {
        ByteCursor cursor(m_view, position + 4 + layout::StringResourceReservedSize);
        const qint32 textIndex = require(ReadVarint(cursor), "a string resource", position);
        const qint32 nameIndex = require(ReadVarint(cursor), "a string resource", position);
        for (const qint32 index : {textIndex, nameIndex}) {
            if (index < 0 || index >= stringCount)
                throw Bad{LoadError{Kind::ListIndexOutOfBounds, index, QString()}};
        }
        // checkAnnouncedInstances refused a second type of the same name
        // counting more instances than the table was sized for; the guard
        // stays beside the write it protects.
        if (static_cast<std::size_t>(instance) >= walk.resources.size())
            badFile(QStringLiteral("more string resources than the file can hold"), position);
        walk.resources[static_cast<std::size_t>(instance)]
            = Resource{static_cast<TextId>(nameIndex), static_cast<TextId>(textIndex)};
        walk.resourceRead[static_cast<std::size_t>(instance)] = true;
        return cursor.position() + layout::ContainerReadTrailer;
    }

    qsizetype readDataBank(Walk& walk, const qsizetype position) const
    {
        ByteCursor cursor(m_view, position + 4 + layout::DataBankReservedSize);
        const qint32 entryCount = require(ReadVarint(cursor), "the data bank", position);
        // Every entry takes at least one byte.
        if (entryCount < 0 || entryCount > cursor.remaining()) {
            badFile(QStringLiteral("the data bank counts %1 entries, more than the file can hold")
                        .arg(static_cast<std::uint32_t>(entryCount)),
                position);
        }
        std::vector<std::uint32_t> entries(static_cast<std::size_t>(entryCount));
        for (auto& entry : entries)
            entry = static_cast<std::uint32_t>(require(ReadVarint(cursor), "the data bank", position));
        walk.dataBank = std::move(entries);
        walk.dataBankOffset = position;
        return cursor.position() + layout::ContainerReadTrailer;
    }

    // The offset of the next "CTNR" at or after from, or -1.
    qsizetype findContainer(const qsizetype from) const
    {
        if (from >= m_view.size())
            return -1;
        static const QByteArrayMatcher matcher(layout::MagicContainer.toByteArray());
        return matcher.indexIn(m_view, from);
    }

    // Keeps a container of a type the editor does not parse: its bytes up to
    // the next container or the end of the file, behind a "CTNR" of its own
    // (the first container's magic is never checked, and a save writes every
    // container with one).
    void carry(LanguageModel& model, const int typeIndex, const qsizetype position, const qsizetype next) const
    {
        const qsizetype end = next < 0 ? m_view.size() : next;
        const qsizetype body = std::min(position + layout::MagicContainer.size(), end);
        QByteArray bytes = layout::MagicContainer.toByteArray();
        bytes += m_view.sliced(body, end - body);
        model.carriedContainers.push_back({typeIndex, std::move(bytes)});
    }

    // The data bank is resolved after the whole walk, so a type table that
    // lists it before the string resources still gives rows their names and
    // texts.
    void resolveDataBank(const Walk& walk, EntryTable& table) const
    {
        if (!walk.dataBank)
            return;
        const std::vector<std::uint32_t>& numbers = *walk.dataBank;
        const qsizetype at = walk.dataBankOffset;
        // A save writes one string resource per entry, numbered 1 .. n after
        // the entries' numbers, and the data bank the numbers in grid order:
        // only a bank that lists 1 .. n, each once, can be written again.
        std::vector<bool> listed(numbers.size() + 1, false);
        for (const std::uint32_t number : numbers) {
            if (number == 0)
                badFile(QStringLiteral("the data bank names entry 0"), at);
            if (number > numbers.size()) {
                badFile(
                    QStringLiteral("the data bank lists %1 entries and names entry %2").arg(numbers.size()).arg(number),
                    at);
            }
            if (listed[number])
                badFile(QStringLiteral("the data bank names entry %1 twice").arg(number), at);
            listed[number] = true;
        }
        table.rows.reserve(numbers.size());
        for (const std::uint32_t number : numbers) {
            // An entry must name a resource that the walk read: one beyond
            // them, or one the file ended before, is no entry of this file.
            // The resources fit in the file, so the number is below 2^31.
            if (number >= walk.resources.size() || !walk.resourceRead[number]) {
                badFile(QStringLiteral("the data bank names entry %1, which the file does not hold").arg(number), at);
            }
            const Resource& resource = walk.resources[number];
            table.rows.push_back(
                EntryRow{number, TextPool::EmptyText, m_stringIds[resource.name], m_stringIds[resource.text]});
        }
    }

    QByteArrayView m_view;
    // The pool id of each string of the file's string table, by its index.
    std::vector<TextId> m_stringIds;
};

} // namespace

LoadResult loadLanguageFile(const QByteArray& bytes)
{
    try {
        return Reader(bytes).read();
    } catch (const Bad& bad) {
        return bad.error;
    }
}

} // namespace xom
