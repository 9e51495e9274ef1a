#include "recovery/Replay.h"

#include <algorithm>
#include <map>

namespace recovery {

namespace {

using document::Document;

bool isPermutation(const xom::RowOrder& order, const int rows)
{
    if (order.size() != static_cast<std::size_t>(rows))
        return false;
    std::vector<bool> seen(order.size(), false);
    for (const std::int32_t row : order) {
        if (row < 0 || row >= rows || seen[static_cast<std::size_t>(row)])
            return false;
        seen[static_cast<std::size_t>(row)] = true;
    }
    return true;
}

bool isCell(const xom::CellChange& change, const int gridRows)
{
    return change.gridRow >= 1 && change.gridRow < gridRows && change.column >= 0 && change.column < xom::ColumnCount;
}

// Every change finds the text it recorded: the table's, or the one an
// earlier change of the same step left there.
bool cellsFit(const std::vector<xom::CellChange>& changes, const xom::EntryTable& entries)
{
    std::map<std::pair<int, int>, const QString*> changed;
    for (const xom::CellChange& change : changes) {
        if (!isCell(change, entries.gridRowCount()))
            return false;
        const std::pair<int, int> cell{change.gridRow, change.column};
        const auto earlier = changed.find(cell);
        const bool found = earlier != changed.end() ? *earlier->second == change.before
                                                    : entries.gridCell(change.gridRow, change.column) == change.before;
        if (!found)
            return false;
        changed[cell] = &change.after;
    }
    return true;
}

bool editsFit(const std::vector<xom::Edit>& edits, const xom::EntryTable& entries)
{
    int gridRows = entries.gridRowCount();
    for (const xom::Edit& edit : edits) {
        if (const auto* const cell = std::get_if<xom::CellChange>(&edit)) {
            if (!isCell(*cell, gridRows))
                return false;
        } else {
            ++gridRows;
        }
    }
    return true;
}

// Every review change finds its row and, at it, the review it recorded
// (before, or after for a step already done). A step that adds rows before
// it sets reviews may set them on those rows too, which have none yet.
bool reviewsFit(const Document& document, const std::vector<document::ReviewChange>& changes, const bool done,
    const int rowsAdded = 0)
{
    const int gridRows = document.entries().gridRowCount() + rowsAdded;
    std::map<int, const review::EntryReview*> changed;
    const auto check = [&](const document::ReviewChange& change, const review::EntryReview& found) {
        if (change.gridRow < 1 || change.gridRow >= gridRows)
            return false;
        const auto earlier = changed.find(change.gridRow);
        const review::EntryReview& now
            = earlier != changed.end() ? *earlier->second : document.entryReview(change.gridRow);
        if (now != found)
            return false;
        changed[change.gridRow] = done ? &change.before : &change.after;
        return true;
    };
    if (done)
        return std::all_of(
            changes.rbegin(), changes.rend(), [&](const auto& change) { return check(change, change.after); });
    return std::all_of(
        changes.begin(), changes.end(), [&](const auto& change) { return check(change, change.before); });
}

// A drop made again finds its rows: its arrangement is one of the rows, and
// each number it lowers stands at the row the arrangement brings there.
bool dropFits(const document::DropStep& step, const xom::EntryTable& entries)
{
    const xom::EntryDrop& drop = step.drop;
    if (!isPermutation(drop.order, entries.entryCount()) || drop.dropped.size() > drop.order.size())
        return false;
    return std::all_of(drop.renumbered.begin(), drop.renumbered.end(), [&](const xom::CellChange& change) {
        return isCell(change, entries.gridRowCount()) && change.column == xom::NumberColumn
            && entries.number(drop.order[static_cast<std::size_t>(change.gridRow - 1)]) == change.before;
    });
}

// A drop done before the journal began left the rows that stay, numbered
// as it numbered them.
bool dropFitsDoneBelow(const document::DropStep& step, const xom::EntryTable& entries)
{
    const xom::EntryDrop& drop = step.drop;
    if (drop.order.size() != static_cast<std::size_t>(entries.entryCount()) + drop.dropped.size())
        return false;
    return std::all_of(drop.renumbered.begin(), drop.renumbered.end(), [&](const xom::CellChange& change) {
        return isCell(change, entries.gridRowCount()) && change.column == xom::NumberColumn
            && entries.number(change.gridRow - 1) == change.after;
    });
}

// The step as the document makes it again, or nothing when it does not fit.
std::optional<document::Step> fitted(document::Step step, const Document& document)
{
    const xom::EntryTable& entries = document.entries();
    bool fits = true;
    if (const auto* const cells = std::get_if<document::CellsStep>(&step.change)) {
        fits = cellsFit(cells->changes, entries);
    } else if (auto* const add = std::get_if<document::AddStep>(&step.change)) {
        fits = add->gridRow == entries.gridRowCount();
    } else if (const auto* const reorder = std::get_if<document::ReorderStep>(&step.change)) {
        fits = isPermutation(reorder->order, entries.entryCount());
    } else if (auto* const move = std::get_if<document::MoveDownStep>(&step.change)) {
        // Move Down is worked out again: it must come out as it did.
        xom::MoveDownChange again = xom::moveDownChangeOf(entries);
        fits = again.order == move->change.order && again.clearedMarks.size() == move->change.clearedMarks.size();
        move->change = std::move(again);
    } else if (const auto* const edits = std::get_if<document::EditsStep>(&step.change)) {
        // Its reviews are set once its edits are made: on the rows it adds
        // too, which have none before.
        const auto adds = std::count_if(edits->edits.begin(), edits->edits.end(),
            [](const xom::Edit& edit) { return std::holds_alternative<xom::AddChange>(edit); });
        fits = editsFit(edits->edits, entries) && reviewsFit(document, edits->reviews, false, static_cast<int>(adds));
    } else if (const auto* const reviews = std::get_if<document::ReviewsStep>(&step.change)) {
        fits = cellsFit(reviews->cells, entries) && reviewsFit(document, reviews->changes, false);
    } else if (const auto* const drop = std::get_if<document::DropStep>(&step.change)) {
        fits = dropFits(*drop, entries);
    }
    if (!fits)
        return std::nullopt;
    return step;
}

// Whether a step made before the journal began can stand done below every
// other step: the table is as it left it, so its cells hold the texts it
// set last and the rows it added are the last ones.
bool fitsDoneBelow(const document::Step& step, const Document& document)
{
    const xom::EntryTable& entries = document.entries();
    if (const auto* const reviews = std::get_if<document::ReviewsStep>(&step.change)) {
        return reviewsFit(document, reviews->changes, true)
            && std::all_of(reviews->cells.begin(), reviews->cells.end(),
                [&](const xom::CellChange& cell) { return isCell(cell, entries.gridRowCount()); });
    }
    if (const auto* const cells = std::get_if<document::CellsStep>(&step.change)) {
        std::map<std::pair<int, int>, bool> seen;
        for (auto change = cells->changes.rbegin(); change != cells->changes.rend(); ++change) {
            if (!isCell(*change, entries.gridRowCount()))
                return false;
            if (seen.emplace(std::pair{change->gridRow, change->column}, true).second
                && entries.gridCell(change->gridRow, change->column) != change->after)
                return false;
        }
        return true;
    }
    if (const auto* const add = std::get_if<document::AddStep>(&step.change))
        return entries.entryCount() > 0 && add->gridRow == entries.gridRowCount() - 1;
    if (const auto* const reorder = std::get_if<document::ReorderStep>(&step.change))
        return isPermutation(reorder->order, entries.entryCount());
    if (const auto* const move = std::get_if<document::MoveDownStep>(&step.change))
        return isPermutation(move->change.order, entries.entryCount());
    if (const auto* const drop = std::get_if<document::DropStep>(&step.change))
        return dropFitsDoneBelow(*drop, entries);
    const auto& edits = std::get<document::EditsStep>(step.change).edits;
    const auto adds = std::count_if(
        edits.begin(), edits.end(), [](const xom::Edit& edit) { return std::holds_alternative<xom::AddChange>(edit); });
    return std::all_of(edits.begin(), edits.end(),
               [&](const xom::Edit& edit) {
                   const auto* const cell = std::get_if<xom::CellChange>(&edit);
                   return !cell || isCell(*cell, entries.gridRowCount());
               })
        && adds <= entries.entryCount()
        && reviewsFit(document, std::get<document::EditsStep>(step.change).reviews, true);
}

} // namespace

ReplayOutcome replayJournal(document::Document& document, const ReadJournal& journal)
{
    ReplayOutcome outcome;
    outcome.recorded = journal.changeCount();
    const JournalRecord* const begin = journal.begin();
    if (!begin)
        return outcome;
    outcome.referencePath = begin->referencePath;
    outcome.takenBytes = begin->endOffset;
    // The marks the entries had when the journal began, which the file
    // does not keep.
    std::vector<xom::CellChange> marks = begin->marks;
    for (xom::CellChange& mark : marks) {
        if (!isCell(mark, document.entries().gridRowCount()))
            return outcome;
        mark.before = document.entries().gridCell(mark.gridRow, xom::MarkColumn);
    }
    document.restoreMarks(marks);
    for (const JournalRecord& record : journal.records) {
        const document::UndoHistory& history = document.history();
        bool taken = true;
        switch (record.kind) {
        case RecordKind::Begin:
        case RecordKind::BaseCopy:
            break;
        case RecordKind::Reference:
            outcome.referencePath = record.referencePath;
            break;
        case RecordKind::Push:
            if (std::optional<document::Step> step = fitted(*record.step, document)) {
                document.replayStep(std::move(*step));
                ++outcome.replayed;
            } else {
                taken = false;
            }
            break;
        case RecordKind::Undo:
            taken = history.canUndo() && (document.undo(), true);
            outcome.replayed += taken ? 1 : 0;
            break;
        case RecordKind::Redo:
            taken = history.canRedo() && (document.redo(), true);
            outcome.replayed += taken ? 1 : 0;
            break;
        case RecordKind::DoneBelow:
            taken = history.index() == 0 && fitsDoneBelow(*record.step, document);
            if (taken)
                document.adoptStep(*record.step, document::Document::AdoptedAs::DoneBelow);
            break;
        case RecordKind::UndoneAbove: {
            // The table is as the step found it, as for a push.
            std::optional<document::Step> step
                = history.index() == history.count() ? fitted(*record.step, document) : std::nullopt;
            taken = step.has_value();
            if (taken)
                document.adoptStep(std::move(*step), document::Document::AdoptedAs::UndoneAbove);
            break;
        }
        }
        if (!taken)
            break;
        outcome.takenBytes = record.endOffset;
    }
    return outcome;
}

} // namespace recovery
