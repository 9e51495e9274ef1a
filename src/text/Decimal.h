#pragma once

#include <QString>
#include <QStringView>

namespace text {

// The decimal text of a 32-bit signed integer: digits, "-" before a negative
// value, no plus sign, no leading zeros, no grouping.
[[nodiscard]] QString FormatDecimal(qint32 value);

// Parses the ANSI image of text: spaces (0x20 only), then either an optional
// sign and decimal digits in the 32-bit signed range, or one of the prefixes
// "$", "x", "X", "0x", "0X" and hexadecimal digits of value at most FFFFFFFF
// taken as a two's-complement value; nothing after it. Throws ConvertError,
// "'%s' is not a valid integer value" with the image shown back, otherwise.
[[nodiscard]] qint32 ParseDecimal(QStringView text);

} // namespace text
