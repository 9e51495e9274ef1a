#pragma once

#include <QStringView>

namespace xom {

// The value of a number cell when it is exactly the decimal text of a value
// from 0 to 2^31 - 1 (digits only, no leading zero: what FormatDecimal would
// make of it), otherwise -1. The entry table keeps such a number as its
// value, Save finds entries by it, and import numbers through it: any other
// cell text is matched as text.
[[nodiscard]] qint64 plainDecimalValue(QStringView number) noexcept;

} // namespace xom
