#pragma once

// TMX's dates, YYYYMMDDThhmmssZ in UTC, worked out from the seconds since
// 1970 and back by the proleptic Gregorian calendar, as QDateTime counts
// them: a million units need no calendar lookup each.

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace memory {

// A TMX date has sixteen characters.
inline constexpr int TmxDateLength = 16;

// The date of that second; false, and out untouched, when the second lies
// outside the years 1 to 9999, which the four digits of a year cannot hold.
[[nodiscard]] bool formatTmxDate(qint64 secondsSinceEpoch, char (&out)[TmxDateLength]) noexcept;

// The second a date stands for; nothing when the text is not a TMX date
// of a day and time that exist.
[[nodiscard]] std::optional<qint64> parseTmxDate(QByteArrayView text) noexcept;

} // namespace memory
