#pragma once

#include "xom/EntryTable.h"

#include <QStringView>

#include <vector>

namespace xom {

// The first row of each name in an entry table, found by the name's id in
// the table's pool. It keeps no pointer into the table; rows index the table
// it was built from, which must hold the same names whenever it is asked.
class NameIndex {
public:
    NameIndex() = default;
    explicit NameIndex(const EntryTable& table);

    // The first row of table whose name is exactly name; -1 when none.
    [[nodiscard]] int find(const EntryTable& table, QStringView name) const;

private:
    std::vector<std::int32_t> m_firstRowOfId;
};

} // namespace xom
