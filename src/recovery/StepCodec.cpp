#include "recovery/StepCodec.h"

namespace recovery {

namespace {

// The kinds of step, as the journal numbers them; the numbers are part of
// the format and never change.
enum class StepKind : std::uint8_t { Cells = 1, Add = 2, Reorder = 3, MoveDown = 4, Edits = 5, Reviews = 6, Drop = 7 };
enum class EditKind : std::uint8_t { Cell = 1, Add = 2 };

// The fewest bytes an item of a list can take, for checking a count
// against the bytes left before anything is allocated.
constexpr qsizetype smallestCellChange = 4 + 1 + 4 + 4;
constexpr qsizetype smallestEdit = 1 + smallestCellChange;

void encodeCell(JournalBytesOut& out, const xom::CellChange& change)
{
    out.i32(change.gridRow);
    out.u8(static_cast<std::uint8_t>(change.column));
    out.text(change.before);
    out.text(change.after);
}

xom::CellChange decodeCell(JournalBytesIn& in)
{
    xom::CellChange change;
    change.gridRow = in.i32();
    change.column = in.u8();
    if (change.column >= xom::ColumnCount)
        throw BadRecord();
    change.before = in.text();
    change.after = in.text();
    return change;
}

void encodeCells(JournalBytesOut& out, const std::vector<xom::CellChange>& changes)
{
    out.reserveMore(static_cast<qsizetype>(changes.size()) * 64);
    out.u32(static_cast<std::uint32_t>(changes.size()));
    for (const xom::CellChange& change : changes)
        encodeCell(out, change);
}

std::vector<xom::CellChange> decodeCells(JournalBytesIn& in)
{
    std::vector<xom::CellChange> changes(in.count(smallestCellChange));
    for (xom::CellChange& change : changes)
        change = decodeCell(in);
    return changes;
}

void encodeAdd(JournalBytesOut& out, const xom::AddChange& add)
{
    out.text(add.name);
    out.text(add.text);
    out.i32(add.added.number);
    out.u8(add.added.countRaised ? 1 : 0);
    const xom::StringListSummary& strings = add.added.stringsBefore;
    out.i32(strings.count);
    out.text(strings.second);
    out.text(strings.lastButOne);
    out.text(strings.last);
}

xom::AddChange decodeAdd(JournalBytesIn& in)
{
    xom::AddChange add;
    add.name = in.text();
    add.text = in.text();
    add.added.number = in.i32();
    add.added.countRaised = in.u8() != 0;
    xom::StringListSummary& strings = add.added.stringsBefore;
    strings.count = in.i32();
    if (strings.count < 1)
        throw BadRecord();
    strings.second = in.text();
    strings.lastButOne = in.text();
    strings.last = in.text();
    return add;
}

void encodeOrder(JournalBytesOut& out, const xom::RowOrder& order)
{
    out.u32(static_cast<std::uint32_t>(order.size()));
    for (const std::int32_t row : order)
        out.i32(row);
}

xom::RowOrder decodeOrder(JournalBytesIn& in)
{
    xom::RowOrder order(in.count(4));
    for (std::int32_t& row : order)
        row = in.i32();
    return order;
}

void encodeReview(JournalBytesOut& out, const review::EntryReview& review)
{
    out.u8(static_cast<std::uint8_t>(review.state));
    out.text(review.note);
    out.u8(review.snapshot ? 1 : 0);
    if (review.snapshot)
        out.text(*review.snapshot);
}

review::EntryReview decodeReview(JournalBytesIn& in)
{
    review::EntryReview review;
    const std::uint8_t state = in.u8();
    if (state > static_cast<std::uint8_t>(review::State::Approved))
        throw BadRecord();
    review.state = static_cast<review::State>(state);
    review.note = in.text();
    if (in.u8() != 0)
        review.snapshot = in.text();
    return review;
}

void encodeReviewChanges(JournalBytesOut& out, const std::vector<document::ReviewChange>& changes)
{
    out.u32(static_cast<std::uint32_t>(changes.size()));
    for (const document::ReviewChange& change : changes) {
        out.i32(change.gridRow);
        encodeReview(out, change.before);
        encodeReview(out, change.after);
    }
}

std::vector<document::ReviewChange> decodeReviewChanges(JournalBytesIn& in)
{
    // The fewest bytes of a change: its row and two empty reviews.
    std::vector<document::ReviewChange> changes(in.count(4 + 2 * (1 + 4 + 1)));
    for (document::ReviewChange& change : changes) {
        change.gridRow = in.i32();
        change.before = decodeReview(in);
        change.after = decodeReview(in);
    }
    return changes;
}

void encodeDrop(JournalBytesOut& out, const document::DropStep& step)
{
    encodeOrder(out, step.drop.order);
    encodeCells(out, step.drop.renumbered);
    out.u32(static_cast<std::uint32_t>(step.drop.dropped.size()));
    for (const xom::Entry& entry : step.drop.dropped) {
        for (int column = 0; column < xom::ColumnCount; ++column)
            out.text(entry.cell(column));
    }
    out.u8(step.drop.countLowered ? 1 : 0);
    out.u32(static_cast<std::uint32_t>(step.droppedReviews.size()));
    for (const review::EntryReview& review : step.droppedReviews)
        encodeReview(out, review);
}

document::DropStep decodeDrop(JournalBytesIn& in)
{
    document::DropStep step;
    step.drop.order = decodeOrder(in);
    step.drop.renumbered = decodeCells(in);
    step.drop.dropped.resize(in.count(4 * xom::ColumnCount));
    for (xom::Entry& entry : step.drop.dropped) {
        for (int column = 0; column < xom::ColumnCount; ++column)
            entry.cell(column) = in.text();
    }
    step.drop.countLowered = in.u8() != 0;
    step.droppedReviews.resize(in.count(1 + 4 + 1));
    for (review::EntryReview& review : step.droppedReviews)
        review = decodeReview(in);
    // Reviews are kept for every dropped entry or for none.
    if (step.drop.dropped.size() > step.drop.order.size()
        || (!step.droppedReviews.empty() && step.droppedReviews.size() != step.drop.dropped.size()))
        throw BadRecord();
    return step;
}

} // namespace

void encodeStep(JournalBytesOut& out, const document::Step& step)
{
    const auto kind = static_cast<StepKind>(step.change.index() + 1);
    out.u8(static_cast<std::uint8_t>(kind));
    out.text(step.text);
    out.u8(step.changesFile ? 1 : 0);
    if (const auto* const cells = std::get_if<document::CellsStep>(&step.change)) {
        encodeCells(out, cells->changes);
    } else if (const auto* const add = std::get_if<document::AddStep>(&step.change)) {
        out.i32(add->gridRow);
        encodeAdd(out, add->add);
    } else if (const auto* const reorder = std::get_if<document::ReorderStep>(&step.change)) {
        encodeOrder(out, reorder->order);
    } else if (const auto* const move = std::get_if<document::MoveDownStep>(&step.change)) {
        encodeOrder(out, move->change.order);
        out.u32(static_cast<std::uint32_t>(move->change.clearedMarks.size()));
    } else if (const auto* const reviews = std::get_if<document::ReviewsStep>(&step.change)) {
        encodeReviewChanges(out, reviews->changes);
        encodeCells(out, reviews->cells);
    } else if (const auto* const edits = std::get_if<document::EditsStep>(&step.change)) {
        out.u32(static_cast<std::uint32_t>(edits->edits.size()));
        for (const xom::Edit& edit : edits->edits) {
            if (const auto* const cell = std::get_if<xom::CellChange>(&edit)) {
                out.u8(static_cast<std::uint8_t>(EditKind::Cell));
                encodeCell(out, *cell);
            } else {
                out.u8(static_cast<std::uint8_t>(EditKind::Add));
                encodeAdd(out, std::get<xom::AddChange>(edit));
            }
        }
        // The reviews follow only when there are any: a step of edits alone
        // keeps the bytes it had before steps held reviews.
        if (!edits->reviews.empty())
            encodeReviewChanges(out, edits->reviews);
    } else if (const auto* const drop = std::get_if<document::DropStep>(&step.change)) {
        encodeDrop(out, *drop);
    }
}

document::Step decodeStep(JournalBytesIn& in)
{
    document::Step step;
    const auto kind = static_cast<StepKind>(in.u8());
    step.text = in.text();
    step.changesFile = in.u8() != 0;
    switch (kind) {
    case StepKind::Cells:
        step.change = document::CellsStep{decodeCells(in)};
        break;
    case StepKind::Add: {
        document::AddStep add;
        add.gridRow = in.i32();
        add.add = decodeAdd(in);
        step.change = std::move(add);
        break;
    }
    case StepKind::Reorder:
        step.change = document::ReorderStep{decodeOrder(in)};
        break;
    case StepKind::MoveDown: {
        document::MoveDownStep move;
        move.change.order = decodeOrder(in);
        const std::uint32_t cleared = in.u32();
        if (cleared > move.change.order.size())
            throw BadRecord();
        move.change.clearedMarks.assign(cleared, xom::TextPool::EmptyText);
        step.change = std::move(move);
        break;
    }
    case StepKind::Edits: {
        document::EditsStep edits;
        const std::uint32_t count = in.count(smallestEdit);
        edits.edits.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto editKind = static_cast<EditKind>(in.u8());
            if (editKind == EditKind::Cell)
                edits.edits.emplace_back(decodeCell(in));
            else if (editKind == EditKind::Add)
                edits.edits.emplace_back(decodeAdd(in));
            else
                throw BadRecord();
        }
        if (!in.atEnd())
            edits.reviews = decodeReviewChanges(in);
        step.change = std::move(edits);
        break;
    }
    case StepKind::Reviews: {
        document::ReviewsStep reviews;
        reviews.changes = decodeReviewChanges(in);
        reviews.cells = decodeCells(in);
        step.change = std::move(reviews);
        break;
    }
    case StepKind::Drop:
        step.change = decodeDrop(in);
        break;
    default:
        throw BadRecord();
    }
    return step;
}

} // namespace recovery
