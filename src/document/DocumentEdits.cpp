// The document's operations, and the primitives they, undo and redo are
// made of.

#include "document/Document.h"

#include "exchange/ImportError.h"
#include "exchange/ImportedReview.h"

#include "xom/EntryOperations.h"

#include <algorithm>

namespace document {

bool Document::setCellTexts(std::vector<xom::CellChange> changes, const QString& what)
{
    if (changes.empty())
        return false;
    applyCells(changes, false);
    const bool changesFile = std::any_of(
        changes.begin(), changes.end(), [](const xom::CellChange& change) { return change.column != xom::MarkColumn; });
    push(Step{what, CellsStep{std::move(changes)}, changesFile});
    return true;
}

bool Document::toggleMark(const int gridRow)
{
    const xom::CellChange change = xom::markToggle(m_entries, gridRow);
    if (change.before == change.after)
        return false;
    return setCellTexts({change}, QStringLiteral("Toggle Mark"));
}

xom::AddedEntry Document::addEntry(const QString& name, const QString& text)
{
    const int rowsBefore = m_entries.entryCount();
    const xom::AddedEntry added = xom::addEntryReversibly(m_entries, m_model, name, text);
    afterEdits(rowsBefore, {});
    push(Step{QStringLiteral("Add"), AddStep{xom::AddChange{added, name, text}, m_entries.gridRowCount() - 1}});
    return added;
}

bool Document::moveDown()
{
    xom::MoveDownChange change = xom::moveDownChangeOf(m_entries);
    if (change.clearedMarks.empty())
        return false;
    reorder(change.order, false, [&] { xom::redoMoveDown(m_entries, change); });
    push(Step{QStringLiteral("Move Down"), MoveDownStep{std::move(change)}});
    return true;
}

bool Document::sortByName(const xom::ProgressReport& progress)
{
    xom::RowOrder order = xom::sortOrderByName(m_entries, progress);
    // A sort of rows already in order changes nothing to undo.
    bool moved = false;
    for (std::size_t row = 0; row < order.size() && !moved; ++row)
        moved = order[row] != static_cast<std::int32_t>(row);
    if (!moved)
        return false;
    reorder(order, false, [&] { xom::applyRowOrder(m_entries, order); });
    push(Step{QStringLiteral("Sort"), ReorderStep{std::move(order)}});
    return true;
}

std::optional<xom::CellMatch> Document::findNext(const xom::TableSearch& search, const xom::CellPosition& from) const
{
    return search.findNext(m_entries, from);
}

std::optional<xom::CellMatch> Document::findAfter(const xom::TableSearch& search, const xom::CellMatch& current) const
{
    return search.findAfter(m_entries, current);
}

std::optional<xom::CellMatch> Document::findPrevious(
    const xom::TableSearch& search, const xom::CellPosition& before) const
{
    return search.findPrevious(m_entries, before);
}

xom::MatchTally Document::countMatches(const xom::TableSearch& search) const
{
    return search.countMatches(m_entries);
}

std::optional<xom::CellPosition> Document::replaceMatch(
    const xom::TableSearch& search, const xom::CellMatch& current, const QString& replacement)
{
    std::optional<xom::SingleReplacement> replaced = search.replaceMatch(m_entries, current, replacement);
    if (!replaced)
        return std::nullopt;
    setCellTexts({std::move(replaced->change)}, QStringLiteral("Replace"));
    return replaced->resume;
}

xom::MatchTally Document::replaceAll(const xom::TableSearch& search, const QString& replacement)
{
    if (m_keepHistory == History::NotKept) {
        // Made on the entries as it goes: no one takes it back, so what each
        // cell held is not kept.
        const xom::MatchTally tally = search.replaceAllIn(m_entries, replacement);
        recheckAll();
        return tally;
    }
    xom::ReplaceAllResult result = search.replaceAll(m_entries, replacement);
    setCellTexts(std::move(result.changes), QStringLiteral("Replace All"));
    return result.tally;
}

exchange::ImportOutcome Document::importExchange(
    const QByteArrayView bytes, const exchange::ExchangeFormat format, const exchange::ImportOptions& options)
{
    const int rowsBefore = m_entries.entryCount();
    std::vector<xom::Edit> edits;
    exchange::ImportOutcome outcome;
    try {
        outcome = exchange::importExchangeFile(m_entries, m_model, bytes, format, options, &edits);
    } catch (...) {
        // A file refused changes nothing: what its records made is taken back.
        xom::undoEdits(m_entries, m_model, edits);
        throw;
    }
    if (!edits.empty())
        afterEdits(rowsBefore, edits);
    // The reviews after the texts: a renamed entry's reference text is its
    // new name's, and an added entry's row is there.
    std::vector<ReviewChange> reviews = importedReviews(outcome.reviews);
    outcome.summary.reviewsChanged = static_cast<int>(reviews.size());
    if (edits.empty() && reviews.empty())
        return outcome;
    if (!reviews.empty())
        applyReviews(reviews, false);
    const bool changesFile = !reviews.empty() || std::any_of(edits.begin(), edits.end(), [](const xom::Edit& edit) {
        const auto* const change = std::get_if<xom::CellChange>(&edit);
        return !change || change->column != xom::MarkColumn;
    });
    push(Step{QStringLiteral("Import"), EditsStep{std::move(edits), std::move(reviews)}, changesFile});
    return outcome;
}

std::vector<ReviewChange> Document::importedReviews(const std::vector<exchange::ReviewOfRecord>& said) const
{
    std::vector<ReviewChange> changes;
    for (const exchange::ReviewOfRecord& record : said) {
        const int gridRow = record.row + 1;
        const review::EntryReview& before = entryReview(gridRow);
        review::EntryReview after = exchange::importedReview(
            before, sourceChanged(gridRow), [this, gridRow] { return snapshotNow(gridRow); }, record.said);
        if (after != before)
            changes.push_back({gridRow, before, std::move(after)});
    }
    return changes;
}

void Document::applyCells(const std::vector<xom::CellChange>& changes, const bool reverting)
{
    if (reverting)
        xom::revertCellChanges(m_entries, changes);
    else
        xom::applyCellChanges(m_entries, changes);
    recheckCells(changes);
    emit cellsChanged(changes);
    if (m_review)
        emit reviewChanged();
}

void Document::reorder(const xom::RowOrder& order, const bool reverting, const std::function<void()>& reordering)
{
    emit aboutToReorder();
    try {
        reordering();
    } catch (...) {
        // The row operations allocate before they move a row: the rows are
        // as they were.
        emit reorderAbandoned();
        throw;
    }
    reorderReviews(order, reverting);
    emit reordered(order, reverting);
    recheckAll();
}

void Document::afterEdits(const int rowsBefore, const std::vector<xom::Edit>& edits)
{
    std::vector<xom::CellChange> cells;
    for (const xom::Edit& edit : edits) {
        if (const auto* const change = std::get_if<xom::CellChange>(&edit))
            cells.push_back(*change);
    }
    const int rowsAfter = m_entries.entryCount();
    if (!m_entryReviews.empty())
        fitReviewsToRows();
    if (m_review) {
        // The review follows the rows first: an added row gets its checks,
        // a removed one leaves its totals.
        if (rowsAfter < rowsBefore)
            m_review->dropRowsFrom(rowsAfter);
        for (int row = rowsBefore; row < rowsAfter; ++row)
            m_review->recheckRow(m_entries, row);
        recheckCells(cells);
    }
    if (rowsAfter != rowsBefore)
        emit rowCountChanged();
    if (!cells.empty())
        emit cellsChanged(cells);
    if (m_review)
        emit reviewChanged();
}

void Document::recheckCells(const std::vector<xom::CellChange>& changes)
{
    if (!m_review)
        return;
    // One entry's checks per changed name or text, not a full pass.
    for (const xom::CellChange& change : changes) {
        if ((change.column == xom::NameColumn || change.column == xom::TextColumn) && change.gridRow >= 1
            && change.gridRow <= m_entries.entryCount())
            m_review->recheckRow(m_entries, change.gridRow - 1);
    }
}

void Document::setReviewChecks(const xom::Checks enabled, xom::TranslationReview::TextChecker checker)
{
    m_enabledChecks = enabled;
    m_textChecker = std::move(checker);
    if (!m_review)
        return;
    m_review->setEnabledChecks(m_enabledChecks);
    m_review->setTextChecker(m_textChecker);
    recheckAll();
}

void Document::recheckAll()
{
    if (!m_review)
        return;
    m_review->recheckAll(m_entries);
    emit reviewChanged();
}

} // namespace document
