#pragma once

#include "review/ReviewFile.h"

#include <QIcon>

namespace app {

// The side of a state icon in the grid.
inline constexpr int StateIconSize = 10;

// The small icon of a state in the number cell, each of its own shape as
// well as colour (a colour alone fails a colour-blind translator): needs
// review an orange diamond, translated a blue dot, approved a green tick.
// A null icon for no state.
[[nodiscard]] QIcon stateIcon(review::State state);

} // namespace app
