#include "app/StateIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>

#include <array>
#include <functional>

namespace app {

namespace {

constexpr int IconSize = 10;

QIcon drawnIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

QIcon drawStateIcon(const review::State state)
{
    switch (state) {
    case review::State::NeedsReview:
        return drawnIcon([](QPainter& painter) {
            QPainterPath diamond;
            diamond.moveTo(5, 0.5);
            diamond.lineTo(9.5, 5);
            diamond.lineTo(5, 9.5);
            diamond.lineTo(0.5, 5);
            diamond.closeSubpath();
            painter.fillPath(diamond, QColor(0xE0, 0x80, 0x00));
        });
    case review::State::Translated:
        return drawnIcon([](QPainter& painter) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x2A, 0x6E, 0xD0));
            painter.drawEllipse(QRectF(1.5, 1.5, 7, 7));
        });
    case review::State::Approved:
        return drawnIcon([](QPainter& painter) {
            painter.setPen(QPen(QColor(0x1E, 0x90, 0x3A), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(QPolygonF({QPointF(1.5, 5.5), QPointF(4, 8), QPointF(8.5, 2)}));
        });
    case review::State::Unset:
        break;
    }
    return {};
}

} // namespace

QIcon stateIcon(const review::State state)
{
    // Drawn once each: the grid asks for them on every paint.
    static const std::array<QIcon, 4> icons{drawStateIcon(review::State::Unset),
        drawStateIcon(review::State::NeedsReview), drawStateIcon(review::State::Translated),
        drawStateIcon(review::State::Approved)};
    return icons[static_cast<std::size_t>(state)];
}

} // namespace app
