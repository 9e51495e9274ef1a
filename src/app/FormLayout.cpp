#include "app/FormLayout.h"

#include <algorithm>

namespace app {

FormLayout FormLayout::forClient(const QSize client)
{
    const int width = std::max(client.width(), MinimumClient.width());
    const int height = std::max(client.height(), MinimumClient.height());
    const int extraWidth = width - DesignedClient.width();
    const int extraHeight = height - DesignedClient.height();

    FormLayout layout;
    layout.extraWidth = extraWidth;
    layout.saveButton = QRect(512 + extraWidth, 8, 105, 33);
    layout.panel = QRect(0, 48, width, 562 + extraHeight);
    layout.splitter = QRect(1, 1, width - 2, 560 + extraHeight);
    // Floating over the grid, as far down the panel as in the form.
    layout.progressBar = QRect(56, 48 + layout.panel.height() * 160 / 562, 505 + extraWidth, 17);
    return layout;
}

} // namespace app
