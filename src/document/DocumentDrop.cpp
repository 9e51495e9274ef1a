// Dropping entries: an arrangement, a renumbering and rows taken off the
// end, each told to the views as the primitive it is.

#include "document/Document.h"

#include <algorithm>

namespace document {

int Document::dropRemovedEntries(UpdateResult& result)
{
    std::vector<int> removed;
    for (const UpdatedEntry& entry : result.entries) {
        if (entry.outcome == UpdateOutcome::Removed)
            removed.push_back(entry.gridRow);
    }
    std::vector<xom::Entry> cells;
    cells.reserve(removed.size());
    for (const int gridRow : removed)
        cells.push_back(m_entries.entry(gridRow - 1));
    const int dropped = dropEntries(removed, QStringLiteral("Drop Removed Entries"));
    if (dropped == 0)
        return 0;
    // The entries that stay close up over the dropped ones; the result's
    // rows are in grid order, so removed is sorted.
    std::vector<UpdatedEntry> kept;
    kept.reserve(result.entries.size() - removed.size());
    for (UpdatedEntry entry : result.entries) {
        if (entry.outcome == UpdateOutcome::Removed)
            continue;
        entry.gridRow
            -= static_cast<int>(std::lower_bound(removed.begin(), removed.end(), entry.gridRow) - removed.begin());
        kept.push_back(entry);
    }
    result.entries = std::move(kept);
    result.dropped.insert(result.dropped.end(), cells.begin(), cells.end());
    auto& counts = result.summary.counts;
    counts[static_cast<std::size_t>(UpdateOutcome::Dropped)]
        += counts[static_cast<std::size_t>(UpdateOutcome::Removed)];
    counts[static_cast<std::size_t>(UpdateOutcome::Removed)] = 0;
    return dropped;
}

int Document::dropEntries(const std::vector<int>& gridRows, const QString& what)
{
    DropStep step{xom::entryDropOf(m_entries, m_model, gridRows), {}};
    if (step.drop.dropped.empty())
        return 0;
    redoDrop(step);
    const auto dropped = static_cast<int>(step.drop.dropped.size());
    push(Step{what, std::move(step)});
    return dropped;
}

void Document::redoDrop(DropStep& step)
{
    const xom::EntryDrop& drop = step.drop;
    reorder(drop.order, false, [&] { xom::applyRowOrder(m_entries, drop.order); });
    if (!drop.renumbered.empty())
        applyCells(drop.renumbered, false);
    // The dropped rows now end the table, and their reviews the reviews.
    const int rowsBefore = m_entries.entryCount();
    const auto firstDropped = static_cast<std::size_t>(rowsBefore) - drop.dropped.size();
    step.droppedReviews.clear();
    if (!m_entryReviews.empty()) {
        step.droppedReviews.assign(m_entryReviews.begin() + static_cast<std::ptrdiff_t>(firstDropped),
            m_entryReviews.begin() + static_cast<std::ptrdiff_t>(firstDropped + drop.dropped.size()));
    }
    xom::takeOffDroppedRows(m_entries, m_model, drop);
    afterEdits(rowsBefore, {});
}

void Document::undoDrop(const DropStep& step)
{
    const xom::EntryDrop& drop = step.drop;
    const int rowsBefore = m_entries.entryCount();
    xom::putBackDroppedRows(m_entries, m_model, drop);
    afterEdits(rowsBefore, {});
    std::vector<ReviewChange> reviews;
    for (std::size_t k = 0; k < step.droppedReviews.size(); ++k) {
        if (step.droppedReviews[k] != review::EntryReview())
            reviews.push_back({rowsBefore + 1 + static_cast<int>(k), {}, step.droppedReviews[k]});
    }
    if (!reviews.empty())
        applyReviews(reviews, false);
    if (!drop.renumbered.empty())
        applyCells(drop.renumbered, true);
    reorder(drop.order, true, [&] { xom::revertRowOrder(m_entries, drop.order); });
}

} // namespace document
