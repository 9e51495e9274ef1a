#pragma once

#include <QString>
#include <QStringView>

#include <string>

namespace text {

// Simple Unicode case folding: every code point folds to exactly one code
// point, and to one of the same UTF-16 length, so a folded text has the
// length of its original and unit i of the folding belongs to the code point
// at unit i of the original. A match found in the foldings is therefore at
// the same place in the originals. Unlike full folding, "ß" stays "ß" (it
// does not become "ss") and "İ" stays one letter. A lone surrogate folds to
// itself.
enum class FoldingRules {
    Default,
    // Turkish and Azerbaijani: "I" folds to dotless "ı" and "İ" to "i".
    Turkic,
};

// Turkic for a Turkish or Azerbaijani locale name ("tr_TR", "az_Latn_AZ"),
// Default for every other.
[[nodiscard]] FoldingRules foldingRulesForLocale(const QString& localeName);

// The rules of the run's text environment.
[[nodiscard]] FoldingRules currentFoldingRules();

// The simple folding of one code point.
[[nodiscard]] char32_t foldCodePoint(char32_t codePoint, FoldingRules rules);

// Replaces out with the folding of text; out.size() == text.size() after.
void foldCaseInto(QStringView text, FoldingRules rules, std::u16string& out);

// The folding of a whole text.
[[nodiscard]] std::u16string foldCase(QStringView text, FoldingRules rules);

} // namespace text
