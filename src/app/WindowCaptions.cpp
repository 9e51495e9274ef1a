#include "app/WindowCaptions.h"

#include <algorithm>

namespace app {

QString applicationTitle()
{
    return QStringLiteral("Ludra Language Editor v2.0");
}

QString startCaption()
{
    return QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] by Tamsik");
}

QString loadedCaption(const QStringView path)
{
    return QStringLiteral("LudraLanguageEditor v.2.0 [Unicode]  - [%1]").arg(fileNameOf(path));
}

QString savedCaption(const QStringView path)
{
    return QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] - [%1]").arg(fileNameOf(path));
}

QString fileNameOf(const QStringView path)
{
    // Both separators count: the user may pick a file on a Windows share.
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(separator + 1).toString();
}

} // namespace app
