#include "xom/EntryNumber.h"

namespace xom {

int canonicalEntryNumber(const QString& cell, const int limit)
{
    const qsizetype length = cell.size();
    if (length == 0 || length > 10 || cell.front() == u'0')
        return -1;
    qint64 value = 0;
    for (const QChar c : cell) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value < limit ? static_cast<int>(value) : -1;
}

} // namespace xom
