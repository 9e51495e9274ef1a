#include "xom/RowGroups.h"

#include <algorithm>

namespace xom {

void RowGroups::clear()
{
    m_first.clear();
    m_next.clear();
}

void RowGroups::join(const std::int32_t row, const std::uint32_t key)
{
    if (key == NoKey)
        return;
    if (key >= m_first.size())
        m_first.resize(std::max<std::size_t>(key + 1, m_first.size() * 3 / 2), -1);
    if (static_cast<std::size_t>(row) >= m_next.size())
        m_next.resize(std::max<std::size_t>(static_cast<std::size_t>(row) + 1, m_next.size() * 3 / 2), -1);
    m_next[static_cast<std::size_t>(row)] = m_first[key];
    m_first[key] = row;
}

void RowGroups::leave(const std::int32_t row, const std::uint32_t key)
{
    if (key == NoKey || key >= m_first.size())
        return;
    std::int32_t* link = &m_first[key];
    while (*link >= 0 && *link != row)
        link = &m_next[static_cast<std::size_t>(*link)];
    if (*link == row)
        *link = m_next[static_cast<std::size_t>(row)];
}

} // namespace xom
