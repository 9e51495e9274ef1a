#pragma once

#include "text/CompilerHints.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace xom {

// Finds the first position of a text among texts added in order, by exact
// code units: two texts are one only when they are the same code units, so
// texts that a collation holds equal (differing in control codes, zero-width
// characters or composed accents) stay apart. Open addressing over positions,
// with each text's hash kept beside it.
class TextIndex {
public:
    explicit TextIndex(std::size_t expectedTexts = 0);

    // Over texts kept elsewhere: textAt(p) gives the text recorded at
    // position p. Records position for text unless text has one already,
    // and gives the position text has afterwards.
    template <typename TextAt>
    int addIfAbsent(const QStringView text, const std::uint32_t hash, const int position, const TextAt& textAt)
    {
        Slot& slot = m_slots[slotOf(text, hash, textAt)];
        if (slot.position >= 0)
            return slot.position;
        slot = Slot{hash, position};
        if (++m_used * 2 > m_slots.size())
            grow();
        return position;
    }
    // The first position recorded for text, or -1.
    template <typename TextAt>
    [[nodiscard]] int find(const QStringView text, const std::uint32_t hash, const TextAt& textAt) const
    {
        return m_slots[slotOf(text, hash, textAt)].position;
    }

    // Room for texts positions in all without growing.
    void reserve(std::size_t texts);

    [[nodiscard]] static std::uint32_t hashOf(QStringView text) noexcept;
    // Asks for the memory where a text of this hash is looked up first, so
    // that a batch of lookups waits for memory once rather than each in turn.
    void prefetch(const std::uint32_t hash) const noexcept { text::prefetchForRead(&m_slots[probeStart(hash)]); }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t position = -1;
    };

    [[nodiscard]] std::size_t probeStart(std::uint32_t hash) const noexcept { return hash & m_mask; }
    // The slot that holds text, or the empty slot where it would go.
    template <typename TextAt>
    [[nodiscard]] std::size_t slotOf(const QStringView text, const std::uint32_t hash, const TextAt& textAt) const
    {
        for (std::size_t i = probeStart(hash);; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.position < 0 || (slot.hash == hash && textAt(slot.position) == text))
                return i;
        }
    }
    void grow() { rehash(m_slots.size() * 2); }
    void rehash(std::size_t slotCount);

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

} // namespace xom
