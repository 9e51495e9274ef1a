#pragma once

#include <QString>

namespace xom {

// The value of a number cell when it is exactly the decimal text of a value
// from 1 to limit - 1 (what FormatDecimal would make of it), otherwise -1.
// Save finds entries by it, and import numbers through it: any other cell
// text is matched as text.
[[nodiscard]] int canonicalEntryNumber(const QString& cell, int limit);

} // namespace xom
