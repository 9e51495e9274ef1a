#pragma once

#include "document/ReferenceUpdate.h"
#include "document/UndoHistory.h"

#include "exchange/ExchangeFormat.h"
#include "exchange/ExchangeImport.h"

#include "text/EditorError.h"

#include "xom/EntryTable.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageModel.h"
#include "xom/ProgressReport.h"
#include "xom/ReversibleOperations.h"
#include "xom/TableSearch.h"
#include "xom/TranslationReview.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace document {

// A first save over an existing file could not keep that file's bytes as
// NAME.bak first, and saved nothing.
class BackupError : public text::EditorError {
public:
    BackupError(const QString& path, const QString& backup);
};

// An open language file: the loaded file's model, its entries, the
// reference language beside it and the review of the entries against it,
// the undo history, the path it was loaded from or last saved to, and
// whether its entries differ from that file. The window and ludra-lang both
// work on one; views follow it through its signals and own nothing.
//
// Every change of the entries is an operation here and, while the history
// is kept, one undo step. Operations that fail throw before they change
// anything (an import that is refused takes back what it made).
//
// Signals come in the order views need them: aboutToReset before a load
// replaces everything and reset after; aboutToReorder before rows move and
// reordered (or reorderAbandoned) after; rows added or removed at the end
// and cells changed are told once they are done, and views compare their
// own row count.
class Document final : public QObject {
    Q_OBJECT

public:
    // How a document keeps its history. A run of ludra-lang takes nothing
    // back: it keeps no history, and a replace then holds nothing of what
    // each cell was.
    enum class History { Kept, NotKept };

    // The document of a window that loaded nothing: one empty entry.
    explicit Document(History history = History::Kept, QObject* parent = nullptr);
    ~Document() override;

    [[nodiscard]] const xom::LanguageModel& model() const noexcept { return m_model; }
    [[nodiscard]] const xom::EntryTable& entries() const noexcept { return m_entries; }
    // The file last loaded or saved; empty before the first load.
    [[nodiscard]] const QString& path() const noexcept { return m_path; }
    [[nodiscard]] bool isLoaded() const noexcept { return !m_path.isEmpty(); }
    // Whether the entries differ from the file last loaded or saved as a
    // save would write them. Nothing counts before a file was loaded.
    [[nodiscard]] bool isModified() const { return isLoaded() && m_history.unsaved(); }
    [[nodiscard]] const UndoHistory& history() const noexcept { return m_history; }

    // The review against the reference; nothing while none is open.
    [[nodiscard]] const xom::TranslationReview* review() const noexcept { return m_review.get(); }
    [[nodiscard]] const QString& referencePath() const noexcept { return m_referencePath; }

    // Files.
    // Takes a loaded file whole: its entries, its model and its path; the
    // history of the previous file ends with it. The reference stays and
    // reviews the new entries.
    void open(xom::LoadedFile file, const QString& path);
    // The whole save to path (see xom::saveLanguageFile). On success the
    // document's file is path and it has no unsaved changes; a failure
    // throws and changes neither.
    void saveAs(const QString& path, const xom::ProgressReport& progress = {});
    // Whether the first save over an existing file keeps that file's bytes
    // beside it as NAME.bak first (the window's setting; off by default, so
    // ludra-lang writes no backups).
    void setBackupBeforeFirstSave(bool keep) noexcept { m_backupBeforeFirstSave = keep; }
    // The bytes a save would write (see xom::buildLanguageImage), for a
    // save to a stream.
    [[nodiscard]] QByteArray image();

    // The entries written as format, the reference's texts beside them while
    // one is open, and their reviews as the context asks (see
    // exchange::exportEntries): an entry whose source changed is written as
    // needing review. Throws ExportError.
    [[nodiscard]] QByteArray exportAs(exchange::ExchangeFormat format, const exchange::ExportContext& context) const;

    // The review kept beside the file (review::ReviewFile): each entry's
    // state, note and snapshot, following its entry through every
    // operation. Entries without one have the empty review.
    [[nodiscard]] const review::EntryReview& entryReview(int gridRow) const;
    // Whether any entry has had a review since the file was opened.
    [[nodiscard]] bool keepsReviews() const noexcept { return !m_entryReviews.empty(); }
    // The lines of the review file read beside the file that name entries
    // it does not have: kept aside, and written back by every save.
    [[nodiscard]] const std::vector<review::ReviewLine>& reviewKeptAside() const noexcept { return m_reviewAside; }
    // Takes the review file read beside the file just opened: each line
    // goes to the entry of its name (of its number too, where several
    // share the name); the others are kept aside. Gives how many were.
    int takeReviewFile(review::ReviewFile file);
    // What a save writes beside the file: a line for every entry that
    // keeps anything and every line kept aside, in the order of their
    // numbers; nothing when there is nothing to keep and no review file
    // was read.
    [[nodiscard]] std::optional<review::ReviewFile> reviewFileToSave() const;
    // The languages of the reference and of the file as a translator gave
    // them, kept in the review file; empty when never given. Setting them
    // is no step and no change of the file: the next save writes them.
    [[nodiscard]] const review::ReviewLanguages& languages() const noexcept { return m_languages; }
    void setLanguages(review::ReviewLanguages languages) { m_languages = std::move(languages); }
    // The checks a translator turned on or off for this file and its length
    // limits, kept in the review file as the languages are.
    [[nodiscard]] const review::ReviewChecks& checkChoices() const noexcept { return m_checkChoices; }
    void setCheckChoices(review::ReviewChecks choices) { m_checkChoices = std::move(choices); }
    // What the review runs (see xom::TranslationReview): its own checks that
    // count and a checker of texts. Kept for each reference opened from now
    // on; the review open now is rechecked at once.
    void setReviewChecks(xom::Checks enabled, xom::TranslationReview::TextChecker checker);
    // Sets entries' reviews (a state, a note, a snapshot) as one step, with
    // any cell texts that change with them.
    bool setEntryReviews(
        std::vector<ReviewChange> changes, const QString& what, std::vector<xom::CellChange> cells = {});
    // The Edit dialog accepted on an entry's text: the text set (where it
    // changed) and the entry translated, its snapshot the reference's text
    // now while a reference is open; one step, "Edit".
    bool acceptText(int gridRow, const QString& text);
    // Approves the entry (its snapshot the reference's text now), or takes
    // an approval back to translated: "Approve" or "Unapprove".
    bool toggleApproved(int gridRow);
    // Whether the reference's text of the entry at gridRow is no longer the
    // one its translation was accepted against (its snapshot). Only with a
    // reference open and a snapshot kept.
    [[nodiscard]] bool sourceChanged(int gridRow) const;
    // Whether the entry at gridRow asks for a translator's look: it needs
    // review, its source changed, or (with a reference open) it fails a
    // check.
    [[nodiscard]] bool wantsReview(int gridRow) const;

    // Opens (or replaces) the reference language and reviews every entry.
    void openReference(xom::EntryTable reference, const QString& path);
    void closeReference();

    // Operations: each one undo step named as the Undo item names it, made
    // only when it changes something; each gives whether it did.
    // Any number of cell texts set at once, as an edit, a replace over many
    // cells or a copy of the reference does.
    bool setCellTexts(std::vector<xom::CellChange> changes, const QString& what);
    // The mark of the entry at gridRow set or cleared: "Toggle Mark".
    bool toggleMark(int gridRow);
    // Add (see xom::addEntry): the new last entry.
    xom::AddedEntry addEntry(const QString& name, const QString& text);
    // Move Down: the marked entries go to the end, their marks cleared.
    bool moveDown();
    // Sort by name; rows already in order are no step.
    bool sortByName(const xom::ProgressReport& progress = {});
    // Find and Replace (see xom::TableSearch): the matches of search from a
    // place, after a match or before a place, wrapping round, and their
    // count.
    [[nodiscard]] std::optional<xom::CellMatch> findNext(
        const xom::TableSearch& search, const xom::CellPosition& from) const;
    [[nodiscard]] std::optional<xom::CellMatch> findAfter(
        const xom::TableSearch& search, const xom::CellMatch& current) const;
    [[nodiscard]] std::optional<xom::CellMatch> findPrevious(
        const xom::TableSearch& search, const xom::CellPosition& before) const;
    [[nodiscard]] xom::MatchTally countMatches(const xom::TableSearch& search) const;
    // Replaces current if it is still a match at its place: "Replace".
    // Gives where the search goes on; nothing when it was no match.
    std::optional<xom::CellPosition> replaceMatch(
        const xom::TableSearch& search, const xom::CellMatch& current, const QString& replacement);
    // Every match of search replaced: "Replace All".
    xom::MatchTally replaceAll(const xom::TableSearch& search, const QString& replacement);
    // Carries the translation to a new version of its reference, entry by
    // entry as ReferenceUpdate tells: "Update from New Reference", one step
    // even when it adds entries, made only when it changes something. The
    // new reference is then the one open (that is no step of its own, as
    // opening a reference is none). oldReference, when given, stands in for
    // the snapshots that entries lack.
    UpdateResult updateToReference(
        xom::EntryTable newReference, const QString& path, const xom::EntryTable* oldReference = nullptr);
    // Drops the entries an update found no longer in the reference:
    // "Drop Removed Entries". result then tells it (their outcome Dropped,
    // the other entries at their new rows). Gives how many were dropped.
    int dropRemovedEntries(UpdateResult& result);
    // Drops the entries at gridRows (see xom::EntryDrop) with their reviews,
    // as one step named what; the entries after them are renumbered. Gives
    // how many were dropped.
    int dropEntries(const std::vector<int>& gridRows, const QString& what);
    // Applies an exchange file (see exchange::importExchangeFile): "Import".
    // What its records say of their entries' states and notes is applied
    // with the texts, in the same step (see exchange::importedReview), and
    // counted in the summary. A file refused throws ImportError and leaves
    // the entries and their reviews as they were.
    exchange::ImportOutcome importExchange(
        QByteArrayView bytes, exchange::ExchangeFormat format, const exchange::ImportOptions& options);

    // The undo history.
    void undo();
    void redo();

    // Recovery from a journal of this document's steps. replayStep makes a
    // step again and pushes it as it was first pushed; adoptStep puts a step
    // made before the journal began into the history as it stood there
    // without touching the entries: done below every other step, or undone
    // above them. The caller checks that a step fits the entries.
    enum class AdoptedAs { DoneBelow, UndoneAbove };
    void replayStep(Step step);
    void adoptStep(Step step, AdoptedAs as);
    // Sets marks as they stood when a journal began, as no step: marks are
    // never saved, so a file loaded again has lost them.
    void restoreMarks(const std::vector<xom::CellChange>& marks);
    // The file on disk is no longer what the history counts as saved: a
    // recovery replayed onto the bytes it recorded, which were replaced
    // since.
    void markFileReplaced();

signals:
    void aboutToReset();
    void reset();
    void aboutToReorder();
    // After a reordering: row i holds the row that stood at order[i], or,
    // reverting, the row at order[i] went back to i.
    void reordered(const xom::RowOrder& order, bool reverting);
    // A reordering failed before a row moved.
    void reorderAbandoned();
    // Rows were added at the end or removed from it.
    void rowCountChanged();
    // These cells' texts were set (the list lasts until the handler
    // returns).
    void cellsChanged(const std::vector<xom::CellChange>& changes);
    // A reference was opened, replaced or closed.
    void referenceChanged();
    // The review's results may have changed.
    void reviewChanged();
    // These entries' reviews changed (the list lasts until the handler
    // returns).
    void reviewsChanged(const std::vector<document::ReviewChange>& changes);
    // A step was pushed, undone or redone, or the history started over.
    void historyChanged();
    // isModified() may have changed.
    void modifiedChanged();
    // For a journal of the history: a step was pushed, or undone or redone
    // (the step, which lasts until the handler returns); the entries were
    // saved to path().
    void stepPushed(const document::Step& step);
    void stepTaken(const document::Step& step, bool undone);
    void saved();

    // What an undo or redo concerned, for the views to show: these cells,
    // the row (an Add made or taken back), or the current entry, which
    // followed its row.
    void cellsConcerned(const std::vector<xom::CellChange>& changes);
    void rowConcerned(int gridRow);
    void currentEntryConcerned();

private:
    // The primitives every operation, undo and redo is made of; each keeps
    // the review current and tells the views.
    void applyCells(const std::vector<xom::CellChange>& changes, bool reverting);
    void reorder(const xom::RowOrder& order, bool reverting, const std::function<void()>& reordering);
    void afterEdits(int rowsBefore, const std::vector<xom::Edit>& edits);
    void recheckCells(const std::vector<xom::CellChange>& changes);
    void applyReviews(const std::vector<ReviewChange>& changes, bool reverting);
    void redoDrop(DropStep& step);
    void undoDrop(const DropStep& step);
    [[nodiscard]] std::optional<QString> snapshotNow(int gridRow) const;
    // The review changes an import's records ask for, on the entries as
    // its edits left them.
    [[nodiscard]] std::vector<ReviewChange> importedReviews(const std::vector<exchange::ReviewOfRecord>& said) const;
    // The entries' reviews follow their rows: reordered with them, and
    // sized to them after rows came or went at the end.
    void reorderReviews(const xom::RowOrder& order, bool reverting);
    void fitReviewsToRows();
    void recheckAll();

    void push(Step step);
    // Undoes the step below the history's index (back) or redoes the one
    // above it, and tells what it concerned.
    void takeStep(bool back);
    void redoStep(Step& step);
    void undoStep(Step& step);
    void showConcerned(const Step& step, bool undone);

    History m_keepHistory;
    xom::LanguageModel m_model;
    xom::EntryTable m_entries;
    std::unique_ptr<xom::TranslationReview> m_review;
    UndoHistory m_history;
    QString m_path;
    QString m_referencePath;
    bool m_backupBeforeFirstSave = false;
    // Parallel to the rows once any entry has a review; empty before.
    std::vector<review::EntryReview> m_entryReviews;
    std::vector<review::ReviewLine> m_reviewAside;
    review::ReviewLanguages m_languages;
    review::ReviewChecks m_checkChoices;
    xom::Checks m_enabledChecks = ~xom::Checks();
    xom::TranslationReview::TextChecker m_textChecker;
    // Whether a review file was read beside the file: a save then writes
    // one even when nothing is left to keep.
    bool m_reviewFileRead = false;
    // The files this document has kept a backup of (or found none of):
    // a later save over one needs none.
    std::set<QString> m_backedUp;
};

} // namespace document
