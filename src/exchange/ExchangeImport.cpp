#include "exchange/ExchangeImport.h"

#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
#include "exchange/PoFile.h"
#include "exchange/XliffFile.h"

namespace exchange {

ImportOutcome importExchangeFile(xom::EntryTable& entries, xom::LanguageModel& model, const QByteArrayView bytes,
    const ExchangeFormat format, const ImportOptions& options, std::vector<xom::Edit>* journal)
{
    ImportOutcome outcome;
    EntryImport import(entries, model, options, options.report ? &outcome.report : nullptr, journal, &outcome.reviews);
    switch (format) {
    case ExchangeFormat::Csv: {
        CsvReader reader(bytes);
        applyCsvEdits(reader, import);
        break;
    }
    case ExchangeFormat::Po:
        applyPoEdits(bytes, import);
        break;
    case ExchangeFormat::Xliff:
        applyXliffEdits(bytes, import);
        break;
    }
    import.finish();
    outcome.summary = import.summary();
    return outcome;
}

} // namespace exchange
