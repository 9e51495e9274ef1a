#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>

#include <optional>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

namespace xom {

// What can be wrong with a translated text beside its reference text.
enum class Check : std::uint16_t {
    Untranslated = 1 << 0,       // the text equals the reference text and is not empty
    Empty = 1 << 1,              // the text is empty, the reference text is not
    MissingReference = 1 << 2,   // no reference entry has the entry's name
    PlaceholdersDiffer = 1 << 3, // the multisets of placeholders differ
    LineBreaksDiffer = 1 << 4,   // the numbers of line breaks differ
    WhitespaceDiffers = 1 << 5,  // the leading or the trailing whitespace differs
    DuplicateName = 1 << 6,      // another entry of the same file has the same name
    // Among the translated entries (a reference text, a text of their own):
    InconsistentTranslation = 1 << 7, // another entry of the same source text is translated otherwise
    ReusedTranslation = 1 << 8,       // another entry of another source text has the same translation
};
Q_DECLARE_FLAGS(Checks, Check)
Q_DECLARE_OPERATORS_FOR_FLAGS(Checks)

// Every check in the order in which names list them.
inline constexpr Check AllChecks[]{Check::Untranslated, Check::Empty, Check::MissingReference,
    Check::PlaceholdersDiffer, Check::LineBreaksDiffer, Check::WhitespaceDiffers, Check::DuplicateName,
    Check::InconsistentTranslation, Check::ReusedTranslation};

// The checks that fail for text beside reference (none: the entry has no
// reference). The result is exactly one of: nothing; MissingReference;
// Untranslated; Empty; or any mix of the three comparisons. An entry whose
// text and reference are both empty fails nothing. DuplicateName and the
// two consistency checks look at the whole file: the review adds them.
[[nodiscard]] Checks checkTranslation(QStringView text, std::optional<QStringView> reference);

// The placeholders of a text in the order they occur, each as it is written:
//   printf style: '%' [digits '$'] [flags -+#0'] [width] ['.' precision]
//                 [length hh h ll l L z j t q] conversion (diouxXeEfFgGaAcCsSpn@);
//                 "%%" is an escaped percent sign and no placeholder;
//   numbered:     '%' and one digit 1..9 not followed by digits and '$' ("%1");
//   braced:       '{' digits or a name (letters, digits, '_', '.') '}' ("{0}", "{name}");
//   control characters U+0001 .. U+001F other than CR, LF and tab, one each.
// A '%' or '{' that starts none of these ("100%", "50% off", "{" alone) is
// plain text.
[[nodiscard]] QStringList placeholdersOf(QStringView text);
// Where those placeholders stand: each one's start and length, in order.
[[nodiscard]] std::vector<std::pair<qsizetype, qsizetype>> placeholderSpans(QStringView text);

// The whitespace (QChar::isSpace) a text starts or ends with.
[[nodiscard]] QStringView leadingWhitespace(QStringView text) noexcept;
[[nodiscard]] QStringView trailingWhitespace(QStringView text) noexcept;

// The line breaks of a text: CR LF counts once, a lone CR or LF once each.
[[nodiscard]] int lineBreakCount(QStringView text) noexcept;

// "untranslated", "empty", "missing reference", "placeholders differ",
// "line breaks differ", "whitespace differs", "duplicate name",
// "inconsistent translation", "reused translation".
[[nodiscard]] QString checkName(Check check);
// The names of the checks in AllChecks order.
[[nodiscard]] QStringList checkNames(Checks checks);

} // namespace xom
