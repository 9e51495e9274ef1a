#include "app/UserSettings.h"

namespace app {

std::unique_ptr<QSettings> openUserSettings()
{
    return std::make_unique<QSettings>(
        QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ludra"), QStringLiteral("LanguageEditor"));
}

} // namespace app
