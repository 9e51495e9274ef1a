#pragma once

#include <QString>
#include <QStringView>

namespace xom {

// The value of a number cell when it is exactly the decimal text of a value
// from 1 to limit - 1 (what FormatDecimal would make of it), otherwise -1.
// Save finds entries by it, and import numbers through it: any other cell
// text is matched as text.
[[nodiscard]] int canonicalEntryNumber(const QString& cell, int limit);

// The value of number when it is exactly the decimal text of a value from 0
// to 2^31 - 1 (digits only, no leading zero), otherwise -1.
[[nodiscard]] qint64 plainDecimalValue(QStringView number) noexcept;

} // namespace xom
