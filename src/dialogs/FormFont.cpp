#include "dialogs/FormFont.h"

namespace dialogs {

QFont formFont(const int pixelSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace dialogs
