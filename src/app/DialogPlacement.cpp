#include "app/DialogPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace app {

namespace {

constexpr int Gap = 8;

[[nodiscard]] bool fits(const QRect& frame, const QRect& available)
{
    return available.contains(frame);
}

} // namespace

QPoint placedClearOf(const QRect& dialogFrame, const QRect& row, const QRect& available)
{
    if (!dialogFrame.intersects(row))
        return dialogFrame.topLeft();

    const QRect below(QPoint(dialogFrame.left(), row.bottom() + 1 + Gap), dialogFrame.size());
    const QRect above(QPoint(dialogFrame.left(), row.top() - Gap - dialogFrame.height()), dialogFrame.size());
    std::optional<QRect> best;
    for (const QRect& candidate : {below, above}) {
        if (!fits(candidate, available))
            continue;
        const int move = std::abs(candidate.top() - dialogFrame.top());
        if (!best || move < std::abs(best->top() - dialogFrame.top()))
            best = candidate;
    }
    if (best)
        return best->topLeft();

    // No room above or below: beside the row, on the side with room.
    const QRect right(QPoint(row.right() + 1 + Gap, dialogFrame.top()), dialogFrame.size());
    if (right.right() <= available.right())
        return right.topLeft();
    const QRect left(QPoint(row.left() - Gap - dialogFrame.width(), dialogFrame.top()), dialogFrame.size());
    if (left.left() >= available.left())
        return left.topLeft();
    // Nothing fits the screen: the dialog's bottom edge at the screen's.
    return QPoint(dialogFrame.left(), std::max(available.top(), available.bottom() + 1 - dialogFrame.height()));
}

} // namespace app
