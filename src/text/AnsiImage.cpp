#include "text/AnsiImage.h"

#include "text/TextRuntime.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

namespace text {

namespace {

// Room for the units of short texts on the stack; longer ones allocate.
using UnitBuffer = QVarLengthArray<char16_t, 256>;

} // namespace

QByteArray ToAnsiImage(const QStringView text)
{
    QByteArray image;
    appendAnsiImage(text, image);
    return image;
}

void appendAnsiImage(const QStringView text, QByteArray& out)
{
    if (!text.isEmpty())
        textRuntime().codePage().appendImage(text, out);
}

char* writeAnsiImage(const QStringView text, char* const out) noexcept
{
    return textRuntime().codePage().writeImage(text, out);
}

int ansiImageBytesPerUnit() noexcept
{
    return textRuntime().codePage().maxBytesPerUnit();
}

QString fromAnsiImage(const QByteArrayView image)
{
    QString text(image.size(), Qt::Uninitialized);
    const qsizetype length = textRuntime().codePage().decode(image, reinterpret_cast<char16_t*>(text.data()));
    text.resize(length);
    return text;
}

int CompareAnsiOrdinal(const QByteArrayView a, const QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int c = common != 0 ? std::memcmp(a.data(), b.data(), static_cast<std::size_t>(common)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QByteArray ansiTextSortKey(const QStringView text)
{
    // The image decoded back, made unit by unit from the code page's tables
    // without the image itself.
    TextRuntime& runtime = textRuntime();
    UnitBuffer units(text.size());
    const qsizetype length = runtime.codePage().roundTrip(text, units.data());
    return runtime.collator(false).sortKey({units.data(), static_cast<std::size_t>(length)});
}

} // namespace text
