#pragma once

#include "cli/CsvReader.h"

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

namespace cli {

// Applies an edit CSV to a loaded file's entries record by record, as a
// user would by hand in the editor. The first record must be the header
// "number,name,text", or "number,name,text,reference" whose reference
// column is ignored; every other record has as many fields as the header. A number
// replaces the name and the text of the first entry whose number cell is
// exactly that text; an empty number adds the name and text as a new last
// entry exactly as Add does (the model counts it, and it takes the next
// number, which later records may use). Grid order is kept. Names and texts
// are taken as they are.
// Throws CsvError at the first record refused: the reader's own errors, no
// header, a wrong number of fields, a number that matches no entry. The
// entries and the model may then be partly changed; callers work on a copy
// they drop.
void applyCsvEdits(CsvReader& csv, xom::EntryTable& entries, xom::LanguageModel& model);

} // namespace cli
