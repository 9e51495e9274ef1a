#pragma once

#include "xom/EntryTable.h"

#include <QStringView>

#include <optional>

namespace xom {

// Go to entry: the grid row of the entry a user names. A query of decimal
// digits (an optional "#" before them, spaces around) names the entry with
// that number; any other query, or a number no entry has, names the first
// entry in grid order whose name is the query, exactly, or failing that,
// through simple case folding. Nothing when no entry fits.
[[nodiscard]] std::optional<int> findEntryRow(const EntryTable& table, QStringView query);

// The first grid row, other than exceptGridRow, whose name is exactly name:
// the entry that a new or renamed entry would share its name with. Linear
// in the rows, comparing text ids.
[[nodiscard]] std::optional<int> otherRowNamed(const EntryTable& table, QStringView name, int exceptGridRow = 0);

} // namespace xom
