#pragma once

#include "exchange/ExchangeFormat.h"

#include "xom/EntryTable.h"
#include "xom/TranslationReview.h"

#include <QByteArray>
#include <QString>

namespace exchange {

// What exported files name as the program that wrote them, whichever of
// the window and the command line did: the same entries give the same
// bytes from both.
[[nodiscard]] QString exportGenerator();

// The context of an export of the language file at path beside the
// reference at referencePath (empty: none): the file's name as the project,
// the languages their names give (see languageOfFileName), and a CSV's
// state and note columns when any entry has a state or a note.
[[nodiscard]] ExportContext exportContextOf(const QString& path, const QString& referencePath);

// The entries written as format (see csvOfEntries, poOfEntries,
// xliffOfEntries). With a reference given, each entry's reference text goes
// beside its text: CSV's fourth column, PO's msgid, XLIFF's source, unless
// the context already says where sources come from. The context's reviews,
// when it has them, go beside the texts as each format carries them: a
// PO's translator comments, fuzzy flag and previous msgid, an XLIFF
// target's state and notes, a CSV's state and note columns as the context
// asks. Throws ExportError.
[[nodiscard]] QByteArray exportEntries(const xom::EntryTable& entries, const xom::TranslationReview* reference,
    ExchangeFormat format, ExportContext context);

} // namespace exchange
