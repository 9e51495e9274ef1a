#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

#include <QByteArray>

#include <vector>

// Straightforward transcriptions of the editor's row-copy procedures and of
// the save, step by step and as slow as they are, against which the fast
// operations are checked. Strings are one string of the table only when they
// are the same code units, as in the editor.
namespace literal {

// Rows 0 .. R - 1 of four cells each, row 0 the header.
using Grid = std::vector<std::array<QString, 4>>;

[[nodiscard]] Grid gridOf(const xom::EntryTable& table);
[[nodiscard]] xom::EntryTable tableOf(const Grid& grid);

void moveDown(Grid& grid);
void sortByName(Grid& grid, std::vector<int>& positions);
[[nodiscard]] QByteArray save(const Grid& grid, xom::LanguageModel& model, std::vector<int>& positions);

} // namespace literal
