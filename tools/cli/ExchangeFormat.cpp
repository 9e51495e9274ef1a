#include "cli/ExchangeFormat.h"

namespace cli {

std::optional<ExchangeFormat> exchangeFormatOf(const QString& path, const std::optional<QString>& option)
{
    if (option) {
        if (*option == u"csv")
            return ExchangeFormat::Csv;
        if (*option == u"po")
            return ExchangeFormat::Po;
        if (*option == u"xliff")
            return ExchangeFormat::Xliff;
        return std::nullopt;
    }
    if (path.endsWith(u".po", Qt::CaseInsensitive))
        return ExchangeFormat::Po;
    if (path.endsWith(u".xlf", Qt::CaseInsensitive) || path.endsWith(u".xliff", Qt::CaseInsensitive))
        return ExchangeFormat::Xliff;
    return ExchangeFormat::Csv;
}

QString referenceOrOwn(const ReferenceOfRow& reference, const int row, const QString& ownText)
{
    if (reference) {
        if (std::optional<QString> text = reference(row))
            return *std::move(text);
    }
    return ownText;
}

} // namespace cli
