#pragma once

#include <QStringView>

#include <string>

namespace text {

// Full Unicode case folding with the default mappings (not the Turkic ones).
// It is context-free: the folding of a text is the foldings of its code
// points one after the other, and a lone surrogate folds to itself.

// The most UTF-16 units one code point folds to.
inline constexpr int MaxFoldedUnits = 32;

// Writes the folding of one code point to out, which has room for
// MaxFoldedUnits units; gives the number of units written.
int foldCodePoint(char32_t codePoint, char16_t* out);

// The folding of a whole text.
[[nodiscard]] std::u16string foldCase(QStringView text);

} // namespace text
