// Numbers compared by their digits' values, whatever the script writes them
// in and however it groups them.

#include "checks/TextScan.h"

#include <QChar>

#include <cstdint>

namespace checks::scan {

namespace {

// The value of a decimal digit (category Nd) of the BMP, or -1.
[[nodiscard]] int digitValueOf(const char16_t c) noexcept
{
    if (c < 0x80)
        return isAsciiDigit(c) ? c - u'0' : -1;
    if (!mayBeDigit(c) || !QChar::isDigit(c))
        return -1;
    return QChar::digitValue(c);
}

[[nodiscard]] bool isDecimalOrGroupSeparator(const char16_t c) noexcept
{
    return c == u'.' || c == u',' || c == u'\'' || c == 0x066B || c == 0x066C;
}

// A number as compared: its significant digits' count and value. A number
// of more than 19 significant digits keeps its value modulo 2^64, which
// only two such numbers that differ by a multiple of 2^64 could share.
struct NumberKey {
    std::uint64_t value = 0;
    int digits = 0;

    friend auto operator<=>(const NumberKey&, const NumberKey&) = default;
};

struct Number {
    NumberKey key;
    QStringView written;
};

// Calls found(Number) for each number of text outside masks (sorted, not
// overlapping).
template <typename Found> void forEachNumber(QStringView text, const std::vector<Span>& masks, Found&& found)
{
    const qsizetype size = text.size();
    std::size_t mask = 0;
    // The start of the next mask, or size: a number stops there.
    const auto nextMaskStart = [&] { return mask < masks.size() ? masks[mask].start : size; };
    qsizetype at = 0;
    while (at < size) {
        if (at >= nextMaskStart()) {
            at = std::max(at, masks[mask++].end);
            continue;
        }
        int digit = digitValueOf(text[at].unicode());
        if (digit < 0) {
            ++at;
            continue;
        }
        const qsizetype start = at;
        const qsizetype stop = nextMaskStart();
        NumberKey key;
        for (;;) {
            while (at < stop && (digit = digitValueOf(text[at].unicode())) >= 0) {
                if (key.digits > 0 || digit != 0) {
                    key.value = key.value * 10 + static_cast<unsigned>(digit);
                    ++key.digits;
                }
                ++at;
            }
            // A separator joins the digits on both sides of it; a space
            // joins only a group of exactly three.
            if (at + 1 >= stop)
                break;
            const char16_t separator = text[at].unicode();
            if (isDecimalOrGroupSeparator(separator) && digitValueOf(text[at + 1].unicode()) >= 0) {
                ++at;
                continue;
            }
            if (isSpaceLike(separator) && at + 3 < stop && digitValueOf(text[at + 1].unicode()) >= 0
                && digitValueOf(text[at + 2].unicode()) >= 0 && digitValueOf(text[at + 3].unicode()) >= 0
                && (at + 4 >= stop || digitValueOf(text[at + 4].unicode()) < 0)) {
                ++at;
                continue;
            }
            break;
        }
        found(Number{key, text.sliced(start, at - start)});
    }
}

[[nodiscard]] bool mayHoldDigits(const TextProfile& profile) noexcept
{
    return profile.digit;
}

void numbersInto(QStringView text, const TextProfile& profile, std::vector<Number>& numbers)
{
    thread_local std::vector<Span> masks;
    numbers.clear();
    if (!mayHoldDigits(profile))
        return;
    maskedSpansInto(text, profile, masks);
    forEachNumber(text, masks, [&numbers](const Number& number) { numbers.push_back(number); });
}

} // namespace

bool numbersFail(const CheckInput& in, QString* detail)
{
    if (!mayHoldDigits(in.referenceProfile) && !mayHoldDigits(in.textProfile))
        return false;
    thread_local std::vector<Number> ofReference;
    thread_local std::vector<Number> ofText;
    numbersInto(in.reference, in.referenceProfile, ofReference);
    numbersInto(in.text, in.textProfile, ofText);
    return multisetsDiffer(
        ofReference, ofText, [](const Number& a, const Number& b) { return a.key < b.key; },
        [](const Number& number) { return number.written.toString(); }, detail);
}

} // namespace checks::scan
