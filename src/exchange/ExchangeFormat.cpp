#include "exchange/ExchangeFormat.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace exchange {

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
    if (path.endsWith(u".po", Qt::CaseInsensitive) || path.endsWith(u".pot", Qt::CaseInsensitive))
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

QString languageOfFileName(const QString& path)
{
    // "lang_" then a two- or three-letter language, an optional region or
    // script, then the extension: lang_de.xom, lang_pt_BR.xom, lang_zh-Hant.xom.
    static const QRegularExpression name(
        QStringLiteral("^lang_([a-z]{2,3})(?:[_-]([A-Za-z]{4}|[A-Z]{2}|[0-9]{3}))?\\.[^.]+$"));
    const QRegularExpressionMatch match = name.match(QFileInfo(path).fileName());
    if (!match.hasMatch())
        return QStringLiteral("und");
    const QString region = match.captured(2);
    return region.isEmpty() ? match.captured(1) : match.captured(1) + u'-' + region;
}

} // namespace exchange
