#pragma once

// What the text checks share: a first pass that tells which checks may have
// anything to look at, the scanners of tags, URLs and masked spans, the
// character classes, and the one function of each check.

#include "checks/TextChecks.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace checks::scan {

// What the checks ask of a UTF-16 unit, answered by one lookup in a table
// made once from Qt's character properties: the passes over a million
// texts cost a lookup per unit rather than a cascade of ranges or a call.
enum UnitFlag : std::uint16_t {
    NonAsciiFlag = 1u << 0,
    DigitFlag = 1u << 1,              // an ASCII digit, or a unit of a block with decimal digits (mayBeDigit)
    AngleFlag = 1u << 2,              // '<'
    BracketFlag = 1u << 3,            // '['
    BackslashFlag = 1u << 4,          // '\\'
    PlaceholderFlag = 1u << 5,        // '%', '{', a C0 control other than tab, CR and LF
    AtFlag = 1u << 6,                 // '@'
    ContextFlag = 1u << 7,            // '/' and '.': part of a URL's mark when the units before make ":/" or "www."
    SpecialFlag = 1u << 8,            // what the character checks look for (isSpecialUnit)
    GreekOrCyrillicFlag = 1u << 9,    // a unit of a block with Greek or Cyrillic letters, or a surrogate
    OtherThanCyrillicFlag = 1u << 10, // see TextProfile::otherThanCyrillic
    FrenchMarkFlag = 1u << 11,        // ? ! : ; « »
    MarkFlag = 1u << 12,              // ? ! : ; , .
    SpaceLikeFlag = 1u << 13,         // isSpaceLike
    WhitespaceFlag = 1u << 14,        // QChar::isSpace
    LetterOrMarkFlag = 1u << 15,      // categories L and M (never a surrogate)
};

extern const std::uint16_t* const UnitFlags; // 65,536 entries, 128 KiB

[[nodiscard]] inline std::uint16_t unitFlags(const char16_t c) noexcept
{
    return UnitFlags[c];
}

// Which characters a text holds, as far as the checks care: one pass over
// its UTF-16. Each flag is a necessary condition for some check to find
// anything in the text, so a check may skip a text whose flag is off; the
// detail route passes everything() and so skips nothing, and the tests
// compare the two routes.
struct TextProfile {
    bool nonAscii = false;
    bool digit = false;            // an ASCII digit or a unit of a block with decimal digits
    bool angle = false;            // '<'
    bool bracket = false;          // '['
    bool backslash = false;        // '\\'
    bool placeholderStart = false; // '%', '{' or a C0 control other than tab, CR and LF
    bool urlMark = false;          // '@', ":/" or "www."
    bool doubleSpace = false;      // two space-like characters in a row
    bool special = false;          // a control, zero-width, joiner, bidirectional or replacement character
    bool greekOrCyrillic = false;  // a unit of a Greek or Cyrillic block, or a surrogate
    // An ASCII letter, or a non-ASCII unit outside the Cyrillic block, the
    // general punctuation and Latin-1's symbols: what a word needs beside a
    // Cyrillic letter to mix scripts.
    bool otherThanCyrillic = false;
    bool frenchMark = false; // '?', '!', ':', ';', '«' or '»'
    bool spacedMark = false; // '?', '!', ':', ';', ',' or '.' right after a space-like unit

    [[nodiscard]] static TextProfile everything() noexcept;
};

// Whether c may be a decimal digit: every decimal digit of the BMP lies in
// ASCII or in one of these blocks.
[[nodiscard]] constexpr bool mayBeDigit(const char16_t c) noexcept
{
    return (c >= u'0' && c <= u'9') || (c >= 0x0660 && c <= 0x1C59) || (c >= 0xA620 && c <= 0xABF9)
        || (c >= 0xFF10 && c <= 0xFF19);
}

[[nodiscard]] TextProfile profileOf(QStringView text) noexcept;

// What the checks need to know of the target language.
struct LanguageTraits {
    bool known = false;
    bool french = false;
    bool spanish = false;
    bool greek = false;
    bool german = false;
    bool english = false;
    bool dropsFullStop = false; // Thai and Lao
    bool caseless = false;      // no upper and lower case in its script
};

[[nodiscard]] LanguageTraits traitsOf(QStringView languageTag) noexcept;

// One pair as every check sees it.
struct CheckInput {
    QStringView reference;
    QStringView text;
    TextProfile referenceProfile;
    TextProfile textProfile;
    LanguageTraits language;
    const TextCheckContext& context;
};

// Each check: whether it fails; when detail is not null and it fails, what
// it found. Both routes run the same decisions; only the profiles differ.
bool tagsFail(const CheckInput& in, QString* detail);
bool escapesFail(const CheckInput& in, QString* detail);
bool urlsFail(const CheckInput& in, QString* detail);
bool numbersFail(const CheckInput& in, QString* detail);
bool endPunctuationFails(const CheckInput& in, QString* detail);
bool startPunctuationFails(const CheckInput& in, QString* detail);
bool punctuationSpacingFails(const CheckInput& in, QString* detail);
bool doubledWordFails(const CheckInput& in, QString* detail);
bool doubleSpaceFails(const CheckInput& in, QString* detail);
bool firstLetterCaseFails(const CheckInput& in, QString* detail);
bool controlCharactersFail(const CheckInput& in, QString* detail);
bool invisibleCharactersFail(const CheckInput& in, QString* detail);
bool replacementCharacterFails(const CheckInput& in, QString* detail);
bool mixedScriptsFail(const CheckInput& in, QString* detail);
bool lengthFails(const CheckInput& in, QString* detail);

// --- Characters -----------------------------------------------------------

[[nodiscard]] constexpr bool isAsciiLetter(const char16_t c) noexcept
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

[[nodiscard]] constexpr bool isAsciiDigit(const char16_t c) noexcept
{
    return c >= u'0' && c <= u'9';
}

// The spaces that may stand inside a line: space, no-break, thin, narrow
// no-break and ideographic space.
[[nodiscard]] constexpr bool isSpaceLike(const char16_t c) noexcept
{
    return c == u' ' || c == 0x00A0 || c == 0x2009 || c == 0x202F || c == 0x3000;
}

// QChar::isSpace by table.
[[nodiscard]] inline bool isWhitespace(const char16_t c) noexcept
{
    return (unitFlags(c) & WhitespaceFlag) != 0;
}

// The code point at `at` and its length in units; a lone surrogate is
// itself. `at` must be inside text.
struct CodePoint {
    char32_t value;
    qsizetype length;
};
[[nodiscard]] inline CodePoint codePointAt(QStringView text, const qsizetype at) noexcept
{
    const char16_t c = text[at].unicode();
    if (QChar::isHighSurrogate(c) && at + 1 < text.size() && QChar::isLowSurrogate(text[at + 1].unicode()))
        return {QChar::surrogateToUcs4(c, text[at + 1].unicode()), 2};
    return {c, 1};
}
// The code point that ends just before `end` (> 0).
[[nodiscard]] inline CodePoint codePointBefore(QStringView text, const qsizetype end) noexcept
{
    const char16_t c = text[end - 1].unicode();
    if (QChar::isLowSurrogate(c) && end >= 2 && QChar::isHighSurrogate(text[end - 2].unicode()))
        return {QChar::surrogateToUcs4(text[end - 2].unicode(), c), 2};
    return {c, 1};
}

// Whether c is a letter or a mark (categories L and M).
[[nodiscard]] inline bool isLetterOrMark(const char32_t c) noexcept
{
    if (c < 0x10000)
        return (unitFlags(static_cast<char16_t>(c)) & LetterOrMarkFlag) != 0;
    return QChar::isLetter(c) || QChar::isMark(c);
}

// "U+200B".
[[nodiscard]] QString codePointName(char32_t c);
// "“text”".
[[nodiscard]] QString quoted(QStringView text);
// "missing a, b; extra c", "missing a", "extra c", or empty.
[[nodiscard]] QString differenceDetail(const QStringList& missing, const QStringList& extra);

// DEL, a C1 control, or a C0 control other than tab, CR and LF.
[[nodiscard]] constexpr bool isControlCharacter(const char16_t c) noexcept
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c <= 0x9F);
}

// Whether the unit at `at` is an invisible character that
// InvisibleCharacters finds when the reference lacks it: a zero-width
// character, a bidirectional control, or a zero-width (non-)joiner that
// joins nothing its script or emoji join.
[[nodiscard]] bool isStrayInvisibleAt(QStringView text, qsizetype at) noexcept;

// --- Tags, URLs and the spans that hide numbers ---------------------------

// The length of the markup or bracket tag that starts at `at` ('<' or '['),
// or 0 when none does.
[[nodiscard]] qsizetype tagLengthAt(QStringView text, qsizetype at) noexcept;
// Calls found(tag) for each tag of text in order.
template <typename Found> void forEachTag(QStringView text, Found&& found)
{
    qsizetype at = 0;
    while (at < text.size()) {
        const char16_t c = text[at].unicode();
        const qsizetype length = (c == u'<' || c == u'[') ? tagLengthAt(text, at) : 0;
        if (length > 0) {
            found(text.sliced(at, length));
            at += length;
        } else {
            ++at;
        }
    }
}

// Calls found(url) for each URL and e-mail address of text in order.
void forEachUrl(QStringView text, const std::function<void(QStringView)>& found);

struct Span {
    qsizetype start;
    qsizetype end;
};
// Fills spans with the placeholders, tags and URLs of text, sorted by start
// and without overlaps. The profile says which of them to look for.
void maskedSpansInto(QStringView text, const TextProfile& profile, std::vector<Span>& spans);

// --- Multisets ------------------------------------------------------------

// Whether the sorted multisets a and b differ (both get sorted); when detail
// is not null, the items only a has ("missing") and those only b has
// ("extra"), shown by show(item), go into it.
template <typename Item, typename Less, typename Show>
bool multisetsDiffer(std::vector<Item>& a, std::vector<Item>& b, Less less, Show show, QString* detail)
{
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    const auto same = [&less](const Item& x, const Item& y) { return !less(x, y) && !less(y, x); };
    if (a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), same))
        return false;
    if (detail) {
        QStringList missing;
        QStringList extra;
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < a.size() || j < b.size()) {
            if (j == b.size() || (i < a.size() && less(a[i], b[j]))) {
                missing += show(a[i++]);
            } else if (i == a.size() || less(b[j], a[i])) {
                extra += show(b[j++]);
            } else {
                ++i;
                ++j;
            }
        }
        *detail = differenceDetail(missing, extra);
    }
    return true;
}

} // namespace checks::scan
