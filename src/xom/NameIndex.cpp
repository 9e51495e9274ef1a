#include "xom/NameIndex.h"

#include <QHashFunctions>

namespace xom {

namespace {

// A fixed seed of 0 with the halves folded: the index lives in one process
// and is never stored, and this is the cheapest of Qt's string hashes.
[[nodiscard]] std::uint32_t hashOfName(const QString& name) noexcept
{
    const std::size_t hash = qHash(QStringView(name), std::size_t{0});
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

// The name of a row, as the index reads a recorded position.
[[nodiscard]] auto namesOf(const EntryTable& table)
{
    return [&table](const int row) -> const QString& { return table.rows[static_cast<std::size_t>(row)].name; };
}

} // namespace

NameIndex::NameIndex(const EntryTable& table)
    : m_index(table.rows.size())
{
    const auto nameAt = namesOf(table);
    for (int row = 0; row < table.entryCount(); ++row) {
        const QString& name = nameAt(row);
        // An earlier row of the same name keeps its place.
        m_index.addIfAbsent(name, hashOfName(name), row, nameAt);
    }
}

int NameIndex::find(const EntryTable& table, const QString& name) const
{
    return m_index.find(name, hashOfName(name), namesOf(table));
}

} // namespace xom
