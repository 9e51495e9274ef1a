// Characters that show nothing or show wrong: controls, zero-width and
// bidirectional characters, and the replacement character a bad decoding
// leaves.

#include "checks/TextScan.h"

#include <QChar>

#include <unicode/uscript.h>

#include <utility>

namespace checks::scan {

namespace {

[[nodiscard]] bool isZeroWidthOrBidiControl(const char16_t c) noexcept
{
    return c == 0x200B || c == 0x2060 || c == 0xFEFF || c == 0x061C || c == 0x200E || c == 0x200F
        || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

[[nodiscard]] bool isJoiner(const char16_t c) noexcept
{
    return c == 0x200C || c == 0x200D;
}

// The scripts whose spelling needs the zero-width joiner and non-joiner.
[[nodiscard]] bool usesJoiners(const UScriptCode script) noexcept
{
    switch (script) {
    case USCRIPT_ARABIC:
    case USCRIPT_SYRIAC:
    case USCRIPT_NKO:
    case USCRIPT_MONGOLIAN:
    case USCRIPT_DEVANAGARI:
    case USCRIPT_BENGALI:
    case USCRIPT_GURMUKHI:
    case USCRIPT_GUJARATI:
    case USCRIPT_ORIYA:
    case USCRIPT_TAMIL:
    case USCRIPT_TELUGU:
    case USCRIPT_KANNADA:
    case USCRIPT_MALAYALAM:
    case USCRIPT_SINHALA:
    case USCRIPT_KHMER:
    case USCRIPT_MYANMAR:
    case USCRIPT_TIBETAN:
        return true;
    default:
        return false;
    }
}

[[nodiscard]] UScriptCode scriptOf(const char32_t c) noexcept
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(static_cast<UChar32>(c), &status);
}

// Whether the letter or mark before `end` belongs to a script that uses
// joiners; a combining mark that belongs to no script (a vowel sign shared
// by several) stands for the letter it follows.
[[nodiscard]] bool joiningLetterBefore(QStringView text, qsizetype end) noexcept
{
    while (end > 0) {
        const CodePoint c = codePointBefore(text, end);
        if (!isLetterOrMark(c.value))
            return false;
        const UScriptCode script = scriptOf(c.value);
        if (script != USCRIPT_INHERITED)
            return usesJoiners(script);
        end -= c.length;
    }
    return false;
}

[[nodiscard]] bool isEmojiPart(const char32_t c) noexcept
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Symbol_Other || category == QChar::Symbol_Modifier || c == 0xFE0F;
}

// Whether the joiner at `at` does its work: between two letters of a
// script that uses it, or (U+200D) between two emoji of a sequence.
[[nodiscard]] bool joinerJoins(QStringView text, const qsizetype at) noexcept
{
    if (at == 0 || at + 1 >= text.size())
        return false;
    const CodePoint after = codePointAt(text, at + 1);
    if (isLetterOrMark(after.value) && usesJoiners(scriptOf(after.value)) && joiningLetterBefore(text, at))
        return true;
    return text[at] == QChar(0x200D) && isEmojiPart(codePointBefore(text, at).value)
        && QChar::category(after.value) == QChar::Symbol_Other;
}

// Each distinct code point that flagged(at) accepts and the reference
// lacks, with its first position: "U+200B at 14, U+200E at 20". Empty
// when none.
template <typename Flagged> QString strayCharacters(QStringView reference, QStringView text, Flagged&& flagged)
{
    std::vector<std::pair<char16_t, qsizetype>> found;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t c = text[at].unicode();
        if (!flagged(at) || reference.contains(QChar(c)))
            continue;
        if (std::none_of(found.begin(), found.end(), [c](const auto& seen) { return seen.first == c; }))
            found.emplace_back(c, at);
    }
    QStringList parts;
    for (const auto& [c, at] : found)
        parts += codePointName(c) + QStringLiteral(" at %1").arg(at);
    return parts.join(u", ");
}

// The same as !strayCharacters(...).isEmpty(), without building it.
template <typename Flagged> bool hasStrayCharacter(QStringView reference, QStringView text, Flagged&& flagged)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (flagged(at) && !reference.contains(text[at]))
            return true;
    }
    return false;
}

template <typename Flagged>
bool strayCharactersFound(QStringView reference, QStringView text, Flagged&& flagged, QString* detail)
{
    if (!detail)
        return hasStrayCharacter(reference, text, flagged);
    *detail = strayCharacters(reference, text, flagged);
    return !detail->isEmpty();
}

} // namespace

bool isStrayInvisibleAt(QStringView text, const qsizetype at) noexcept
{
    const char16_t c = text[at].unicode();
    return isZeroWidthOrBidiControl(c) || (isJoiner(c) && !joinerJoins(text, at));
}

bool controlCharactersFail(const CheckInput& in, QString* detail)
{
    if (!in.textProfile.special)
        return false;
    // DEL and C1 controls count even when the reference has them: no game
    // text means them, so the reference is as wrong as the text.
    const QStringView text = in.text;
    const auto isDelOrC1 = [text](const qsizetype at) { return text[at] >= QChar(0x7F) && text[at] <= QChar(0x9F); };
    const auto isC0
        = [text](const qsizetype at) { return isControlCharacter(text[at].unicode()) && text[at] < QChar(0x20); };
    if (!detail)
        return hasStrayCharacter({}, text, isDelOrC1) || hasStrayCharacter(in.reference, text, isC0);
    QStringList parts{strayCharacters({}, text, isDelOrC1), strayCharacters(in.reference, text, isC0)};
    parts.removeAll(QString());
    *detail = parts.join(u", ");
    return !detail->isEmpty();
}

bool invisibleCharactersFail(const CheckInput& in, QString* detail)
{
    if (!in.textProfile.special)
        return false;
    const QStringView text = in.text;
    return strayCharactersFound(
        in.reference, text, [text](const qsizetype at) { return isStrayInvisibleAt(text, at); }, detail);
}

bool replacementCharacterFails(const CheckInput& in, QString* detail)
{
    if (!in.textProfile.special)
        return false;
    const QStringView text = in.text;
    return strayCharactersFound(
        in.reference, text, [text](const qsizetype at) { return text[at] == QChar(0xFFFD); }, detail);
}

} // namespace checks::scan
