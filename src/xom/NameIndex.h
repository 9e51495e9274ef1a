#pragma once

#include "xom/EntryTable.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace xom {

// The first row of each name in an entry table, found in about one probe.
//
// An open-addressing table of (hash, row) pairs at most half full: a probe
// compares stored hashes and reads a name only when the hashes agree, so a
// lookup in a table of a million names touches one name besides its own.
// It keeps no pointer into the table; rows index the table it was built
// from, which must hold the same names whenever it is asked.
class NameIndex {
public:
    NameIndex() = default;
    explicit NameIndex(const EntryTable& table);

    // The first row of table whose name is exactly name; -1 when none.
    [[nodiscard]] int find(const EntryTable& table, const QString& name) const;

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t row = -1;
    };

    [[nodiscard]] static std::uint32_t hashOf(const QString& name) noexcept;

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

} // namespace xom
