#pragma once

#include "text/CaseFolding.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <string>

namespace text {

// Collation of two texts by the user's locale over their full lengths; with
// matchCase on, letter case counts (tertiary strength), otherwise texts that
// differ only in case are equal (secondary strength). Gives -1, 0 or +1.
// Equal means equal to the collation, not identical code units.
[[nodiscard]] int CompareLocale(QStringView a, QStringView b, bool matchCase);

// The key under which CompareLocale orders text: for any texts a and b,
// CompareAnsiOrdinal of their keys is CompareLocale(a, b, matchCase), so two
// keys are equal exactly when the texts are equal to the collation. A lookup
// over many texts computes one key per text instead of one collation per
// pair.
[[nodiscard]] QByteArray localeSortKey(QStringView text, bool matchCase);

// Same length and the same code units in the same places.
[[nodiscard]] bool TextEquals(QStringView a, QStringView b) noexcept;

// True when the simple Unicode case folding of cell begins with that of
// search, code unit by code unit, under the folding rules of the run's
// locale (Turkic for Turkish and Azerbaijani). An empty search text or an
// empty cell never match. Unlike a prefix test of the lower-cased ANSI
// images, it does not take one character outside the code page for another
// because both image as "?". For texts inside the code page the answers
// agree: simple folding never lengthens a text, so "ss" does not match "ß",
// and under a Turkish locale "İ" matches "i" as lower-casing does.
[[nodiscard]] bool PrefixTest(QStringView search, QStringView cell);

// PrefixTest with the search text folded once, under the rules current when
// it was made, for a scan over many cells. Only as many units of a cell as
// the search text has are folded, and only until the first difference.
class PrefixMatcher {
public:
    explicit PrefixMatcher(QStringView search);

    [[nodiscard]] bool matches(QStringView cell) const;

private:
    FoldingRules m_rules;
    std::u16string m_foldedSearch;
};

} // namespace text
