#include "cli/FormatOption.h"

#include <optional>

namespace cli {

namespace {

const QString FormatOptionName = QStringLiteral("--format");

} // namespace

Option formatOption(const QString& exchangeOperand)
{
    return Option{FormatOptionName, QStringLiteral("csv|po|xliff"),
        QStringLiteral("the format of %1, whatever its extension").arg(exchangeOperand)};
}

exchange::ExchangeFormat formatOfExchangeFile(const Invocation& call, const QString& path)
{
    const std::optional<QString> named
        = call.has(FormatOptionName) ? std::optional(call.value(FormatOptionName)) : std::nullopt;
    const std::optional<exchange::ExchangeFormat> format = exchange::exchangeFormatOf(path, named);
    if (!format)
        throw UsageError(QStringLiteral("unknown format '%1' (csv, po or xliff)").arg(*named));
    return *format;
}

} // namespace cli
