#include "xom/TextPool.h"

#include "xom/Parallel.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace xom {

TextPool::TextPool()
    : m_starts{0, 0}
{
    const std::uint32_t hash = TextIndex::hashOf(QStringView());
    indexFor(hash).addIfAbsent(QStringView(), hash, static_cast<int>(EmptyText), textAt());
    m_indexedUpTo = 1;
}

TextId TextPool::intern(const QStringView text)
{
    if (const std::optional<TextId> id = find(text))
        return *id;
    // A view of part of the pool's own units would move with them.
    const std::less<const char16_t*> before;
    const auto* const first = reinterpret_cast<const char16_t*>(text.utf16());
    if (!text.isEmpty() && !before(first, m_units.data()) && before(first, m_units.data() + m_units.size()))
        return intern(text.toString());
    char16_t* const units = beginText(static_cast<std::size_t>(text.size()));
    if (!text.isEmpty())
        std::memcpy(units, text.utf16(), static_cast<std::size_t>(text.size()) * sizeof(char16_t));
    return endText(static_cast<std::size_t>(text.size()));
}

std::optional<TextId> TextPool::find(const QStringView text) const
{
    ensureIndexed();
    const std::uint32_t hash = TextIndex::hashOf(text);
    const int id = indexFor(hash).find(text, hash, textAt());
    if (id < 0)
        return std::nullopt;
    return static_cast<TextId>(id);
}

std::array<TextPool::LoadRun, 2> TextPool::beginLoad(const LoadRunSize first, const LoadRunSize second)
{
    const auto firstId = static_cast<TextId>(size());
    const std::uint64_t base = m_starts.back();
    const bool filler = second.texts > 0;
    const auto secondId = static_cast<TextId>(firstId + first.texts + (filler ? 1 : 0));
    m_units.resize(static_cast<std::size_t>(base) + first.units + second.units);
    m_starts.resize(m_starts.size() + first.texts + (filler ? 1 + second.texts : 0));
    if (filler)
        m_starts[secondId] = base + first.units;
    const auto runOf = [&](const TextId id, const LoadRunSize size, const std::uint64_t start) {
        LoadRun run;
        run.m_units = m_units.data();
        run.m_next = m_units.data() + start;
        run.m_limit = run.m_next + size.units;
        run.m_ends = m_starts.data() + id + 1;
        run.m_id = id;
        run.m_endId = static_cast<TextId>(id + size.texts);
        return run;
    };
    return {runOf(firstId, first, base), runOf(secondId, second, base + first.units)};
}

void TextPool::endLoad(const std::array<LoadRun, 2>& runs)
{
    for (const LoadRun& run : runs)
        Q_ASSERT(run.m_id == run.m_endId && run.m_next <= run.m_limit);
    // Without a second run's texts there is no filler: the pool ends with
    // the first run.
    if (size() == runs[0].m_endId) {
        m_units.resize(static_cast<std::size_t>(runs[0].m_next - m_units.data()));
        return;
    }
    std::fill(runs[0].m_next, runs[0].m_limit, u'\0');
    m_units.resize(static_cast<std::size_t>(runs[1].m_next - m_units.data()));
}

char16_t* TextPool::beginText(const std::size_t maxUnits)
{
    const std::size_t start = m_units.size();
    // The vector grows geometrically: resize alone would copy the pool for
    // every text a load writes past a reserve that fell short.
    if (start + maxUnits > m_units.capacity())
        m_units.reserve(std::max(start + maxUnits, 2 * m_units.capacity()));
    m_units.resize(start + maxUnits);
    return m_units.data() + start;
}

void TextPool::ensureIndexed() const
{
    if (indexed())
        return;
    const std::size_t first = m_indexedUpTo;
    const std::size_t count = size() - first;
    // Each index takes about half the texts: the margin covers the chance
    // difference between the halves without doubling a power-of-two table.
    for (TextIndex& index : m_indexes)
        index.reserve(size() / 2 + size() / 64);
    std::vector<std::uint32_t> hashes(count);
    inTwoHalves(count, [&](const std::size_t begin, const std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            hashes[i] = TextIndex::hashOf(view(static_cast<TextId>(first + i)));
    });
    // Each index takes its texts in id order, so the first of equal texts is
    // the one it keeps; the lookups are fetched a few texts ahead. A text
    // found under an earlier id is recorded as that id's.
    std::vector<std::pair<TextId, TextId>> repeated[2];
    const auto fill = [&](const std::uint32_t half) {
        TextIndex& index = m_indexes[half];
        constexpr std::size_t Ahead = 16;
        for (std::size_t i = 0; i < count; ++i) {
            if (i + Ahead < count && (hashes[i + Ahead] >> 31) == half)
                index.prefetch(hashes[i + Ahead]);
            if ((hashes[i] >> 31) != half)
                continue;
            const auto id = static_cast<int>(first + i);
            const int found = index.addIfAbsent(view(static_cast<TextId>(id)), hashes[i], id, textAt());
            if (found != id)
                repeated[half].emplace_back(static_cast<TextId>(id), static_cast<TextId>(found));
        }
    };
    bothAtOnceIf(
        worthTwoThreads(count), [&] { fill(0); }, [&] { fill(1); });
    if (!repeated[0].empty() || !repeated[1].empty()) {
        const std::size_t before = m_firstEqual.size();
        m_firstEqual.resize(size());
        for (std::size_t id = before; id < size(); ++id)
            m_firstEqual[id] = static_cast<TextId>(id);
        for (const auto& pairs : repeated) {
            for (const auto& [id, firstId] : pairs)
                m_firstEqual[id] = firstId;
        }
    }
    m_indexedUpTo = size();
}

TextId TextPool::endText(const std::size_t unitsWritten)
{
    ensureIndexed();
    const std::uint64_t start = m_starts.back();
    m_units.resize(start + unitsWritten);
    const auto candidate = static_cast<TextId>(size());
    m_starts.push_back(m_units.size());
    const QStringView text = view(candidate);
    const std::uint32_t hash = TextIndex::hashOf(text);
    const int id = indexFor(hash).addIfAbsent(text, hash, static_cast<int>(candidate), textAt());
    if (id != static_cast<int>(candidate)) {
        m_starts.pop_back();
        m_units.resize(start);
    } else {
        m_indexedUpTo = size();
    }
    return static_cast<TextId>(id);
}

} // namespace xom
