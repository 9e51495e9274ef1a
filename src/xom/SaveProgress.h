#pragma once

#include "xom/ProgressPosition.h"
#include "xom/ProgressReport.h"

#include <QtGlobal>

namespace xom {

// A save's progress: the rows collected (0 to 20), the strings placed (20 to
// 40), the string resources written (40 to 90), the data bank written (90
// to 100), and 100 once a file is on disk.
class SaveProgress {
public:
    explicit SaveProgress(const ProgressReport& report)
        : m_report(report)
    {
    }

    void set(const int position) const
    {
        if (m_report)
            m_report(position);
    }

    // nearest(item / count * factor) + base, the quotient taken first.
    void step(const qint64 item, const qint64 count, const int factor, const int base) const
    {
        if (m_report)
            m_report(nearestPosition(static_cast<double>(item) / static_cast<double>(count) * factor) + base);
    }

private:
    const ProgressReport& m_report;
};

} // namespace xom
