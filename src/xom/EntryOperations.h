#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ProgressReport.h"

#include <QStringView>

#include <optional>

namespace xom {

// Sort: the rows ordered by name, ascending and stable, names compared as
// text::ansiTextSortKey orders them: their ANSI images collated by the
// user's locale, case ignored. Reports the progress bar's positions
// k / (R + 2) * 100, rounded half to even, for k = 2 .. R - 1, R being the
// grid's row count; with fewer than two entries nothing moves.
void sortEntriesByName(EntryTable& table, const ProgressReport& progress = {});

// The bar position after inserting row k during a sort of a grid of R rows.
[[nodiscard]] int sortProgressPosition(int k, int gridRowCount) noexcept;

// Search: the grid row that Enter in the search box selects. The first entry
// row whose text text::PrefixMatcher(search) matches; row 1 when none does or
// search is empty; nothing when the table has no entry row.
[[nodiscard]] std::optional<int> searchRowForPrefix(const EntryTable& table, QStringView search);
// The first entry row whose text text::PrefixMatcher(search) matches;
// nothing when none does or search is empty.
[[nodiscard]] std::optional<int> findRowForPrefix(const EntryTable& table, QStringView search);

// Search again (F3, Shift+F3): the grid row of the next entry after
// currentGridRow, or with backwards the previous one before it, whose text
// text::PrefixMatcher(search) matches, going round past the last row to the
// first (or the first to the last) and ending with currentGridRow itself.
// Nothing when no entry matches.
[[nodiscard]] std::optional<int> searchRowForPrefixAgain(
    const EntryTable& table, QStringView search, int currentGridRow, bool backwards);

// Add: raises the instance count of the string resource type (when the file
// has one), appends a row numbered with the old grid row count holding name
// and text and no mark, and appends the name and then the text to the
// string list. Gives the new entry's number.
int addEntry(EntryTable& table, LanguageModel& model, const QString& name, const QString& text);

} // namespace xom
