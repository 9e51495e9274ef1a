#pragma once

#include "exchange/EntryImport.h"
#include "exchange/ExchangeFormat.h"

#include "xom/EntryTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace exchange {

// An XLIFF 1.2 document of the entries: one file element named project,
// then one trans-unit per entry in grid order,
//
//   <trans-unit id="12" resname="FE.Menu.Start" xml:space="preserve">
//     <source>the reference text, or the entry's own</source>
//     <target state="translated">the entry's text</target>
//     <note>the entry's note</note>
//   </trans-unit>
//
// The target's state is the entry's review state, where it has one:
// "needs-review-translation", "translated", "final" (approved); a note only
// for an entry that has one.
// UTF-8 without a byte-order mark. '&', '<' and '>' are escaped everywhere,
// a CR as "&#13;" (which XML would otherwise turn into an LF), and in
// attributes '"', tab and LF too, so every text survives exactly. The file
// element names the languages of the context. Throws ExportError naming the
// entry and the character for what XML 1.0 cannot hold: control codes other
// than tab, LF and CR, U+FFFE, U+FFFF and lone surrogates.
[[nodiscard]] QByteArray xliffOfEntries(const xom::EntryTable& entries, const ExportContext& context);

// Applies an XLIFF 1.2 document through import: each trans-unit is a record
// for the number in its id, with the name in its resname and its target's
// text; a missing or empty target keeps the entry's text. The target's
// state names the entry's review state (needs-review-* NeedsReview,
// translated Translated, final and signed-off Approved); the other states
// that are not final (new, needs-translation, needs-adaptation, …) on a
// target with a text, and a unit marked approved="no" or translate="no",
// say it is unfinished. The
// unit's notes, joined by LF, are its note. Throws ImportError at the line
// of malformed XML, a trans-unit without a numeric id or without a resname,
// markup inside a target or a note, and what import refuses.
void applyXliffEdits(QByteArrayView xliff, EntryImport& import);

} // namespace exchange
