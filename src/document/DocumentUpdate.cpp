// The update of a translation to a new version of its reference.

#include "document/Document.h"

#include "xom/NameIndex.h"

#include <QSet>

namespace document {

namespace {

// The first row of each name of a table, with its text.
class TextsByName {
public:
    explicit TextsByName(const xom::EntryTable& table)
        : m_table(table)
        , m_index(table)
    {
    }

    [[nodiscard]] std::optional<QStringView> textOf(const QStringView name) const
    {
        const int row = m_index.find(m_table, name);
        if (row < 0)
            return std::nullopt;
        return m_table.text(row);
    }

private:
    const xom::EntryTable& m_table;
    xom::NameIndex m_index;
};

} // namespace

UpdateResult Document::updateToReference(
    xom::EntryTable newReference, const QString& path, const xom::EntryTable* oldReference)
{
    UpdateResult result;
    result.entries.reserve(static_cast<std::size_t>(m_entries.entryCount()));
    const auto record = [&result](const int gridRow, const UpdateOutcome outcome) {
        ++result.summary.counts[static_cast<std::size_t>(outcome)];
        result.entries.push_back({gridRow, outcome});
    };
    const TextsByName newTexts(newReference);
    const std::optional<TextsByName> oldTexts
        = oldReference ? std::optional<TextsByName>(std::in_place, *oldReference) : std::nullopt;

    std::vector<xom::Edit> edits;
    std::vector<ReviewChange> reviews;
    const int rowsBefore = m_entries.entryCount();
    for (int row = 0; row < rowsBefore; ++row) {
        const int gridRow = row + 1;
        const QStringView name = m_entries.name(row);
        const std::optional<QStringView> newSource = newTexts.textOf(name);
        if (!newSource) {
            record(gridRow, UpdateOutcome::Removed);
            continue;
        }
        const review::EntryReview& before = entryReview(gridRow);
        std::optional<QString> oldSource = before.snapshot;
        if (!oldSource && oldTexts) {
            if (const std::optional<QStringView> old = oldTexts->textOf(name))
                oldSource = old->toString();
        }
        if (!oldSource) {
            record(gridRow, UpdateOutcome::NoEarlierSource);
            continue;
        }
        if (*oldSource == *newSource) {
            record(gridRow, UpdateOutcome::Unchanged);
            continue;
        }
        const QStringView text = m_entries.text(row);
        review::EntryReview after = before;
        if (text == *oldSource) {
            // Still the old source: nothing translated to keep, and the
            // text the game shows should be the new one.
            edits.emplace_back(xom::CellChange{gridRow, xom::TextColumn, text.toString(), newSource->toString()});
            if (after.snapshot)
                after.snapshot = newSource->toString();
            record(gridRow, UpdateOutcome::UntranslatedFollowed);
        } else {
            // The translation stays; the old source stays beside it, so that
            // the reference pane shows what changed.
            after.state = review::State::NeedsReview;
            after.snapshot = oldSource;
            record(gridRow, UpdateOutcome::SourceChanged);
        }
        if (after != before)
            reviews.push_back({gridRow, before, after});
    }

    // The new reference's entries the translation lacks, in its order, each
    // name once; found before any is added.
    std::vector<int> missingRows;
    {
        const xom::NameIndex translationNames(m_entries);
        QSet<QStringView> seen;
        for (int row = 0; row < newReference.entryCount(); ++row) {
            const QStringView name = newReference.name(row);
            if (translationNames.find(m_entries, name) < 0 && !seen.contains(name)) {
                seen.insert(name);
                missingRows.push_back(row);
            }
        }
    }

    // The changes made as an import makes them, so that one step takes
    // them back.
    for (const xom::Edit& edit : edits) {
        const auto& change = std::get<xom::CellChange>(edit);
        m_entries.setCell(change.gridRow - 1, change.column, change.after);
    }
    for (const int row : missingRows) {
        const QString name = newReference.name(row).toString();
        const QString text = newReference.text(row).toString();
        edits.emplace_back(xom::AddChange{xom::addEntryReversibly(m_entries, m_model, name, text), name, text});
        record(m_entries.entryCount(), UpdateOutcome::Added);
    }
    if (!edits.empty() || !reviews.empty()) {
        afterEdits(rowsBefore, edits);
        if (!reviews.empty())
            applyReviews(reviews, false);
        push(Step{QStringLiteral("Update from New Reference"), EditsStep{std::move(edits), std::move(reviews)}});
    }
    openReference(std::move(newReference), path);
    return result;
}

} // namespace document
