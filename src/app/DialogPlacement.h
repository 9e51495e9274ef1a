#pragma once

#include <QPoint>
#include <QRect>

namespace app {

// Where a dialog's frame should go so that it no longer covers row (a grid
// row in screen coordinates), staying within available (the screen's room):
// the nearer of just below and just above the row, or, where neither fits,
// beside it. A dialog that covers nothing of the row stays where it is.
[[nodiscard]] QPoint placedClearOf(const QRect& dialogFrame, const QRect& row, const QRect& available);

} // namespace app
