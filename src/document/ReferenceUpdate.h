#pragma once

#include "xom/EntryTable.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace document {

// What an update to a new version of the reference did with one entry.
enum class UpdateOutcome : std::uint8_t {
    // The new reference has an entry the translation lacked: added, its
    // text the reference's, untranslated.
    Added,
    // The source changed since the translation was made: the translation
    // is kept and needs review, the old source kept to show the change.
    SourceChanged,
    // The source changed and the entry was still untranslated (its text the
    // old source): the text follows the new source.
    UntranslatedFollowed,
    // The source is the same.
    Unchanged,
    // Neither a snapshot nor an old reference tells the source the entry
    // was translated from: left as it is.
    NoEarlierSource,
    // The new reference no longer has the entry: kept.
    Removed,
    // The new reference no longer has the entry, and it was dropped on
    // request (see Document::dropRemovedEntries).
    Dropped,
};

// "added", "source changed", … as the report and the summary name them.
[[nodiscard]] QString outcomeName(UpdateOutcome outcome);

// One entry of an update's report: its grid row once the update is made
// (the update moves no row), and its outcome.
struct UpdatedEntry {
    int gridRow = 0;
    UpdateOutcome outcome = UpdateOutcome::Unchanged;
};

// How many entries had each outcome, indexed by the outcome.
struct UpdateSummary {
    std::vector<int> counts = std::vector<int>(7, 0);

    [[nodiscard]] int count(UpdateOutcome outcome) const { return counts[static_cast<std::size_t>(outcome)]; }
};

// What an update did: the counts, and each entry with its outcome in grid
// order (the added ones last, as they are added). Entries dropped after it
// are no longer in the table: they are listed apart with their cells as
// they were.
struct UpdateResult {
    UpdateSummary summary;
    std::vector<UpdatedEntry> entries;
    std::vector<xom::Entry> dropped;
};

// "3 added, 2 source changed (now needing review), 1 untranslated text
// following its source, 40 unchanged, 1 no longer in the reference (kept)",
// naming only the outcomes that happened; "nothing changed" when no entry
// changed.
[[nodiscard]] QString updateSummaryLine(const UpdateSummary& summary);

// The report of an update just made on entries: a header line, then one
// line per entry (number, name and outcome, tab-separated, names escaped as
// the review file escapes them), the dropped ones last.
[[nodiscard]] QByteArray updateReport(const UpdateResult& result, const xom::EntryTable& entries);

} // namespace document
