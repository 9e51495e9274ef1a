// Placeholder until the full parser lands.
#include "text/Decimal.h"

#include "text/EditorError.h"

namespace text {

QString FormatDecimal(qint32 value)
{
    return QString::number(value);
}

qint32 ParseDecimal(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw ConvertError(text.toString());
    return value;
}

} // namespace text
