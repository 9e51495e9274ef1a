#pragma once

#include "exchange/CsvReader.h"
#include "exchange/EntryImport.h"

namespace exchange {

// Applies an edit CSV through import, record by record. The first record
// must be the header "number,name,text", or "number,name,text,reference"
// (the reference column is read past and ignored). Every other record has
// the fields number, name and text, and may add the reference. Trailing
// empty fields, which a spreadsheet writes once anything stood in a further
// column, are ignored on every line, the header's included. Names and texts
// are decoded with appendExchangeText.
// Throws ImportError at the first record refused: the reader's own errors,
// no header, a wrong number of fields, a field that is not UTF-8, and what
// import refuses.
void applyCsvEdits(CsvReader& csv, EntryImport& import);

} // namespace exchange
