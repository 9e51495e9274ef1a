#include "xom/TextPool.h"

#include "xom/Parallel.h"

#include <cstring>

namespace xom {

TextPool::TextPool()
    : m_starts{0, 0}
{
    m_index.addIfAbsent(QStringView(), TextIndex::hashOf(QStringView()), static_cast<int>(EmptyText), textAt());
}

TextId TextPool::intern(const QStringView text)
{
    if (const std::optional<TextId> id = find(text))
        return *id;
    char16_t* const units = beginText(static_cast<std::size_t>(text.size()));
    if (!text.isEmpty())
        std::memcpy(units, text.utf16(), static_cast<std::size_t>(text.size()) * sizeof(char16_t));
    return endText(static_cast<std::size_t>(text.size()));
}

std::optional<TextId> TextPool::find(const QStringView text) const
{
    const int id = m_index.find(text, TextIndex::hashOf(text), textAt());
    if (id < 0)
        return std::nullopt;
    return static_cast<TextId>(id);
}

void TextPool::reserve(const std::size_t texts, const std::size_t units)
{
    m_starts.reserve(m_starts.size() + texts);
    m_units.reserve(m_units.size() + units);
    m_index.reserve(size() + texts);
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

TextId TextPool::endTextUnindexed(const std::size_t unitsWritten)
{
    m_units.resize(m_starts.back() + unitsWritten);
    m_starts.push_back(m_units.size());
    return static_cast<TextId>(size() - 1);
}

std::vector<TextId> TextPool::indexTextsFrom(const TextId first)
{
    const std::size_t count = size() - first;
    std::vector<std::uint32_t> hashes(count);
    inTwoHalves(count, [&](const std::size_t begin, const std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            hashes[i] = TextIndex::hashOf(view(static_cast<TextId>(first + i)));
    });
    m_index.reserve(size());
    std::vector<TextId> ids(count);
    bool allTheirOwn = true;
    constexpr std::size_t Ahead = 16;
    for (std::size_t i = 0; i < count; ++i) {
        if (i + Ahead < count)
            m_index.prefetch(hashes[i + Ahead]);
        const auto id = static_cast<int>(first + i);
        ids[i] = static_cast<TextId>(m_index.addIfAbsent(view(static_cast<TextId>(id)), hashes[i], id, textAt()));
        allTheirOwn = allTheirOwn && ids[i] == static_cast<TextId>(id);
    }
    if (allTheirOwn)
        ids.clear();
    return ids;
}

TextId TextPool::endText(const std::size_t unitsWritten)
{
    const std::uint64_t start = m_starts.back();
    m_units.resize(start + unitsWritten);
    const auto candidate = static_cast<TextId>(size());
    m_starts.push_back(m_units.size());
    const QStringView text = view(candidate);
    const int id = m_index.addIfAbsent(text, TextIndex::hashOf(text), static_cast<int>(candidate), textAt());
    if (id != static_cast<int>(candidate)) {
        m_starts.pop_back();
        m_units.resize(start);
    }
    return static_cast<TextId>(id);
}

} // namespace xom
