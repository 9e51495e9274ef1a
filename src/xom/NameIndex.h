#pragma once

#include "xom/EntryTable.h"
#include "xom/TextIndex.h"

#include <QString>

namespace xom {

// The first row of each name in an entry table, found in about one probe of
// a TextIndex over the rows' names. It keeps no pointer into the table; rows
// index the table it was built from, which must hold the same names
// whenever it is asked.
class NameIndex {
public:
    NameIndex() = default;
    explicit NameIndex(const EntryTable& table);

    // The first row of table whose name is exactly name; -1 when none.
    [[nodiscard]] int find(const EntryTable& table, const QString& name) const;

private:
    TextIndex m_index;
};

} // namespace xom
