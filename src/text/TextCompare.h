#pragma once

#include "text/CaseFolding.h"

#include <QString>
#include <QStringView>

#include <string>

namespace text {

// Same length and the same code units in the same places.
[[nodiscard]] bool TextEquals(QStringView a, QStringView b) noexcept;

// The search's prefix test: a cell matches when its simple Unicode case
// folding begins with that of the search text, code unit by code unit, under
// the folding rules of the run's locale (Turkic for Turkish and
// Azerbaijani). An empty search text or an empty cell never match. Unlike a
// prefix test of the lower-cased ANSI images, it does not take one character
// outside the code page for another because both image as "?". For texts
// inside the code page the answers agree: simple folding never lengthens a
// text, so "ss" does not match "ß", and under a Turkish locale "İ" matches
// "i" as lower-casing does.
//
// The search text is folded once, under the rules current when the matcher
// was made, for a scan over many cells. Only as many units of a cell as the
// search text has are folded, and only until the first difference.
class PrefixMatcher {
public:
    explicit PrefixMatcher(QStringView search);

    [[nodiscard]] bool matches(QStringView cell) const;

private:
    FoldingRules m_rules;
    std::u16string m_foldedSearch;
};

} // namespace text
