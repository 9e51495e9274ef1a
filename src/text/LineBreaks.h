#pragma once

#include <QString>
#include <QStringView>

namespace text {

// The text with every line break in the form CR LF: a CR LF pair stays, and
// a lone CR, a lone LF, U+2028 (line separator) and U+2029 (paragraph
// separator, how a text document ends its blocks) each become CR LF. Every
// other code unit, U+0000 and unpaired surrogates included, is kept.
[[nodiscard]] QString withCrLfLineBreaks(QStringView text);

// The text with each of those line breaks (a CR LF pair counting as one)
// replaced by lineBreak.
[[nodiscard]] QString withLineBreaksAs(QStringView text, QStringView lineBreak);

// Whether the two texts are the same once each of those line breaks is
// taken as one and the same break: what a spreadsheet's or a CAT tool's
// rewriting of CR LF into LF leaves equal. Allocates nothing.
[[nodiscard]] bool equalUpToLineBreaks(QStringView a, QStringView b) noexcept;

// Whether the text breaks a line or jumps to a tab stop anywhere: CR, LF,
// U+2028, U+2029, NEL (U+0085), a vertical tab or form feed, or a tab. A
// name holds none of them: the grid, the game and every exchange format
// keep a name on one line.
[[nodiscard]] bool breaksLineOrTabs(QStringView text) noexcept;

} // namespace text
