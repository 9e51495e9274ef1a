// The document's review kept beside the file: each entry's state, note and
// snapshot, following its row through every operation, read from and
// written to the review file.

#include "document/Document.h"

#include <QHash>

#include <algorithm>

namespace document {

namespace {

const review::EntryReview noReview;

// An entry number's value for ordering the lines; texts that are no number
// go after every number.
qint64 orderOfNumber(const QString& number)
{
    bool ok = false;
    const qint64 value = number.toLongLong(&ok);
    return ok && value >= 0 ? value : std::numeric_limits<qint64>::max();
}

} // namespace

const review::EntryReview& Document::entryReview(const int gridRow) const
{
    const auto row = static_cast<std::size_t>(gridRow - 1);
    return gridRow >= 1 && row < m_entryReviews.size() ? m_entryReviews[row] : noReview;
}

int Document::takeReviewFile(review::ReviewFile file)
{
    m_entryReviews.assign(static_cast<std::size_t>(m_entries.entryCount()), review::EntryReview{});
    m_reviewAside.clear();
    m_reviewFileRead = true;
    m_languages = file.languages;
    m_checkChoices = file.checks;
    // The rows of each name, in grid order.
    QHash<QString, std::vector<int>> rowsOfName;
    rowsOfName.reserve(m_entries.entryCount());
    for (int row = 0; row < m_entries.entryCount(); ++row)
        rowsOfName[m_entries.name(row).toString()].push_back(row);
    for (review::ReviewLine& line : file.lines) {
        const auto found = rowsOfName.constFind(line.name);
        if (found == rowsOfName.constEnd()) {
            m_reviewAside.push_back(std::move(line));
            continue;
        }
        // Among entries of one name, the one of the line's number.
        int row = found->front();
        for (const int candidate : *found) {
            if (m_entries.number(candidate) == line.number) {
                row = candidate;
                break;
            }
        }
        m_entryReviews[static_cast<std::size_t>(row)] = std::move(line.review);
    }
    return static_cast<int>(m_reviewAside.size());
}

std::optional<review::ReviewFile> Document::reviewFileToSave() const
{
    review::ReviewFile file;
    for (std::size_t row = 0; row < m_entryReviews.size(); ++row) {
        const review::EntryReview& kept = m_entryReviews[row];
        if (kept.keepsAnything()) {
            const int entry = static_cast<int>(row);
            file.lines.push_back({m_entries.number(entry), m_entries.name(entry).toString(), kept});
        }
    }
    file.lines.insert(file.lines.end(), m_reviewAside.begin(), m_reviewAside.end());
    file.languages = m_languages;
    file.checks = m_checkChoices;
    if (file.lines.empty() && m_languages.isEmpty() && m_checkChoices.isEmpty() && !m_reviewFileRead)
        return std::nullopt;
    std::stable_sort(
        file.lines.begin(), file.lines.end(), [](const review::ReviewLine& a, const review::ReviewLine& b) {
            return orderOfNumber(a.number) < orderOfNumber(b.number);
        });
    return file;
}

bool Document::setEntryReviews(
    std::vector<ReviewChange> changes, const QString& what, std::vector<xom::CellChange> cells)
{
    std::erase_if(changes, [](const ReviewChange& change) { return change.before == change.after; });
    std::erase_if(cells, [](const xom::CellChange& cell) { return cell.before == cell.after; });
    if (changes.empty() && cells.empty())
        return false;
    if (!cells.empty())
        applyCells(cells, false);
    applyReviews(changes, false);
    push(Step{what, ReviewsStep{std::move(changes), std::move(cells)}});
    return true;
}

// The reference's text of the entry at gridRow now, or the snapshot it
// keeps when no reference is open.
std::optional<QString> Document::snapshotNow(const int gridRow) const
{
    if (m_review) {
        if (const std::optional<QStringView> reference = m_review->referenceTextOfRow(gridRow - 1))
            return reference->toString();
        return std::nullopt;
    }
    return entryReview(gridRow).snapshot;
}

bool Document::acceptText(const int gridRow, const QString& text)
{
    if (gridRow < 1 || gridRow >= m_entries.gridRowCount())
        return false;
    const review::EntryReview before = entryReview(gridRow);
    review::EntryReview after = before;
    after.state = review::State::Translated;
    after.snapshot = snapshotNow(gridRow);
    return setEntryReviews({{gridRow, before, after}}, QStringLiteral("Edit"),
        {{gridRow, xom::TextColumn, m_entries.gridCell(gridRow, xom::TextColumn), text}});
}

bool Document::toggleApproved(const int gridRow)
{
    if (gridRow < 1 || gridRow >= m_entries.gridRowCount())
        return false;
    const review::EntryReview before = entryReview(gridRow);
    review::EntryReview after = before;
    const bool approving = before.state != review::State::Approved;
    after.state = approving ? review::State::Approved : review::State::Translated;
    if (approving)
        after.snapshot = snapshotNow(gridRow);
    return setEntryReviews(
        {{gridRow, before, after}}, approving ? QStringLiteral("Approve") : QStringLiteral("Unapprove"));
}

void Document::applyReviews(const std::vector<ReviewChange>& changes, const bool reverting)
{
    fitReviewsToRows();
    const auto set = [this](const ReviewChange& change, const review::EntryReview& review) {
        const auto row = static_cast<std::size_t>(change.gridRow - 1);
        if (change.gridRow >= 1 && row < m_entryReviews.size())
            m_entryReviews[row] = review;
    };
    if (reverting) {
        for (auto change = changes.rbegin(); change != changes.rend(); ++change)
            set(*change, change->before);
    } else {
        for (const ReviewChange& change : changes)
            set(change, change.after);
    }
    emit reviewsChanged(changes);
}

void Document::reorderReviews(const xom::RowOrder& order, const bool reverting)
{
    if (m_entryReviews.empty() || order.size() != m_entryReviews.size())
        return;
    std::vector<review::EntryReview> arranged(m_entryReviews.size());
    for (std::size_t row = 0; row < order.size(); ++row) {
        const auto from = static_cast<std::size_t>(order[row]);
        if (reverting)
            arranged[from] = std::move(m_entryReviews[row]);
        else
            arranged[row] = std::move(m_entryReviews[from]);
    }
    m_entryReviews = std::move(arranged);
}

void Document::fitReviewsToRows()
{
    m_entryReviews.resize(static_cast<std::size_t>(m_entries.entryCount()));
}

bool Document::sourceChanged(const int gridRow) const
{
    const std::optional<QString>& snapshot = entryReview(gridRow).snapshot;
    if (!m_review || !snapshot)
        return false;
    const std::optional<QStringView> reference = m_review->referenceTextOfRow(gridRow - 1);
    return reference && *reference != *snapshot;
}

bool Document::wantsReview(const int gridRow) const
{
    if (entryReview(gridRow).state == review::State::NeedsReview || sourceChanged(gridRow))
        return true;
    return m_review && m_review->rowFails(gridRow - 1);
}

} // namespace document
