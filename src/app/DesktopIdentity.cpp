#include "app/DesktopIdentity.h"

#include <QGuiApplication>
#include <QIcon>

namespace app {

QString desktopId()
{
    return QStringLiteral("org.ludra.LanguageEditor");
}

void setDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(desktopId());
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(desktopId())));
}

} // namespace app
