// The document's files, reference and undo history; its operations are in
// DocumentEdits.cpp.

#include "document/Document.h"

#include "exchange/ExchangeExport.h"

#include "xom/LanguageFileWriter.h"

namespace document {

namespace {

// std::visit over a step's change with one lambda per kind.
template <typename... Kinds> struct Overloaded : Kinds... {
    using Kinds::operator()...;
};
template <typename... Kinds> Overloaded(Kinds...) -> Overloaded<Kinds...>;

} // namespace

Document::Document(const History history, QObject* parent)
    : QObject(parent)
    , m_keepHistory(history)
{
    m_entries.rows.resize(1);
}

Document::~Document() = default;

void Document::open(xom::LoadedFile file, const QString& path)
{
    emit aboutToReset();
    m_model = std::move(file.model);
    m_entries = std::move(file.entries);
    m_path = path;
    if (m_review)
        m_review->recheckAll(m_entries);
    m_history.startOver();
    emit reset();
    if (m_review)
        emit reviewChanged();
    emit historyChanged();
    emit modifiedChanged();
}

void Document::saveAs(const QString& path, const xom::ProgressReport& progress)
{
    xom::saveLanguageFile(path, m_entries, m_model, progress);
    m_path = path;
    m_history.markSaved();
    emit modifiedChanged();
}

QByteArray Document::image()
{
    return xom::buildLanguageImage(m_entries, m_model);
}

QByteArray Document::exportAs(const exchange::ExchangeFormat format, const exchange::ExportContext& context) const
{
    return exchange::exportEntries(m_entries, m_review.get(), format, context);
}

void Document::openReference(xom::EntryTable reference, const QString& path)
{
    auto review = std::make_unique<xom::TranslationReview>(std::move(reference));
    review->recheckAll(m_entries);
    m_review = std::move(review);
    m_referencePath = path;
    emit referenceChanged();
    emit reviewChanged();
}

void Document::closeReference()
{
    if (!m_review)
        return;
    m_review.reset();
    m_referencePath.clear();
    emit referenceChanged();
    emit reviewChanged();
}

void Document::push(Step step)
{
    if (m_keepHistory == History::NotKept)
        return;
    const bool wasModified = isModified();
    m_history.push(std::move(step));
    emit historyChanged();
    if (isModified() != wasModified)
        emit modifiedChanged();
}

void Document::undo()
{
    if (m_history.canUndo())
        takeStep(true);
}

void Document::redo()
{
    if (m_history.canRedo())
        takeStep(false);
}

void Document::takeStep(const bool back)
{
    const bool wasModified = isModified();
    Step& step = back ? m_history.stepToUndo() : m_history.stepToRedo();
    if (back) {
        undoStep(step);
        m_history.stepBack();
    } else {
        redoStep(step);
        m_history.stepForward();
    }
    emit historyChanged();
    if (isModified() != wasModified)
        emit modifiedChanged();
    showConcerned(step, back);
}

void Document::redoStep(Step& step)
{
    std::visit(Overloaded{
                   [this](const CellsStep& cells) { applyCells(cells.changes, false); },
                   [this](AddStep& add) {
                       const int rowsBefore = m_entries.entryCount();
                       add.add.added = xom::addEntryReversibly(m_entries, m_model, add.add.name, add.add.text);
                       afterEdits(rowsBefore, {});
                   },
                   [this](const ReorderStep& reordering) {
                       reorder(reordering.order, false, [&] { xom::applyRowOrder(m_entries, reordering.order); });
                   },
                   [this](const MoveDownStep& move) {
                       reorder(move.change.order, false, [&] { xom::redoMoveDown(m_entries, move.change); });
                   },
                   [this](EditsStep& edits) {
                       const int rowsBefore = m_entries.entryCount();
                       xom::redoEdits(m_entries, m_model, edits.edits);
                       afterEdits(rowsBefore, edits.edits);
                   },
               },
        step.change);
}

void Document::undoStep(Step& step)
{
    std::visit(Overloaded{
                   [this](const CellsStep& cells) { applyCells(cells.changes, true); },
                   [this](const AddStep& add) {
                       const int rowsBefore = m_entries.entryCount();
                       xom::undoAddEntry(m_entries, m_model, add.add.added);
                       afterEdits(rowsBefore, {});
                   },
                   [this](const ReorderStep& reordering) {
                       reorder(reordering.order, true, [&] { xom::revertRowOrder(m_entries, reordering.order); });
                   },
                   [this](const MoveDownStep& move) {
                       reorder(move.change.order, true, [&] { xom::undoMoveDown(m_entries, move.change); });
                   },
                   [this](const EditsStep& edits) {
                       const int rowsBefore = m_entries.entryCount();
                       xom::undoEdits(m_entries, m_model, edits.edits);
                       afterEdits(rowsBefore, edits.edits);
                   },
               },
        step.change);
}

void Document::showConcerned(const Step& step, const bool undone)
{
    if (const auto* const cells = std::get_if<CellsStep>(&step.change)) {
        emit cellsConcerned(cells->changes);
    } else if (const auto* const add = std::get_if<AddStep>(&step.change)) {
        // Taken back, the entry leaves the one before it last.
        emit rowConcerned(undone ? add->gridRow - 1 : add->gridRow);
    } else {
        emit currentEntryConcerned();
    }
}

} // namespace document
