#pragma once

#include <QProgressBar>

namespace app {

// Shows the progress bar at 0 for as long as it lives. Nothing yields to the
// event loop meanwhile, so the bar is painted by hand.
class ProgressShown {
public:
    explicit ProgressShown(QProgressBar& bar)
        : m_bar(bar)
    {
        m_bar.show();
        m_bar.setValue(0);
        m_bar.repaint();
    }
    ~ProgressShown() { m_bar.hide(); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    QProgressBar& m_bar;
};

} // namespace app
