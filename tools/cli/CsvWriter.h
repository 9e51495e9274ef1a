#pragma once

#include "xom/EntryTable.h"
#include "xom/TranslationReview.h"

#include <QByteArray>

namespace cli {

// The CSV of the entries in grid order, as spreadsheets and CAT tools read
// it: a UTF-8 byte-order mark, the header record "number,name,text", then
// one record per entry, CR LF after every record. A field is quoted (its
// quotes doubled) when it holds a comma, a quote, a CR or an LF; a text's
// line breaks stay inside the quotes as they are.
// With a reference, a fourth column "reference" holds each entry's reference
// text (empty for an entry without one).
[[nodiscard]] QByteArray csvOfEntries(
    const xom::EntryTable& entries, const xom::TranslationReview* reference = nullptr);

} // namespace cli
