// Words and spaces: doubled words, double spaces, the first letter's case,
// words that mix look-alike scripts, and the length.

#include "checks/TextScan.h"

#include "xom/TranslationChecks.h"

#include <QChar>

#include <unicode/uscript.h>

#include <bit>

namespace checks::scan {

namespace {

struct Word {
    qsizetype start;
    qsizetype end;
};

// Calls found(word) for each word (run of letters and marks) of text, and
// stops when found returns true.
template <typename Found> void forEachWord(QStringView text, Found&& found)
{
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        CodePoint c = codePointAt(text, at);
        if (!isLetterOrMark(c.value)) {
            at += c.length;
            continue;
        }
        const qsizetype start = at;
        do {
            at += c.length;
        } while (at < size && isLetterOrMark((c = codePointAt(text, at)).value));
        if (found(Word{start, at}))
            return;
    }
}

// Whether two units may be the same letter in some case: a quick answer
// for ASCII, before the comparison that folds case.
[[nodiscard]] bool mayBeSameLetter(const QChar a, const QChar b) noexcept
{
    if (a.unicode() < 0x80 && b.unicode() < 0x80)
        return (a.unicode() | 0x20) == (b.unicode() | 0x20);
    return true;
}

// The letters and marks that end at `end`.
[[nodiscard]] Word wordEndingAt(QStringView text, const qsizetype end) noexcept
{
    qsizetype start = end;
    while (start > 0) {
        const CodePoint c = codePointBefore(text, start);
        if (!isLetterOrMark(c.value))
            break;
        start -= c.length;
    }
    return {start, end};
}

// Doublings that are grammar, by language.
[[nodiscard]] bool isLegitimateDoubling(QStringView word, const LanguageTraits& language) noexcept
{
    const auto isAnyOf = [word](std::initializer_list<QStringView> words) {
        return std::any_of(words.begin(), words.end(),
            [word](QStringView legitimate) { return word.compare(legitimate, Qt::CaseInsensitive) == 0; });
    };
    const bool anyLanguage = !language.known;
    return ((anyLanguage || language.french) && isAnyOf({u"nous", u"vous"}))
        || ((anyLanguage || language.german) && isAnyOf({u"die", u"das", u"der"}))
        || ((anyLanguage || language.english) && isAnyOf({u"that", u"had"}));
}

// The first word of text that follows the same word across whitespace
// only, as the pair, or an empty span. With a language, its legitimate
// doublings are skipped. It looks only around each run of whitespace: the
// word that ends before it, and whether the same word starts after it.
[[nodiscard]] Word doubledWordOf(QStringView text, const LanguageTraits* language) noexcept
{
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        if (!isWhitespace(text[at].unicode())) {
            ++at;
            continue;
        }
        qsizetype next = at + 1;
        while (next < size && isWhitespace(text[next].unicode()))
            ++next;
        const Word first = at > 0 && next < size ? wordEndingAt(text, at) : Word{at, at};
        const qsizetype length = first.end - first.start;
        if (length > 0 && next + length <= size && mayBeSameLetter(text[first.start], text[next])
            && (next + length == size || !isLetterOrMark(codePointAt(text, next + length).value))) {
            const QStringView word = text.sliced(first.start, length);
            if (word.compare(text.sliced(next, length), Qt::CaseInsensitive) == 0
                && !(language && isLegitimateDoubling(word, *language)))
                return {first.start, next + length};
        }
        at = next;
    }
    return {0, 0};
}

// The first run of two or more space-like characters inside text (not at
// its edges), or -1.
[[nodiscard]] qsizetype innerDoubleSpace(QStringView text) noexcept
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].isSpace())
        ++start;
    while (end > start && text[end - 1].isSpace())
        --end;
    for (qsizetype at = start + 1; at < end; ++at) {
        if (isSpaceLike(text[at].unicode()) && isSpaceLike(text[at - 1].unicode()))
            return at - 1;
    }
    return -1;
}

enum class LetterCase : std::uint8_t { None, Upper, Lower };

struct FirstLetter {
    LetterCase letterCase = LetterCase::None;
    QStringView written;
};

// The case of the first letter after whitespace, punctuation and symbols;
// None when a tag, a placeholder, a digit or an uncased letter comes first.
[[nodiscard]] FirstLetter firstLetterOf(QStringView text)
{
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        const char16_t unit = text[at].unicode();
        if ((unit == u'<' || unit == u'[') && tagLengthAt(text, at) > 0)
            return {};
        if (unit == u'%' || unit == u'{' || unit < 0x20) {
            const auto spans = xom::placeholderSpans(text.sliced(at));
            if (!spans.empty() && spans.front().first == 0)
                return {};
        }
        const CodePoint c = codePointAt(text, at);
        if (QChar::isLetter(c.value)) {
            const QStringView written = text.sliced(at, c.length);
            if (QChar::isUpper(c.value) || QChar::isTitleCase(c.value))
                return {LetterCase::Upper, written};
            if (QChar::isLower(c.value))
                return {LetterCase::Lower, written};
            return {};
        }
        if (QChar::isNumber(c.value))
            return {};
        at += c.length;
    }
    return {};
}

constexpr unsigned LatinBit = 1;
constexpr unsigned GreekBit = 2;
constexpr unsigned CyrillicBit = 4;

// The look-alike script of a letter, as a bit, or 0. ASCII, Latin-1's
// letters, Latin Extended-A and -B, and the Greek and Cyrillic blocks are
// answered directly (their letters all belong to the
// block's script, but for the Coptic letters U+03E2 .. U+03EF and the
// numeral sign U+0374, which is Common); ICU answers
// the rest.
[[nodiscard]] unsigned scriptBitOf(const char32_t c) noexcept
{
    if (c < 0x80)
        return isAsciiLetter(static_cast<char16_t>(c)) ? LatinBit : 0;
    if (c >= 0x0400 && c <= 0x04FF)
        return c >= 0x0482 && c <= 0x0489 ? 0 : CyrillicBit;
    if (c >= 0x00C0 && c <= 0x024F)
        return c == 0x00D7 || c == 0x00F7 ? 0 : LatinBit;
    if (!QChar::isLetter(c))
        return 0;
    if (c >= 0x0370 && c <= 0x03FF && c != 0x0374 && !(c >= 0x03E2 && c <= 0x03EF))
        return GreekBit;
    UErrorCode status = U_ZERO_ERROR;
    switch (uscript_getScript(static_cast<UChar32>(c), &status)) {
    case USCRIPT_LATIN:
        return LatinBit;
    case USCRIPT_GREEK:
        return GreekBit;
    case USCRIPT_CYRILLIC:
        return CyrillicBit;
    default:
        return 0;
    }
}

[[nodiscard]] QString scriptNames(const unsigned bits)
{
    QStringList names;
    if (bits & LatinBit)
        names += QStringLiteral("Latin");
    if (bits & GreekBit)
        names += QStringLiteral("Greek");
    if (bits & CyrillicBit)
        names += QStringLiteral("Cyrillic");
    return names.join(QStringLiteral(" and "));
}

[[nodiscard]] qsizetype codePointCount(QStringView text, const TextProfile& profile) noexcept
{
    if (!profile.nonAscii)
        return text.size();
    return text.size() - std::count_if(text.begin(), text.end(), [](const QChar c) { return c.isLowSurrogate(); });
}

} // namespace

bool doubledWordFails(const CheckInput& in, QString* detail)
{
    const Word doubled = doubledWordOf(in.text, &in.language);
    if (doubled.end == 0 || doubledWordOf(in.reference, nullptr).end > 0)
        return false;
    if (detail)
        *detail = quoted(in.text.sliced(doubled.start, doubled.end - doubled.start));
    return true;
}

bool doubleSpaceFails(const CheckInput& in, QString* detail)
{
    if (!in.textProfile.doubleSpace)
        return false;
    const qsizetype at = innerDoubleSpace(in.text);
    if (at < 0 || (in.referenceProfile.doubleSpace && innerDoubleSpace(in.reference) >= 0))
        return false;
    if (detail)
        *detail = QStringLiteral("at %1").arg(at);
    return true;
}

bool firstLetterCaseFails(const CheckInput& in, QString* detail)
{
    if (in.language.caseless)
        return false;
    const FirstLetter ofText = firstLetterOf(in.text);
    if (ofText.letterCase == LetterCase::None)
        return false;
    const FirstLetter ofReference = firstLetterOf(in.reference);
    if (ofReference.letterCase == LetterCase::None || ofReference.letterCase == ofText.letterCase)
        return false;
    if (detail)
        *detail = quoted(ofReference.written) + QStringLiteral(" → ") + quoted(ofText.written);
    return true;
}

bool mixedScriptsFail(const CheckInput& in, QString* detail)
{
    if (!in.textProfile.greekOrCyrillic || !in.textProfile.otherThanCyrillic)
        return false;
    Word mixed{0, 0};
    unsigned mixedScripts = 0;
    forEachWord(in.text, [&](const Word word) {
        unsigned scripts = 0;
        for (qsizetype at = word.start; at < word.end;) {
            const CodePoint c = codePointAt(in.text, at);
            scripts |= scriptBitOf(c.value);
            at += c.length;
        }
        // A word the reference has too is a name, spelt as the game spells it.
        if (std::popcount(scripts) < 2 || in.reference.contains(in.text.sliced(word.start, word.end - word.start)))
            return false;
        mixed = word;
        mixedScripts = scripts;
        return true;
    });
    if (mixed.end == 0)
        return false;
    if (detail)
        *detail = quoted(in.text.sliced(mixed.start, mixed.end - mixed.start)) + QStringLiteral(" mixes ")
                + scriptNames(mixedScripts);
    return true;
}

bool lengthFails(const CheckInput& in, QString* detail)
{
    const int maxCharacters = in.context.maxCharacters;
    const int maxPercent = in.context.maxPercentOfReference;
    if (maxCharacters <= 0 && maxPercent <= 0)
        return false;
    const qsizetype length = codePointCount(in.text, in.textProfile);
    const bool tooLongForLimit = maxCharacters > 0 && length > maxCharacters;
    qsizetype referenceLength = 0;
    qsizetype byPercent = 0;
    bool tooLongForReference = false;
    if (maxPercent > 0) {
        referenceLength = codePointCount(in.reference, in.referenceProfile);
        byPercent = referenceLength * maxPercent / 100;
        tooLongForReference = length * 100 > referenceLength * maxPercent;
    }
    if (!tooLongForLimit && !tooLongForReference)
        return false;
    if (detail) {
        // The stricter of the limits that the text exceeds.
        if (tooLongForReference && (!tooLongForLimit || byPercent < maxCharacters))
            *detail = QStringLiteral("%1 characters, at most %2 (%3% of %4)")
                          .arg(length)
                          .arg(byPercent)
                          .arg(maxPercent)
                          .arg(referenceLength);
        else
            *detail = QStringLiteral("%1 characters, at most %2").arg(length).arg(maxCharacters);
    }
    return true;
}

} // namespace checks::scan
