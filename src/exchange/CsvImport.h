#pragma once

#include "exchange/CsvReader.h"
#include "exchange/EntryImport.h"

namespace exchange {

// Applies an edit CSV through import, record by record. The first record
// must be the header "number,name,text", which may go on with the columns
// "reference" (read past and ignored), "state" and "note", each at most
// once, in any order. Every other record has the fields number, name and
// text, and may add the others. Trailing empty fields, which a spreadsheet
// writes once anything stood in a further column, are ignored on every
// line, the header's included; a field left off the end is empty. Names,
// texts and notes are decoded with appendExchangeText. A state field holds
// a word of csvStateWord in any case, the empty one for an unset state, or
// the review file's word for a state ("needs-review").
// Throws ImportError at the first record refused: the reader's own errors,
// no header, an unknown or repeated column, a wrong number of fields, a
// field that is not UTF-8, an unknown state, and what import refuses.
void applyCsvEdits(CsvReader& csv, EntryImport& import);

} // namespace exchange
