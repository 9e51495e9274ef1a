#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace testsupport {

// The comparisons of texts written the plain way, one collation or one
// folding per call: what the program's own routes (sort keys, a folded
// search text) must agree with.

// Collation of two texts by the run's locale over their full lengths; with
// matchCase on, letter case counts (tertiary strength), otherwise texts that
// differ only in case are equal (secondary strength). Gives -1, 0 or +1.
// Equal means equal to the collation, not identical code units.
[[nodiscard]] int CompareLocale(QStringView a, QStringView b, bool matchCase);

// The key under which CompareLocale orders text: for any texts a and b,
// text::CompareAnsiOrdinal of their keys is CompareLocale(a, b, matchCase),
// so two keys are equal exactly when the texts are equal to the collation.
[[nodiscard]] QByteArray localeSortKey(QStringView text, bool matchCase);

// Case-insensitive collation of two ANSI images by the run's locale (the
// images decoded back through the code page): below zero, zero or above
// zero. text::ansiTextSortKey orders texts as this orders their images.
[[nodiscard]] int CompareAnsiText(QByteArrayView a, QByteArrayView b);

// Whether text::PrefixMatcher(search) matches cell, with the search text
// folded anew for this one cell.
[[nodiscard]] bool PrefixTest(QStringView search, QStringView cell);

} // namespace testsupport
