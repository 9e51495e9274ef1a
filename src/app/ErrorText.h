#pragma once

#include <QString>

namespace app {

// The text the error box shows for an error's message: a full stop is added
// only when the message's last character sorts above "." by code unit, so
// "Stream write error" gets one and "List index out of bounds (1)" none.
[[nodiscard]] QString errorBoxText(const QString& message);

} // namespace app
