#pragma once

#include <QRect>
#include <QSize>

namespace app {

// The main window's client area below the menu bar, at any size. At the
// designed size, 622 x 610 above the status bar, every control stands where
// the form puts it; a larger area goes to the grid and the preview (the
// panel that holds them grows to the right and down), the top row of
// controls stays where it is, and Save stays at the right edge.
struct FormLayout {
    static constexpr QSize DesignedClient{622, 610};
    // The least that still shows every control of the top row and a few
    // rows of the grid and the preview.
    static constexpr QSize MinimumClient{622, 240};

    QRect saveButton;
    QRect panel;
    // Inside the panel: the grid, the preview and the reference beneath.
    QRect splitter;
    QRect progressBar;
    // How much wider than designed the area is: the room the Text column
    // (and the Reference column) take.
    int extraWidth = 0;

    [[nodiscard]] static FormLayout forClient(QSize client);
};

} // namespace app
