#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace document {

class Document;

// Which entries the grid shows. Untranslated and with warnings come from the
// checks against the reference (as the totals count them, so no entry is
// both); needs review holds the entries marked so and those whose source
// changed since they were accepted; approved the entries marked so.
enum class RowFilter : std::uint8_t { All, Untranslated, NeedsReview, WithWarnings, SourceChanged, Approved };

inline constexpr std::array<RowFilter, 6> AllRowFilters{RowFilter::All, RowFilter::Untranslated, RowFilter::NeedsReview,
    RowFilter::WithWarnings, RowFilter::SourceChanged, RowFilter::Approved};

// How many entries each filter shows, indexed by the filter.
using RowFilterCounts = std::array<int, AllRowFilters.size()>;

// Whether the entry of gridRow is one that filter shows.
[[nodiscard]] bool rowPasses(const Document& document, int gridRow, RowFilter filter);

// The grid rows that filter shows, ascending; every row for All.
[[nodiscard]] std::vector<int> rowsPassing(const Document& document, RowFilter filter);

// The counts of every filter, in one pass over the entries.
[[nodiscard]] RowFilterCounts countRowFilters(const Document& document);

} // namespace document
