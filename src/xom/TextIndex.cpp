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
    return static_cast<std::uint32_t>(qHash(text, 0x5EED));
}

TextIndex::TextIndex(const std::size_t expectedTexts)
    : m_slots(capacityFor(expectedTexts))
    , m_mask(m_slots.size() - 1)
{
}

int TextIndex::addIfAbsent(const QString& text, const std::uint32_t hash, std::vector<QString>& texts)
{
    std::size_t i = probeStart(hash);
    for (;; i = (i + 1) & m_mask) {
        const Slot& slot = m_slots[i];
        if (slot.position < 0)
            break;
        if (slot.hash == hash && texts[static_cast<std::size_t>(slot.position)] == text)
            return slot.position;
    }
    const auto position = static_cast<std::int32_t>(texts.size());
    texts.push_back(text);
    m_slots[i] = Slot{hash, position};
    if (++m_used * 2 > m_slots.size())
        grow();
    return position;
}

void TextIndex::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
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
