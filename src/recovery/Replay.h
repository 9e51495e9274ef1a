#pragma once

#include "document/Document.h"
#include "recovery/JournalFormat.h"

namespace recovery {

struct ReplayOutcome {
    // The changes made again (pushes, undos and redos) and how many the
    // journal holds.
    int replayed = 0;
    int recorded = 0;
    // Where the journal's records that were taken end: a journal goes on
    // from there.
    qsizetype takenBytes = 0;
    // The reference open when the last change taken was made; empty when
    // none was.
    QString referencePath;

    [[nodiscard]] bool complete() const noexcept { return replayed == recorded; }
};

// Makes the journal's changes again on document, which holds the file the
// journal began on: the steps, undos and redos in order, so that the
// entries, the history and what counts as unsaved are as they were. Stops
// at the first change that does not fit the entries as they are then (a
// row that is not there, a cell whose text is not the one the change
// found, an undo with nothing to undo), so that nothing is ever replayed
// onto other texts.
[[nodiscard]] ReplayOutcome replayJournal(document::Document& document, const ReadJournal& journal);

} // namespace recovery
