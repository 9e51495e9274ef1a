#pragma once

#include <QSettings>

#include <memory>

namespace app {

// The user's settings of the editor (recent files, the window's geometry),
// in the user's configuration folder under one fixed name, whatever the
// application's name. Tests point Qt's settings path at a folder of their
// own before the first settings are made.
[[nodiscard]] std::unique_ptr<QSettings> openUserSettings();

} // namespace app
