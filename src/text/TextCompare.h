#pragma once

#include <QString>
#include <QStringView>

namespace text {

// Collation of two texts by the user's locale over their full lengths; with
// matchCase on, letter case counts (tertiary strength), otherwise texts that
// differ only in case are equal (secondary strength). Gives -1, 0 or +1.
// Equal means equal to the collation, not identical code units.
[[nodiscard]] int CompareLocale(QStringView a, QStringView b, bool matchCase);

// Same length and the same code units in the same places.
[[nodiscard]] bool TextEquals(QStringView a, QStringView b) noexcept;

// True when the full Unicode case folding of cell begins with that of search,
// code unit by code unit. An empty search text or an empty cell never match.
[[nodiscard]] bool PrefixTest(QStringView search, QStringView cell);

// PrefixTest with the search text folded once, for a scan over many cells.
class PrefixMatcher {
public:
    explicit PrefixMatcher(QStringView search);

    [[nodiscard]] bool matches(QStringView cell) const;

private:
    QString m_foldedSearch;
};

} // namespace text
