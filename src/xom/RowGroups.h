#pragma once

#include <cstdint>
#include <vector>

namespace xom {

// Rows grouped by a key (a text's id in a pool): each key's first row and
// each row's next in its group, so that a group is walked in the time of
// its own rows, and a row joins or leaves it without a search through the
// others. Keys and rows are small non-negative integers; the groups grow
// as larger ones come. A row is in at most one group.
class RowGroups {
public:
    static constexpr std::uint32_t NoKey = UINT32_MAX;

    // Empties every group.
    void clear();
    void join(std::int32_t row, std::uint32_t key);
    // Takes row out of key's group: a walk of the rows before it.
    void leave(std::int32_t row, std::uint32_t key);

    // Calls visit(row) for each row of key's group.
    template <typename Visit> void forEachRow(const std::uint32_t key, const Visit& visit) const
    {
        if (key >= m_first.size())
            return;
        for (std::int32_t row = m_first[key]; row >= 0; row = m_next[static_cast<std::size_t>(row)])
            visit(row);
    }
    // Calls visit(key) for each key whose group holds a row.
    template <typename Visit> void forEachKey(const Visit& visit) const
    {
        for (std::uint32_t key = 0; key < m_first.size(); ++key) {
            if (m_first[key] >= 0)
                visit(key);
        }
    }

private:
    std::vector<std::int32_t> m_first;
    std::vector<std::int32_t> m_next;
};

} // namespace xom
