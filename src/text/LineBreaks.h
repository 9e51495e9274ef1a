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

} // namespace text
