#include "xom/NameIndex.h"

namespace xom {

NameIndex::NameIndex(const EntryTable& table)
    : m_firstRowOfId(table.texts.size(), -1)
{
    table.texts.ensureIndexed();
    // Backwards, so that an earlier row of the same name has the last word.
    for (int row = table.entryCount() - 1; row >= 0; --row)
        m_firstRowOfId[table.texts.canonical(table.rows[static_cast<std::size_t>(row)].name)] = row;
}

int NameIndex::find(const EntryTable& table, const QStringView name) const
{
    const std::optional<TextId> id = table.texts.find(name);
    if (!id || *id >= m_firstRowOfId.size())
        return -1;
    return m_firstRowOfId[*id];
}

} // namespace xom
