#include "xom/LanguageFileWriter.h"

#include "xom/FileErrors.h"
#include "xom/FileLayout.h"
#include "xom/ImageOut.h"
#include "xom/Parallel.h"
#include "xom/ProgressPosition.h"
#include "xom/StringTableOrder.h"
#include "xom/Utf8Codec.h"
#include "xom/Varint.h"

#include "text/AnsiImage.h"
#include "text/Decimal.h"
#include "text/EditorError.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>

// The writer measures the whole file exactly before the first byte is
// written, then writes each part at its place: into one image in memory, or
// straight to the file in runs (see ImageOut). The layout (FileLayout.h):
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
// of the strings' ANSI images, as the list's quicksort leaves them: taken
// from a loaded file whose data already stands in that order (checked), or
// sorted anew (see stringTableOrder).
//
// The steps: measure (the strings, their order and sizes, the containers'
// places), then write each part at its place.
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

// How many steps ahead a loop over scattered slots fetches them.
constexpr std::size_t PrefetchAhead = 16;

// The rebuilt string table: its strings as pool ids in list order, and the
// list index of each pool id that is in it.
struct StringTable {
    // Marks index 1 when it holds a kept string that no cell holds (so the
    // pool has no id for it).
    static constexpr TextId KeptOutsidePool = ~TextId{0};

    const TextPool* pool;
    bool canonical = false; // the ids were mapped by pool.canonical()
    QString kept;
    std::vector<TextId> ids;
    std::vector<std::int32_t> indexOfId; // -1 for ids not in the table

    [[nodiscard]] QStringView textOf(const TextId id) const
    {
        return id == KeptOutsidePool ? QStringView(kept) : pool->view(id);
    }
    [[nodiscard]] QStringView at(const std::size_t k) const { return textOf(ids[k]); }
    [[nodiscard]] std::int32_t indexOf(const TextId id) const { return indexOfId[id]; }
    // The index of a row's text or name, its id taken as the table took it.
    [[nodiscard]] std::int32_t indexOfText(const TextId id) const
    {
        return indexOfId[canonical ? pool->canonical(id) : id];
    }
    // Fetches, some rows ahead, where a row's text and name find their
    // indices (ids taken as they stand only: canonical ids look elsewhere
    // first).
    void prefetchIndexOf(const EntryRow& row) const noexcept
    {
        if (!canonical) {
            __builtin_prefetch(indexOfId.data() + row.text);
            __builtin_prefetch(indexOfId.data() + row.name);
        }
    }
    [[nodiscard]] std::size_t count() const noexcept { return ids.size(); }
    void add(const TextId id)
    {
        if (indexOfId[id] < 0) {
            indexOfId[id] = static_cast<std::int32_t>(ids.size());
            ids.push_back(id);
        }
    }
};

// Each distinct text once, found by ids alone: equal texts share an id once
// the pool is indexed (canonical ids). Before, ids are taken as they stand
// and the kept string is looked for only as the loaded string 1, which
// holds when the strings the table then holds are shown distinct (see
// orderFromLoadedTexts).
StringTable rebuildStrings(const EntryTable& entries, const QString& kept)
{
    const TextPool& pool = entries.texts;
    const bool canonical = pool.indexed();
    const auto idOf = [&](const TextId id) { return canonical ? pool.canonical(id) : id; };
    StringTable table{&pool, canonical, kept, {}, std::vector<std::int32_t>(pool.size(), -1)};
    table.ids.reserve(std::min(pool.size(), 2 * entries.rows.size()) + 2);
    table.add(TextPool::EmptyText);
    // The kept string takes index 1 even when it is empty; lookups of the
    // empty string still find index 0.
    std::optional<TextId> keptId;
    if (canonical)
        keptId = pool.find(kept);
    else if (entries.loadedSecond < pool.size() && pool.view(entries.loadedSecond) == kept)
        keptId = entries.loadedSecond;
    if (kept.isEmpty())
        table.ids.push_back(TextPool::EmptyText);
    else if (keptId)
        table.add(*keptId);
    else
        table.ids.push_back(StringTable::KeptOutsidePool);
    for (const EntryRow& row : entries.rows) {
        table.add(idOf(row.text));
        table.add(idOf(row.name));
    }
    return table;
}

// The strings' ANSI images back to back in list order, for the sort.
struct StringImages {
    QByteArray images;
    std::vector<std::uint32_t> imageEnds; // per string: where its image ends
};

// The UTF-8 length of a text and its image at out, in one pass over its
// units: runs of ASCII, most of most texts, are copied and counted at once.
std::uint32_t measureString(const QStringView s, char*& out)
{
    const char16_t* const units = s.utf16();
    const qsizetype size = s.size();
    qsizetype ascii = 0;
    while (ascii < size && units[ascii] < 0x80) {
        out[ascii] = static_cast<char>(units[ascii]);
        ++ascii;
    }
    if (ascii == size) {
        out += size;
        return static_cast<std::uint32_t>(size);
    }
    out = text::writeAnsiImage(s.sliced(ascii), out + ascii);
    return static_cast<std::uint32_t>(ascii + utf8Length(s.sliced(ascii)));
}

// Every string's image, and its UTF-8 length in utf8Lengths.
StringImages imageStrings(const StringTable& table, std::vector<std::uint32_t>& utf8Lengths)
{
    const std::size_t count = table.count();
    StringImages measures;
    measures.imageEnds.resize(count);
    // One arena with room for the longest images. Each half writes from the
    // room its strings could take at most; the second half's images then
    // close up behind the first's.
    const auto perUnit = static_cast<std::size_t>(text::ansiImageBytesPerUnit());
    std::array<std::size_t, 2> halfUnits{};
    inTwoHalves(count, [&](const std::size_t begin, const std::size_t end) {
        std::size_t& units = halfUnits[begin == 0 ? 0 : 1];
        for (std::size_t k = begin; k < end; ++k)
            units += static_cast<std::size_t>(table.at(k).size());
    });
    const std::size_t units = halfUnits[0] + halfUnits[1];
    // With room for a NUL a string besides, the arena can take the data
    // of a save whose UTF-8 is no longer than its images (see
    // Measured::spare).
    QByteArray images(static_cast<qsizetype>(units * perUnit + count + 1), Qt::Uninitialized);
    char* const base = images.data();
    struct Half {
        std::size_t first = 0;
        std::size_t start = 0; // bytes
        std::size_t end = 0;
    };
    Half halves[2];
    inTwoHalves(count, [&](const std::size_t begin, const std::size_t end) {
        Half& half = halves[begin == 0 ? 0 : 1];
        half = Half{begin, (begin == 0 ? 0 : halfUnits[0]) * perUnit, 0};
        char* out = base + half.start;
        for (std::size_t k = begin; k < end; ++k) {
            utf8Lengths[k] = measureString(table.at(k), out);
            measures.imageEnds[k] = static_cast<std::uint32_t>(out - base);
        }
        half.end = static_cast<std::size_t>(out - base);
    });
    std::size_t size = halves[0].end;
    if (halves[1].first > 0) {
        const std::size_t shift = halves[1].start - halves[0].end;
        std::memmove(base + halves[0].end, base + halves[1].start, halves[1].end - halves[1].start);
        for (std::size_t k = halves[1].first; k < count; ++k)
            measures.imageEnds[k] -= static_cast<std::uint32_t>(shift);
        size = halves[1].end - shift;
    }
    images.resize(static_cast<qsizetype>(size));
    measures.images = std::move(images);
    return measures;
}

// A text's image made in a buffer of its own, for comparing texts one pair
// at a time; its UTF-8 length on the way.
class ImageScratch {
public:
    QByteArrayView image(const QStringView text, std::uint32_t* utf8 = nullptr)
    {
        const auto room = text.size() * static_cast<qsizetype>(text::ansiImageBytesPerUnit());
        if (m_bytes.size() < room)
            m_bytes.resize(room);
        char* out = m_bytes.data();
        const std::uint32_t length = measureString(text, out);
        if (utf8)
            *utf8 = length;
        return {m_bytes.constData(), out - m_bytes.constData()};
    }

private:
    QByteArray m_bytes;
};

// Whether every unit of text is ASCII.
[[nodiscard]] bool isAscii(const QStringView text) noexcept
{
    char16_t any = 0;
    for (const QChar c : text)
        any |= c.unicode();
    return any < 0x80;
}

// The string table's order without sorting it, when the loaded file shows
// it: the texts that came from its string table lie in the pool in the
// order of their bytes in its data, which the save that wrote it sorted by
// image. When their images ascend strictly in that order, that is the one
// order every sort gives them, the list's quicksort included; the texts
// added since are sorted on their own and merged in. Gives nothing when that
// cannot be shown (a file sorted otherwise, two equal images, or many new
// texts), for the whole sort to decide. Fills utf8Lengths on the way, and
// orderIds with the ids of the strings in the order given.
std::optional<std::vector<std::int32_t>> orderFromLoadedTexts(const StringTable& table, const TextId loadedTexts,
    std::vector<std::uint32_t>& utf8Lengths, std::vector<TextId>& orderIds)
{
    const std::size_t count = table.count();
    const auto end = static_cast<TextId>(std::min<std::size_t>(loadedTexts, table.pool->size()));
    // The check first, over the pool's texts that the table holds, in the
    // pool's order (front to back): it fails at once on a file sorted some
    // other way.
    std::atomic<bool> ascending = true;
    inTwoHalves(end, [&](const std::size_t begin, const std::size_t last) {
        // Texts of ASCII alone are their own images: their code units'
        // order is their images' order. Any other pair is imaged first.
        ImageScratch scratch[2];
        std::size_t before = begin;
        while (before > 1 && table.indexOf(static_cast<TextId>(before - 1)) < 1)
            --before;
        QStringView previous = before > 1 ? table.pool->view(static_cast<TextId>(before - 1)) : QStringView();
        bool havePrevious = before > 1;
        bool previousAscii = isAscii(previous);
        for (std::size_t id = std::max<std::size_t>(begin, 1); id < last; ++id) {
            const std::int32_t k = table.indexOf(static_cast<TextId>(id));
            if (k < 1)
                continue;
            if (!ascending.load(std::memory_order_relaxed))
                return;
            const QStringView text = table.pool->view(static_cast<TextId>(id));
            const bool ascii = isAscii(text);
            utf8Lengths[static_cast<std::size_t>(k)]
                = static_cast<std::uint32_t>(ascii ? text.size() : utf8Length(text));
            if (havePrevious) {
                const int order = ascii && previousAscii
                                    ? previous.compare(text)
                                    : text::CompareAnsiOrdinal(scratch[0].image(previous), scratch[1].image(text));
                if (order >= 0)
                    ascending = false;
            }
            previous = text;
            previousAscii = ascii;
            havePrevious = true;
        }
    });
    if (!ascending)
        return std::nullopt;

    std::vector<std::int32_t> loaded;
    std::vector<TextId> loadedIds; // beside loaded, so that the pool is read front to back
    loaded.reserve(count);
    loadedIds.reserve(count);
    std::vector<bool> covered(count, false);
    for (TextId id = 1; id < end; ++id) {
        const std::int32_t k = table.indexOf(id);
        if (k >= 1) {
            loaded.push_back(k);
            loadedIds.push_back(id);
            covered[static_cast<std::size_t>(k)] = true;
        }
    }
    std::vector<std::int32_t> added;
    for (std::size_t k = 1; k < count; ++k) {
        if (!covered[k])
            added.push_back(static_cast<std::int32_t>(k));
    }
    // Past a few new texts the whole sort costs no more than this.
    if (added.size() > count / 8 + 64)
        return std::nullopt;
    const auto textAt = [&](const std::int32_t k) { return table.at(static_cast<std::size_t>(k)); };
    if (added.empty()) {
        orderIds = std::move(loadedIds);
        return loaded;
    }

    QByteArray addedImages;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans; // per added text: start, length
    spans.reserve(added.size());
    ImageScratch scratch;
    for (const std::int32_t k : added) {
        const QByteArrayView image = scratch.image(textAt(k), &utf8Lengths[static_cast<std::size_t>(k)]);
        spans.emplace_back(static_cast<std::uint32_t>(addedImages.size()), static_cast<std::uint32_t>(image.size()));
        addedImages += image;
    }
    const auto addedImage
        = [&](const std::size_t i) { return QByteArrayView(addedImages).sliced(spans[i].first, spans[i].second); };
    std::vector<std::size_t> addedOrder(added.size());
    std::iota(addedOrder.begin(), addedOrder.end(), std::size_t{0});
    std::sort(addedOrder.begin(), addedOrder.end(), [&](const std::size_t a, const std::size_t b) {
        return text::CompareAnsiOrdinal(addedImage(a), addedImage(b)) < 0;
    });
    for (std::size_t i = 1; i < addedOrder.size(); ++i) {
        if (text::CompareAnsiOrdinal(addedImage(addedOrder[i - 1]), addedImage(addedOrder[i])) == 0)
            return std::nullopt;
    }

    std::vector<std::int32_t> order;
    order.reserve(count - 1);
    orderIds.clear();
    orderIds.reserve(count - 1);
    std::size_t next = 0;
    for (const std::size_t a : addedOrder) {
        const QByteArrayView image = addedImage(a);
        // The first loaded text whose image is above the added one's.
        std::size_t low = next;
        std::size_t high = loaded.size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            const int side = text::CompareAnsiOrdinal(scratch.image(textAt(loaded[middle])), image);
            if (side == 0)
                return std::nullopt;
            if (side < 0)
                low = middle + 1;
            else
                high = middle;
        }
        order.insert(order.end(), loaded.begin() + static_cast<std::ptrdiff_t>(next),
            loaded.begin() + static_cast<std::ptrdiff_t>(low));
        orderIds.insert(orderIds.end(), loadedIds.begin() + static_cast<std::ptrdiff_t>(next),
            loadedIds.begin() + static_cast<std::ptrdiff_t>(low));
        order.push_back(added[a]);
        orderIds.push_back(table.ids[static_cast<std::size_t>(added[a])]);
        next = low;
    }
    order.insert(order.end(), loaded.begin() + static_cast<std::ptrdiff_t>(next), loaded.end());
    orderIds.insert(orderIds.end(), loadedIds.begin() + static_cast<std::ptrdiff_t>(next), loadedIds.end());
    return order;
}

// The row of each entry number (the first row whose number cell is exactly
// its decimal text) and the number each row was matched by (0 for none).
struct EntryNumbers {
    std::vector<int> rowOfNumber;
    std::vector<std::uint32_t> numberOfRow;
};

EntryNumbers matchEntryNumbers(const EntryTable& entries)
{
    const int gridRows = entries.gridRowCount();
    EntryNumbers numbers{
        std::vector<int>(static_cast<std::size_t>(gridRows), -1), std::vector<std::uint32_t>(entries.rows.size(), 0)};
    for (std::size_t row = 0; row < entries.rows.size(); ++row) {
        // A number kept as text is never a plain decimal (the table keeps
        // those as values), so no entry is found by it.
        const EntryRow& record = entries.rows[row];
        const int number
            = !record.numberIsText() && record.number >= 1 && record.number < static_cast<std::uint32_t>(gridRows)
                ? static_cast<int>(record.number)
                : -1;
        if (number > 0 && numbers.rowOfNumber[static_cast<std::size_t>(number)] < 0) {
            numbers.rowOfNumber[static_cast<std::size_t>(number)] = static_cast<int>(row);
            numbers.numberOfRow[row] = static_cast<std::uint32_t>(number);
        }
    }
    return numbers;
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

// The whole file measured: every string placed, every container placed.
struct Measured {
    StringTable strings;
    std::vector<std::uint32_t> utf8Lengths{};
    std::vector<std::int32_t> order{}; // the list indices 1 .. count - 1 as the data lays them out
    // The strings' ids in the order of order when the loaded file gave it:
    // the pool holds them in that order.
    std::vector<TextId> orderIds{};
    qsizetype dataSize = 1; // a NUL, then each string's bytes and NUL
    std::vector<std::uint32_t> dataOffsets{};
    EntryNumbers numbers{};
    qsizetype stringTable = 0;
    qsizetype offsetsStart = 0;
    qsizetype dataStart = 0;
    ContainerPlaces places{};
    // The sort's arena once the sort is done: memory already in hand for
    // the data when it fits, rather than a fresh buffer the size of it.
    QByteArray spare{};
};

// Each string's offset in data, and the data's size: the data lays the
// strings out in the sorted order of their images, while the offsets stay in
// list order.
void placeStrings(Measured& m, const Progress& progress)
{
    m.dataOffsets.assign(m.utf8Lengths.size(), 0);
    const auto sortedCount = static_cast<qint64>(m.order.size());
    qsizetype running = 1;
    for (qint64 i = 0; i < sortedCount; ++i) {
        // The slots lie scattered: each is fetched some steps ahead.
        if (i + static_cast<qint64>(PrefetchAhead) < sortedCount) {
            const auto ahead = static_cast<std::size_t>(m.order[static_cast<std::size_t>(i) + PrefetchAhead]);
            __builtin_prefetch(&m.utf8Lengths[ahead]);
            __builtin_prefetch(&m.dataOffsets[ahead], 1);
        }
        const auto slot = static_cast<std::size_t>(m.order[static_cast<std::size_t>(i)]);
        m.dataOffsets[slot] = static_cast<std::uint32_t>(running);
        running += m.utf8Lengths[slot] + 1;
        progress.step(i, sortedCount, 20, 20);
    }
    m.dataSize = running;
}

// The order of the table's strings in the data (the list indices 1 .. count
// - 1 as the list's quicksort leaves them when it compares ANSI images
// bytewise) and every string's UTF-8 length: the loaded file's order when it
// holds, otherwise the whole sort, over canonical ids.
void settleStringOrder(Measured& m, const EntryTable& entries, const QString& kept)
{
    m.utf8Lengths.assign(m.strings.count(), 0);
    if (std::optional<std::vector<std::int32_t>> order
        = orderFromLoadedTexts(m.strings, entries.loadedTexts, m.utf8Lengths, m.orderIds)) {
        m.order = *std::move(order);
        return;
    }
    m.orderIds.clear();
    const auto sorted = [&m](StringImages images, const auto& sort) {
        auto order = sort(reinterpret_cast<const unsigned char*>(images.images.constData()), images.imageEnds);
        m.spare = std::move(images.images);
        return order;
    };
    if (!m.strings.canonical) {
        // Strings whose images are all different are all different: the
        // table rebuilt by ids alone is then the one canonical ids give, and
        // the pool needs no index.
        if (std::optional<std::vector<std::int32_t>> order
            = sorted(imageStrings(m.strings, m.utf8Lengths), distinctImagesOrder)) {
            m.order = *std::move(order);
            return;
        }
        entries.texts.ensureIndexed();
        m.strings = rebuildStrings(entries, kept);
        m.utf8Lengths.assign(m.strings.count(), 0);
    }
    m.order = sorted(imageStrings(m.strings, m.utf8Lengths), stringTableOrder);
}

Measured measure(const EntryTable& entries, const LanguageModel& model, const Progress& progress)
{
    // The list is still unchanged when it has no string 1 to keep.
    if (model.StringList.count < 2)
        throw text::ListIndexError(1);
    // The entry numbers are matched on a thread of their own meanwhile.
    std::optional<StringTable> rebuilt;
    EntryNumbers numbers;
    const auto rebuild = [&] { rebuilt.emplace(rebuildStrings(entries, model.StringList.second)); };
    const auto match = [&] { numbers = matchEntryNumbers(entries); };
    bothAtOnceIf(worthTwoThreads(entries.rows.size()), rebuild, match);
    Measured m{.strings = *std::move(rebuilt), .numbers = std::move(numbers)};
    settleStringOrder(m, entries, model.StringList.second);
    // The rebuild's positions do not depend on the texts: they are reported
    // once the rebuild is final (settling may have to redo it).
    const int gridRows = entries.gridRowCount();
    for (std::size_t row = 0; row < entries.rows.size(); ++row)
        progress.step(static_cast<qint64>(row) + 1, gridRows, 20, 0);
    placeStrings(m, progress);

    // Exact sizes. The data bank's size counts the numbers the rows were
    // matched by; a row left unmatched means a number is missing and the
    // save stops before the data bank is written.
    const std::size_t rows = entries.rows.size();
    qsizetype stringResourceBytes = 0;
    qsizetype dataBankBytes = layout::MagicContainer.size() + layout::DataBankReservedSize
                            + varintLength(static_cast<std::uint32_t>(rows)) + layout::DataBankTrailer;
    for (std::size_t row = 0; row < rows; ++row) {
        if (row + PrefetchAhead < rows)
            m.strings.prefetchIndexOf(entries.rows[row + PrefetchAhead]);
        const EntryRow& record = entries.rows[row];
        stringResourceBytes
            += stringResourceSize(m.strings.indexOfText(record.text), m.strings.indexOfText(record.name));
        dataBankBytes += varintLength(m.numbers.numberOfRow[row]);
    }
    const auto typeCount = static_cast<qsizetype>(model.TypeTable.size());
    m.stringTable = layout::typeTableEnd(typeCount) + 2 * layout::ChunkSize;
    m.offsetsStart = m.stringTable + layout::StringTableHeaderSize;
    m.dataStart = m.offsetsStart + 4 * static_cast<qsizetype>(m.strings.count());
    m.places = placeContainers(
        model, m.dataStart + m.dataSize, static_cast<qsizetype>(rows), stringResourceBytes, dataBankBytes);
    return m;
}

// Header, type table, GUID and SCHM chunks: everything before the string
// table.
void writeHeader(ImageOut& out, const LanguageModel& model, const Measured& m)
{
    QByteArray header(m.stringTable, '\0');
    char* const base = header.data();
    const auto typeCount = static_cast<qsizetype>(model.TypeTable.size());
    putMagic(base, layout::MagicFile);
    base[layout::VersionLastByteOffset] = layout::VersionLastByte;
    putU32(base + layout::TypeCountOffset, static_cast<std::uint32_t>(typeCount));
    const auto containerCount = static_cast<std::uint32_t>(m.places.containerCount);
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

// The string table: count, data size, the offsets in list order, then the
// data, in two halves, one on a thread of its own. The strings are taken in
// the pool's order, so that the pool is read front to back.
void writeStringTable(ImageOut& out, Measured& m)
{
    const std::size_t stringCount = m.strings.count();
    ImageOut::Run offsets(out, m.stringTable);
    char* at = putMagic(offsets.room(layout::StringTableHeaderSize), layout::MagicStrings);
    putU32(at, static_cast<std::uint32_t>(stringCount));
    putU32(at + 4, static_cast<std::uint32_t>(m.dataSize));
    offsets.advance(at + 8);
    for (std::size_t k = 0; k < stringCount; ++k) {
        at = offsets.room(4);
        putU32(at, m.dataOffsets[k]);
        offsets.advance(at + 4);
    }
    offsets.finish();
    if (m.orderIds.empty()) {
        // In sorted order the strings lie scattered over the pool: they are
        // taken in list order, the pool's, and placed at their offsets.
        ImageOut::Block data(out, m.dataStart, m.dataSize, std::move(m.spare));
        // The strings and their NULs cover the data but for its first NUL.
        data.data()[0] = '\0';
        inTwoHalves(stringCount, [&](const std::size_t begin, const std::size_t end) {
            for (std::size_t k = std::max<std::size_t>(begin, 1); k < end; ++k)
                *writeUtf8(m.strings.at(k), data.data() + m.dataOffsets[k]) = '\0';
        });
        data.finish();
        return;
    }
    // The pool's order is the data's: each string follows the previous
    // one's NUL, the data written front to back in two halves.
    inTwoHalves(m.order.size(), [&](const std::size_t begin, const std::size_t end) {
        if (begin == end)
            return;
        ImageOut::Run data(out, m.dataStart + m.dataOffsets[static_cast<std::size_t>(m.order[begin])]);
        for (std::size_t p = begin; p < end; ++p) {
            const QStringView text = m.strings.textOf(m.orderIds[p]);
            // A UTF-16 unit takes at most three bytes of UTF-8.
            data.advance(writeUtf8(text, data.room(3 * static_cast<std::size_t>(text.size()) + 1)) + 1);
        }
        data.finish();
    });
}

// Throws ListIndexError(-1) when an entry number 1 .. n has no row.
void requireEveryNumber(const EntryTable& entries, const Measured& m)
{
    const int gridRows = entries.gridRowCount();
    for (int k = 1; k < gridRows; ++k) {
        if (m.numbers.rowOfNumber[static_cast<std::size_t>(k)] < 0)
            throw text::ListIndexError(-1);
    }
}

// The largest string resource container: two indices of five bytes.
constexpr std::size_t LargestStringResource
    = layout::MagicContainer.size() + layout::StringResourceReservedSize + 10 + layout::StringResourceTrailer;

// One string resource container per entry number, in number order; every
// number has its row (requireEveryNumber).
void writeStringResources(ImageOut& out, const EntryTable& entries, const Measured& m, const Progress& progress)
{
    const int gridRows = entries.gridRowCount();
    ImageOut::Run run(out, m.places.stringResources);
    for (int k = 1; k < gridRows; ++k) {
        if (k + static_cast<int>(PrefetchAhead) < gridRows) {
            const int ahead = m.numbers.rowOfNumber[static_cast<std::size_t>(k) + PrefetchAhead];
            m.strings.prefetchIndexOf(entries.rows[static_cast<std::size_t>(ahead)]);
        }
        const int row = m.numbers.rowOfNumber[static_cast<std::size_t>(k)];
        const EntryRow& record = entries.rows[static_cast<std::size_t>(row)];
        char* at
            = putMagic(run.room(LargestStringResource), layout::MagicContainer) + layout::StringResourceReservedSize;
        at = WriteVarint(at, static_cast<std::uint32_t>(m.strings.indexOfText(record.text)));
        at = WriteVarint(at, static_cast<std::uint32_t>(m.strings.indexOfText(record.name)));
        run.advance(at + layout::StringResourceTrailer);
        progress.step(k, gridRows, 50, 40);
    }
    run.finish();
}

// The data bank: the entry numbers in row order. Each of the n numbers
// found its own row before (requireEveryNumber), so every number cell is
// a plain decimal by now; one that were not would be parsed as the number
// it writes (ConvertError when it is none).
void writeDataBank(ImageOut& out, const EntryTable& entries, const Measured& m, const Progress& progress)
{
    const int gridRows = entries.gridRowCount();
    ImageOut::Run run(out, m.places.dataBank);
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
void writeImage(
    ImageOut& out, const EntryTable& entries, const LanguageModel& model, Measured& m, const Progress& progress)
{
    writeHeader(out, model, m);
    const auto strings = [&] { writeStringTable(out, m); };
    const auto containers = [&] {
        writeStringResources(out, entries, m, progress);
        writeDataBank(out, entries, m, progress);
    };
    bothAtOnceIf(worthTwoThreads(entries.rows.size()), containers, strings);
    writeOtherContainers(out, model, m.places);
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

// What the model keeps of the string table a save wrote.
StringListSummary summaryOf(const StringTable& strings)
{
    StringListSummary summary;
    summary.count = static_cast<int>(strings.count());
    summary.second = strings.at(1).toString();
    summary.lastButOne = strings.at(strings.count() - 2).toString();
    summary.last = strings.at(strings.count() - 1).toString();
    return summary;
}

// Measures the file and records its string list in the model.
Measured measureAndRecord(const EntryTable& entries, LanguageModel& model, const Progress& progress)
{
    progress.set(0);
    Measured m = measure(entries, model, progress);
    model.StringList = summaryOf(m.strings);
    requireEveryNumber(entries, m);
    return m;
}

} // namespace

QByteArray buildLanguageImage(const EntryTable& entries, LanguageModel& model, const ProgressReport& report)
{
    const Progress progress(report);
    Measured m = measureAndRecord(entries, model, progress);
    QByteArray image(m.places.end, '\0');
    ImageOut out(image.data(), image.size());
    writeImage(out, entries, model, m, progress);
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
    const Progress progress(report);
    Measured m = measureAndRecord(entries, model, progress);
    model.FileSize = static_cast<qint32>(std::min<qsizetype>(m.places.end, std::numeric_limits<qint32>::max()));
    AtomicFile file(path);
    ImageOut out(*file, m.places.end);
    writeImage(out, entries, model, m, progress);
    progress.set(100);
    file.commit();
}

} // namespace xom
