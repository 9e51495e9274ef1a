#pragma once

#include "support/TextComparisons.h"

#include <QStringView>

namespace testsupport {

// The first grid row, counting the header row 0, whose cell in column equals
// text under CompareLocale with case ignored, or -1. Table is any grid
// with gridRowCount() and gridCell(row, column).
template <typename Table> [[nodiscard]] int findInColumn(const Table& table, const int column, const QStringView text)
{
    const int rows = table.gridRowCount();
    for (int row = 0; row < rows; ++row) {
        if (CompareLocale(table.gridCell(row, column), text, false) == 0)
            return row;
    }
    return -1;
}

} // namespace testsupport
