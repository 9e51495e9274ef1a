#pragma once

#include "exchange/EntryImport.h"
#include "exchange/ExchangeFormat.h"

#include "xom/EntryTable.h"
#include "xom/TranslationReview.h"

#include <QByteArray>
#include <QStringView>

#include <vector>

namespace exchange {

// The CSV of the entries in grid order, as spreadsheets and CAT tools read
// it: a UTF-8 byte-order mark, the header record "number,name,text", then
// one record per entry, CR LF after every record. Every field is quoted
// (its quotes doubled), so that a spreadsheet told to read quoted fields as
// text keeps "00123", "=SUM(A1)", "+49", leading spaces, semicolons and
// tabs as they are; a text's line breaks stay inside the quotes as they are.
// With a reference, a fourth column "reference" holds each entry's reference
// text (empty for an entry without one). With reviews, two more columns
// follow: "state", the word of each entry's state (csvStateWord), and
// "note".
[[nodiscard]] QByteArray csvOfEntries(
    const xom::EntryTable& entries, const xom::TranslationReview* reference = nullptr, const ReviewOfRow& reviews = {});

// The word of a state in the state column: "needs review", "translated",
// "approved", empty for an unset one.
[[nodiscard]] QStringView csvStateWord(review::State state);

// The report of an import in the same form: the header
// "number,name,old text,new text", then one record per change or addition
// (an added entry's old text is empty).
[[nodiscard]] QByteArray csvOfChanges(const std::vector<ImportChange>& changes);

} // namespace exchange
