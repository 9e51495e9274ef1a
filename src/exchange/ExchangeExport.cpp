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
    context.reviewColumns = ReviewColumns::WhenAnyKept;
    return context;
}

namespace {

// Whether the CSV of the entries gets the state and note columns.
[[nodiscard]] bool csvWithReviews(const xom::EntryTable& entries, const ExportContext& context)
{
    if (!context.review || context.reviewColumns == ReviewColumns::Never)
        return false;
    if (context.reviewColumns == ReviewColumns::Always)
        return true;
    for (int row = 0; row < entries.entryCount(); ++row) {
        const review::EntryReview kept = context.review(row);
        if (kept.state != review::State::Unset || !kept.note.isEmpty())
            return true;
    }
    return false;
}

} // namespace

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
    case ExchangeFormat::Csv: {
        // Asked for without reviews, the columns are there, and empty.
        ReviewOfRow reviews;
        if (csvWithReviews(entries, context))
            reviews = context.review;
        else if (context.reviewColumns == ReviewColumns::Always)
            reviews = [](int) { return review::EntryReview{}; };
        return csvOfEntries(entries, reference, reviews);
    }
    case ExchangeFormat::Po:
        return poOfEntries(entries, context);
    case ExchangeFormat::Xliff:
        return xliffOfEntries(entries, context);
    }
    return {};
}

} // namespace exchange
