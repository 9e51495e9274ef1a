// Placeholder until the ICU-backed implementation lands.
#include "text/AnsiImage.h"

#include <algorithm>
#include <cstring>

namespace text {

QByteArray ToAnsiImage(QStringView text)
{
    QByteArray out;
    appendAnsiImage(text, out);
    return out;
}

void appendAnsiImage(QStringView text, QByteArray& out)
{
    for (const QChar c : text)
        out.append(c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?');
}

QString fromAnsiImage(QByteArrayView image)
{
    return QString::fromLatin1(image);
}

int CompareAnsiOrdinal(QByteArrayView a, QByteArrayView b)
{
    const auto n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.data(), b.data(), static_cast<std::size_t>(n)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CompareAnsiText(QByteArrayView a, QByteArrayView b)
{
    return QString::compare(fromAnsiImage(a), fromAnsiImage(b), Qt::CaseInsensitive);
}

QByteArray ansiTextSortKey(QStringView text)
{
    return ToAnsiImage(text).toLower();
}

} // namespace text
