#include "xom/TextIndex.h"

#include <QHash>

#include <bit>

namespace xom {

namespace {

std::size_t capacityFor(const std::size_t texts)
{
    return std::bit_ceil(std::max<std::size_t>(16, texts * 2));
}

} // namespace

std::uint32_t TextIndex::hashOf(const QStringView text) noexcept
{
    // Both halves folded in: the low half alone collides thousands of times
    // more often than chance over a million texts.
    const std::size_t hash = qHash(text, 0x5EED);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

TextIndex::TextIndex(const std::size_t expectedTexts)
    : m_slots(capacityFor(expectedTexts))
    , m_mask(m_slots.size() - 1)
{
}

void TextIndex::reserve(const std::size_t texts)
{
    const std::size_t wanted = capacityFor(texts);
    if (wanted > m_slots.size())
        rehash(wanted);
}

void TextIndex::rehash(const std::size_t slotCount)
{
    std::vector<Slot> old(slotCount);
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.position < 0)
            continue;
        std::size_t i = probeStart(slot.hash);
        while (m_slots[i].position >= 0)
            i = (i + 1) & m_mask;
        m_slots[i] = slot;
    }
}

} // namespace xom
