#pragma once

#include "xom/EntryTable.h"

#include <QByteArray>

namespace cli {

// The CSV of the entries in grid order, as spreadsheets and CAT tools read
// it: a UTF-8 byte-order mark, the header record "number,name,text", then
// one record per entry, CR LF after every record. A field is quoted (its
// quotes doubled) when it holds a comma, a quote, a CR or an LF; a text's
// line breaks stay inside the quotes as they are.
[[nodiscard]] QByteArray csvOfEntries(const xom::EntryTable& entries);

} // namespace cli
