// The document's files, reference and undo history; its operations are in
// DocumentEdits.cpp.

#include "document/Document.h"

#include "exchange/ExchangeExport.h"

#include "review/ReviewPairing.h"
#include "xom/FileErrors.h"
#include "xom/LanguageFileWriter.h"
#include "xom/WholeFile.h"

#include <QFileInfo>

#include <algorithm>

namespace document {

namespace {

// std::visit over a step's change with one lambda per kind.
template <typename... Kinds> struct Overloaded : Kinds... {
    using Kinds::operator()...;
};
template <typename... Kinds> Overloaded(Kinds...) -> Overloaded<Kinds...>;

// The previous bytes of the file a first save replaces, kept as NAME.bak by
// the same atomic write as a save. A file that is not there needs no
// backup; one that cannot be read or copied stops the save, which would
// otherwise replace the only copy.
void keepBackupOf(const QString& path)
{
    const xom::WholeFile old = xom::readWholeFile(path, std::numeric_limits<qint64>::max());
    if (old.status == xom::WholeFile::Status::Missing)
        return;
    const QString backup = path + QStringLiteral(".bak");
    if (old.status != xom::WholeFile::Status::Read)
        throw BackupError(path, backup);
    try {
        xom::writeLanguageFile(backup, old.bytes);
    } catch (const text::EditorError&) {
        throw BackupError(path, backup);
    }
}

} // namespace

BackupError::BackupError(const QString& path, const QString& backup)
    : EditorError(QStringLiteral("Cannot keep a backup of %1 as %2; nothing was saved. "
                                 "Backups can be turned off in the settings.")
                      .arg(path, backup))
{
}

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
    // The review of another file goes with it; takeReviewFile brings this
    // file's.
    m_entryReviews.clear();
    m_reviewAside.clear();
    m_languages = {};
    m_checkChoices = {};
    m_reviewFileRead = false;
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
    const QString file = QFileInfo(path).absoluteFilePath();
    if (m_backupBeforeFirstSave && !m_backedUp.contains(file)) {
        keepBackupOf(path);
        m_backedUp.insert(file);
    }
    xom::saveLanguageFile(path, m_entries, m_model, progress);
    // The review beside it, after it: a crash between the two leaves a
    // review whose fingerprint names the previous file.
    if (std::optional<review::ReviewFile> kept = reviewFileToSave()) {
        kept->language = review::fingerprintOfFile(path);
        xom::writeLanguageFile(review::reviewPathFor(path), review::writeReviewFile(*kept));
        m_reviewFileRead = true;
    }
    m_path = path;
    m_history.markSaved();
    emit modifiedChanged();
    emit saved();
}

QByteArray Document::image()
{
    return xom::buildLanguageImage(m_entries, m_model);
}

QByteArray Document::exportAs(const exchange::ExchangeFormat format, const exchange::ExportContext& context) const
{
    exchange::ExportContext withReviews = context;
    // A file without a review exports as it did before reviews were kept.
    if (!withReviews.review && !m_entryReviews.empty()) {
        withReviews.review = [this](const int row) {
            review::EntryReview kept = entryReview(row + 1);
            if (sourceChanged(row + 1))
                kept.state = review::State::NeedsReview;
            return kept;
        };
    }
    return exchange::exportEntries(m_entries, m_review.get(), format, std::move(withReviews));
}

void Document::openReference(xom::EntryTable reference, const QString& path)
{
    auto review = std::make_unique<xom::TranslationReview>(std::move(reference));
    review->setEnabledChecks(m_enabledChecks);
    review->setTextChecker(m_textChecker);
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
    emit stepPushed(m_history.stepToUndo());
    emit historyChanged();
    if (isModified() != wasModified)
        emit modifiedChanged();
}

void Document::replayStep(Step step)
{
    redoStep(step);
    push(std::move(step));
}

void Document::adoptStep(Step step, const AdoptedAs as)
{
    if (m_keepHistory == History::NotKept)
        return;
    // A step read back names the marks Move Down cleared by their text,
    // which is "x" for every one of them.
    if (auto* const move = std::get_if<MoveDownStep>(&step.change))
        std::fill(move->change.clearedMarks.begin(), move->change.clearedMarks.end(), m_entries.texts.intern(u"x"));
    const bool wasModified = isModified();
    if (as == AdoptedAs::DoneBelow)
        m_history.insertDoneBelow(std::move(step));
    else
        m_history.appendUndone(std::move(step));
    emit historyChanged();
    if (isModified() != wasModified)
        emit modifiedChanged();
}

void Document::restoreMarks(const std::vector<xom::CellChange>& marks)
{
    if (!marks.empty())
        applyCells(marks, false);
}

void Document::markFileReplaced()
{
    const bool wasModified = isModified();
    m_history.markNoneSaved();
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
    emit stepTaken(step, back);
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
                       if (!edits.reviews.empty())
                           applyReviews(edits.reviews, false);
                   },
                   [this](const ReviewsStep& reviews) {
                       if (!reviews.cells.empty())
                           applyCells(reviews.cells, false);
                       applyReviews(reviews.changes, false);
                   },
                   [this](DropStep& drop) { redoDrop(drop); },
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
                       // The reviews first: the rows an import added are
                       // still there.
                       if (!edits.reviews.empty())
                           applyReviews(edits.reviews, true);
                       const int rowsBefore = m_entries.entryCount();
                       xom::undoEdits(m_entries, m_model, edits.edits);
                       afterEdits(rowsBefore, edits.edits);
                   },
                   [this](const ReviewsStep& reviews) {
                       applyReviews(reviews.changes, true);
                       if (!reviews.cells.empty())
                           applyCells(reviews.cells, true);
                   },
                   [this](const DropStep& drop) { undoDrop(drop); },
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
    } else if (const auto* const reviews = std::get_if<ReviewsStep>(&step.change)) {
        if (!reviews->cells.empty())
            emit cellsConcerned(reviews->cells);
        else
            emit rowConcerned(reviews->changes.front().gridRow);
    } else {
        emit currentEntryConcerned();
    }
}

} // namespace document
