#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace app {

// The text the error box shows for an error's message: a full stop is added
// only when the message's last character sorts above "." by code unit, so
// "Stream write error" gets one and "List index out of bounds (1)" none.
[[nodiscard]] QString errorBoxText(const QString& message);

// Runs work and gives the message of the error it raised, if any: an
// editor error's own message, "Out of memory", or what any other standard
// exception says. No error passes into the event loop unshown.
[[nodiscard]] std::optional<QString> failureOf(const std::function<void()>& work);

} // namespace app
