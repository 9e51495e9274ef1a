#pragma once

#include <QString>
#include <QStringView>

namespace app {

// The application title: the task bar's name and the error box's caption.
[[nodiscard]] QString applicationTitle();

// The main window's caption before any file was opened.
[[nodiscard]] QString startCaption();
// After a load: "... [Unicode]  - [name]", two spaces before the dash.
[[nodiscard]] QString loadedCaption(QStringView path);
// After a save: "... [Unicode] - [name]", one space.
[[nodiscard]] QString savedCaption(QStringView path);

// The file name without its directory: everything up to and including the
// last "\" or "/" removed. A path without either is the whole name.
[[nodiscard]] QString fileNameOf(QStringView path);

} // namespace app
