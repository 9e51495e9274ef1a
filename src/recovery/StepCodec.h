#pragma once

#include "document/UndoHistory.h"
#include "recovery/JournalBytes.h"

namespace recovery {

// An undo step as the journal holds it: its name, whether it changes the
// file, and what it did, all texts whole. Move Down keeps its arrangement
// and how many marks it cleared: it clears only marks that are exactly "x".
void encodeStep(JournalBytesOut& out, const document::Step& step);
// Throws BadRecord when the bytes hold no whole step.
[[nodiscard]] document::Step decodeStep(JournalBytesIn& in);

} // namespace recovery
