#pragma once

#include <QString>
#include <QStringView>

namespace text {

// Which characters break a line. A text box breaks its lines with CR, LF,
// CR LF, U+2028 (line separator) and U+2029 (paragraph separator, how a text
// document ends its blocks); an exchange file only with CR, LF and CR LF,
// and the two separators are characters like any other there.
enum class LineBreakSet { TextBox, CrLf };

// The text with every line break of the set in the form CR LF: a CR LF pair
// stays, and each other break becomes CR LF. Every other code unit, U+0000
// and unpaired surrogates included, is kept.
[[nodiscard]] QString withCrLfLineBreaks(QStringView text, LineBreakSet breaks = LineBreakSet::TextBox);

// Whether withCrLfLineBreaks would give the text back unchanged: its breaks
// are all CR LF already. Allocates nothing.
[[nodiscard]] bool hasCrLfLineBreaksOnly(QStringView text, LineBreakSet breaks = LineBreakSet::TextBox) noexcept;

// The text with each line break of the text box's set (a CR LF pair
// counting as one) replaced by lineBreak.
[[nodiscard]] QString withLineBreaksAs(QStringView text, QStringView lineBreak);

// Whether the two texts are the same once each line break of the set is
// taken as one and the same break: what a spreadsheet's or a CAT tool's
// rewriting of CR LF into LF leaves equal. Allocates nothing.
[[nodiscard]] bool equalUpToLineBreaks(
    QStringView a, QStringView b, LineBreakSet breaks = LineBreakSet::TextBox) noexcept;

// Whether the text breaks a line or jumps to a tab stop anywhere: CR, LF,
// U+2028, U+2029, NEL (U+0085), a vertical tab or form feed, or a tab. A
// name holds none of them: the grid, the game and every exchange format
// keep a name on one line.
[[nodiscard]] bool breaksLineOrTabs(QStringView text) noexcept;

} // namespace text
