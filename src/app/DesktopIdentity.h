#pragma once

#include <QString>

namespace app {

// The name the desktop knows the editor by: its desktop entry is
// "<desktopId>.desktop", its icon in the icon theme "<desktopId>".
[[nodiscard]] QString desktopId();

// Ties the running editor to its desktop entry, so that a compositor shows
// the entry's name and icon for its windows, and gives every window the
// editor's icon. The icon is built into the program, so it shows on
// systems with no icon theme too. Call once the application object exists.
void setDesktopIdentity();

} // namespace app
