#include "exchange/ExchangeExport.h"

#include "exchange/CsvWriter.h"
#include "exchange/PoFile.h"
#include "exchange/XliffFile.h"

#include <QFileInfo>

namespace exchange {

QString exportGenerator()
{
    return QStringLiteral("ludra-lang %1").arg(QLatin1StringView(LUDRA_VERSION));
}

ExportContext exportContextOf(const QString& path, const QString& referencePath)
{
    ExportContext context;
    context.project = QFileInfo(path).fileName();
    context.generator = exportGenerator();
    context.targetLanguage = languageOfFileName(path);
    context.sourceLanguage = languageOfFileName(referencePath);
    return context;
}

QByteArray exportEntries(const xom::EntryTable& entries, const xom::TranslationReview* reference,
    const ExchangeFormat format, ExportContext context)
{
    // PO and XLIFF take the reference text as the message's source; an entry
    // whose name the reference lacks keeps its own text there.
    if (reference && !context.reference) {
        context.reference = [&entries, reference](const int row) -> std::optional<QString> {
            const std::optional<QStringView> text = reference->referenceTextOf(entries.name(row));
            return text ? std::optional(text->toString()) : std::nullopt;
        };
    }
    switch (format) {
    case ExchangeFormat::Csv:
        return csvOfEntries(entries, reference);
    case ExchangeFormat::Po:
        return poOfEntries(entries, context);
    case ExchangeFormat::Xliff:
        return xliffOfEntries(entries, context);
    }
    return {};
}

} // namespace exchange
