#pragma once

#include <functional>

namespace xom {

// Receives every position the progress bar is set to, in order; the long
// operations (save, sort) report through it and know nothing of the bar.
using ProgressReport = std::function<void(int position)>;

} // namespace xom
