#include "xom/NameIndex.h"

#include <QHashFunctions>

#include <algorithm>
#include <bit>

namespace xom {

namespace {

[[nodiscard]] const QString& nameOfRow(const EntryTable& table, const std::int32_t row)
{
    return table.rows[static_cast<std::size_t>(row)].name;
}

} // namespace

std::uint32_t NameIndex::hashOf(const QString& name) noexcept
{
    // A fixed seed: the index lives in one process and is never stored.
    const std::size_t hash = qHash(QStringView(name), std::size_t{0});
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

NameIndex::NameIndex(const EntryTable& table)
{
    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(16, table.rows.size() * 2));
    m_slots.resize(capacity);
    m_mask = capacity - 1;
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const QString& name = table.rows[row].name;
        const std::uint32_t hash = hashOf(name);
        std::size_t at = hash & m_mask;
        // Linear probing up to an empty slot; an earlier row of the same
        // name keeps its slot.
        while (m_slots[at].row >= 0 && !(m_slots[at].hash == hash && nameOfRow(table, m_slots[at].row) == name))
            at = (at + 1) & m_mask;
        if (m_slots[at].row < 0)
            m_slots[at] = {hash, static_cast<std::int32_t>(row)};
    }
}

int NameIndex::find(const EntryTable& table, const QString& name) const
{
    if (m_slots.empty())
        return -1;
    const std::uint32_t hash = hashOf(name);
    for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
        const Slot& slot = m_slots[at];
        if (slot.row < 0)
            return -1;
        if (slot.hash == hash && nameOfRow(table, slot.row) == name)
            return slot.row;
    }
}

} // namespace xom
