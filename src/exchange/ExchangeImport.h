#pragma once

#include "exchange/EntryImport.h"
#include "exchange/ExchangeFormat.h"

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

#include <QByteArrayView>

#include <vector>

namespace exchange {

// What an import did: the counts, with a report asked for each entry
// changed or added, and what the records said of their entries' reviews,
// in the order of the records.
struct ImportOutcome {
    ImportSummary summary;
    std::vector<ImportChange> report;
    std::vector<ReviewOfRecord> reviews;
};

// The one way an exchange file reaches the entries, for the command line
// and the editor alike: reads bytes as format and applies every record
// through EntryImport, recording each change in journal when given. Throws
// ImportError at the record refused; the entries and the model may then be
// partly changed, as the journal tells.
[[nodiscard]] ImportOutcome importExchangeFile(xom::EntryTable& entries, xom::LanguageModel& model,
    QByteArrayView bytes, ExchangeFormat format, const ImportOptions& options,
    std::vector<xom::Edit>* journal = nullptr);

} // namespace exchange
