#include "EntryTable.h"

#include <algorithm>

namespace xom {

const QString& Entry::cell(const int column) const
{
    switch (column) {
    case MarkColumn:
        return mark;
    case NumberColumn:
        return number;
    case NameColumn:
        return name;
    default:
        return text;
    }
}

QString& Entry::cell(const int column)
{
    return const_cast<QString&>(static_cast<const Entry&>(*this).cell(column));
}

const std::array<QString, ColumnCount>& EntryTable::headerTexts()
{
    static const std::array<QString, ColumnCount> texts{
        QStringLiteral("x"), QString(QChar(0x2116)), QStringLiteral("Name"), QStringLiteral("Text")};
    return texts;
}

const QString& EntryTable::gridCell(const int gridRow, const int column) const
{
    if (gridRow == 0)
        return headerTexts()[static_cast<std::size_t>(column)];
    return rows[static_cast<std::size_t>(gridRow - 1)].cell(column);
}

qsizetype EntryTable::longestNumberLength() const noexcept
{
    qsizetype longest = 0;
    for (const Entry& entry : rows)
        longest = std::max(longest, entry.number.size());
    return longest;
}

} // namespace xom
