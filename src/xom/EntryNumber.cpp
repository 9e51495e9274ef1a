#include "xom/EntryNumber.h"

namespace xom {

qint64 plainDecimalValue(const QStringView number) noexcept
{
    if (number.isEmpty() || number.size() > 10 || (number.size() > 1 && number[0] == u'0'))
        return -1;
    qint64 value = 0;
    for (const QChar c : number) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= 0x7FFF'FFFF ? value : -1;
}

} // namespace xom
