#include "memory/TmxDates.h"

namespace memory {

namespace {

constexpr qint64 SecondsPerDay = 86400;

// Days since 1970-01-01 of a date and back, counted in eras of 400 years
// (146097 days), each starting on 1 March so that a leap day ends its year.
[[nodiscard]] constexpr qint64 daysFromCivil(qint64 year, const int month, const int day) noexcept
{
    year -= month <= 2 ? 1 : 0;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
    qint64 year;
    int month;
    int day;
};

[[nodiscard]] constexpr CivilDate civilFromDays(qint64 days) noexcept
{
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(daysFromCivil(2000, 3, 1) == 11017);
static_assert(civilFromDays(11016).month == 2 && civilFromDays(11016).day == 29);

[[nodiscard]] constexpr bool isLeapYear(const qint64 year) noexcept
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

[[nodiscard]] constexpr int daysInMonth(const qint64 year, const int month) noexcept
{
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

constexpr qint64 FirstSecond = daysFromCivil(1, 1, 1) * SecondsPerDay;
constexpr qint64 LastSecond = daysFromCivil(10000, 1, 1) * SecondsPerDay - 1;

void putDigits(qint64 value, char* const out, const int width) noexcept
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

} // namespace

bool formatTmxDate(const qint64 secondsSinceEpoch, char (&out)[TmxDateLength]) noexcept
{
    if (secondsSinceEpoch < FirstSecond || secondsSinceEpoch > LastSecond)
        return false;
    // Whole days first, rounded down also before 1970.
    qint64 days = secondsSinceEpoch / SecondsPerDay;
    qint64 second = secondsSinceEpoch % SecondsPerDay;
    if (second < 0) {
        --days;
        second += SecondsPerDay;
    }
    const CivilDate date = civilFromDays(days);
    putDigits(date.year, out, 4);
    putDigits(date.month, out + 4, 2);
    putDigits(date.day, out + 6, 2);
    out[8] = 'T';
    putDigits(second / 3600, out + 9, 2);
    putDigits(second / 60 % 60, out + 11, 2);
    putDigits(second % 60, out + 13, 2);
    out[15] = 'Z';
    return true;
}

std::optional<qint64> parseTmxDate(const QByteArrayView text) noexcept
{
    if (text.size() != TmxDateLength || text[8] != 'T' || text[15] != 'Z')
        return std::nullopt;
    bool digits = true;
    const auto number = [&](const qsizetype from, const qsizetype length) {
        int value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const char digit = text[i];
            digits = digits && digit >= '0' && digit <= '9';
            value = value * 10 + (digit - '0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(4, 2);
    const int day = number(6, 2);
    const int hour = number(9, 2);
    const int minute = number(11, 2);
    const int second = number(13, 2);
    if (!digits || year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23
        || minute > 59 || second > 59)
        return std::nullopt;
    return daysFromCivil(year, month, day) * SecondsPerDay + hour * 3600 + minute * 60 + second;
}

} // namespace memory
