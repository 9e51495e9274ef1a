#pragma once

#include <QFont>

namespace dialogs {

// The font of every window of the editor, "MS Sans Serif" at the given pixel
// height; where that family is missing the system picks a sans-serif face.
[[nodiscard]] QFont formFont(int pixelSize = 11);

} // namespace dialogs
