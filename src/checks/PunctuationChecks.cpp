// The punctuation at a text's ends and the spacing before its marks. Each
// function reads a few characters at an end, or the text once.

#include "checks/TextScan.h"

#include <QChar>

#include <cstdint>

namespace checks::scan {

namespace {

enum class Ending : std::uint8_t {
    None,
    FullStop,
    Ellipsis,
    Question,
    Exclamation,
    QuestionAndExclamation,
    Colon,
    Semicolon,
};

struct FoundEnding {
    Ending ending = Ending::None;
    QStringView written;
};

// The sets below are switches: they are asked of nearly every text's ends.

[[nodiscard]] bool isQuote(const char16_t c) noexcept
{
    switch (c) {
    case u'"':
    case u'\'':
    case 0x201C: // “
    case 0x201D: // ”
    case 0x201E: // „
    case 0x201F: // ‟
    case 0x2018: // ‘
    case 0x2019: // ’
    case 0x201A: // ‚
    case 0x201B: // ‛
    case 0x00AB: // «
    case 0x00BB: // »
    case 0x2039: // ‹
    case 0x203A: // ›
    case 0x300C: // 「
    case 0x300D: // 」
    case 0x300E: // 『
    case 0x300F: // 』
    case 0x301D: // 〝
    case 0x301E: // 〞
    case 0xFF02: // ＂
    case 0xFF07: // ＇
        return true;
    default:
        return false;
    }
}

[[nodiscard]] bool isClosingBracket(const char16_t c) noexcept
{
    switch (c) {
    case u')':
    case u']':
    case u'}':
    case 0xFF09: // ）
    case 0xFF3D: // ］
    case 0xFF5D: // ｝
    case 0x3011: // 】
    case 0x3015: // 〕
    case 0x3009: // 〉
    case 0x300B: // 》
    case 0x27E9: // ⟩
        return true;
    default:
        return false;
    }
}

[[nodiscard]] bool isOpeningBracket(const char16_t c) noexcept
{
    switch (c) {
    case u'(':
    case u'[':
    case u'{':
    case 0xFF08: // （
    case 0xFF3B: // ［
    case 0xFF5B: // ｛
    case 0x3010: // 【
    case 0x3014: // 〔
    case 0x3008: // 〈
    case 0x300A: // 《
    case 0x27E8: // ⟨
        return true;
    default:
        return false;
    }
}

[[nodiscard]] bool isDash(const char16_t c) noexcept
{
    return c == u'-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212;
}

// Full stops of other scripts: ideographic, full-width, halfwidth, Devanagari
// danda and double danda, Urdu, Armenian, Ethiopic, Khmer, Myanmar.
[[nodiscard]] bool isOtherFullStop(const char16_t c) noexcept
{
    switch (c) {
    case 0x3002:
    case 0xFF0E:
    case 0xFF61:
    case 0x0964:
    case 0x0965:
    case 0x06D4:
    case 0x0589:
    case 0x1362:
    case 0x17D4:
    case 0x104B:
        return true;
    default:
        return false;
    }
}

[[nodiscard]] bool isQuestionMark(const char16_t c, const bool greek) noexcept
{
    return c == u'?' || c == 0xFF1F || c == 0x061F || c == 0x037E || (greek && c == u';');
}

[[nodiscard]] bool isExclamationMark(const char16_t c) noexcept
{
    return c == u'!' || c == 0xFF01;
}

// Abbreviations whose dot ends no sentence, without that dot, in lower case.
constexpr QStringView Abbreviations[]{u"mr", u"mrs", u"ms", u"dr", u"st", u"jr", u"sr", u"prof", u"etc", u"e.g", u"i.e",
    u"vs", u"approx", u"hr", u"fr", u"z.b", u"usw", u"bzw", u"ca", u"vgl", u"nr", u"str", u"m", u"mme", u"mlle", u"cf",
    u"sra", u"srta", u"ud", u"uds", u"г", u"гг", u"т.д", u"т.п", u"т.е", u"др", u"ул", u"св"};

// Whether the dot at `dot` ends an abbreviation: the word of letters and
// inner dots before it is one of Abbreviations.
[[nodiscard]] bool endsAbbreviation(QStringView text, const qsizetype dot) noexcept
{
    qsizetype start = dot;
    while (start > 0 && (text[start - 1].isLetter() || text[start - 1] == u'.') && dot - start <= 6)
        --start;
    if (start == dot || (start > 0 && (text[start - 1].isLetterOrNumber())))
        return false;
    const QStringView word = text.sliced(start, dot - start);
    // The first letters decide most comparisons without folding case.
    const char16_t first = QChar::toLower(word[0].unicode());
    return std::any_of(std::begin(Abbreviations), std::end(Abbreviations), [word, first](QStringView abbreviation) {
        return word.size() == abbreviation.size() && first == abbreviation[0]
            && word.compare(abbreviation, Qt::CaseInsensitive) == 0;
    });
}

// Where a text's ending punctuation ends: before trailing whitespace,
// closing quotes and brackets, and closing tags.
[[nodiscard]] qsizetype endingEnd(QStringView text) noexcept
{
    qsizetype end = text.size();
    while (end > 0) {
        const char16_t c = text[end - 1].unicode();
        if (QChar::isSpace(c) || isQuote(c)) {
            --end;
            continue;
        }
        if (c == u'>' || c == u']') {
            const qsizetype start = text.first(end).lastIndexOf(c == u'>' ? u'<' : u'[');
            if (start >= 0 && tagLengthAt(text, start) == end - start) {
                end = start;
                continue;
            }
        }
        if (isClosingBracket(c)) {
            --end;
            continue;
        }
        break;
    }
    return end;
}

[[nodiscard]] FoundEnding endingOf(QStringView text, const bool greek) noexcept
{
    const qsizetype end = endingEnd(text);
    if (end == 0)
        return {};
    const char16_t c = text[end - 1].unicode();
    if (c == u'.') {
        if (end >= 3 && text[end - 2] == u'.' && text[end - 3] == u'.')
            return {Ending::Ellipsis, text.sliced(end - 3, 3)};
        if (endsAbbreviation(text, end - 1))
            return {};
        return {Ending::FullStop, text.sliced(end - 1, 1)};
    }
    if (isOtherFullStop(c))
        return {Ending::FullStop, text.sliced(end - 1, 1)};
    if (c == 0x2026 || c == 0x22EF)
        return {Ending::Ellipsis, text.sliced(end - 1, 1)};
    if (isQuestionMark(c, greek) || isExclamationMark(c)) {
        bool question = false;
        bool exclamation = false;
        qsizetype start = end;
        for (; start > 0; --start) {
            const char16_t mark = text[start - 1].unicode();
            if (isQuestionMark(mark, greek))
                question = true;
            else if (isExclamationMark(mark))
                exclamation = true;
            else
                break;
        }
        const Ending ending = question && exclamation ? Ending::QuestionAndExclamation
                            : question                ? Ending::Question
                                                      : Ending::Exclamation;
        return {ending, text.sliced(start, end - start)};
    }
    if (c == u':' || c == 0xFF1A)
        return {Ending::Colon, text.sliced(end - 1, 1)};
    if (c == u';' || c == 0xFF1B)
        return {Ending::Semicolon, text.sliced(end - 1, 1)};
    return {};
}

[[nodiscard]] QString shownOrNone(QStringView written)
{
    return written.isEmpty() ? QStringLiteral("none") : quoted(written);
}

// The class of a text's opening punctuation: 0 for none, one of these for
// the marks that count as one, or the mark itself.
enum : std::uint32_t {
    NoOpening = 0,
    QuoteOpening = 0x110000,
    BracketOpening,
    DashOpening,
    EllipsisOpening,
};

struct FoundOpening {
    std::uint32_t kind = NoOpening;
    QStringView written;
};

[[nodiscard]] FoundOpening openingOf(QStringView text, const bool skipInvertedMark) noexcept
{
    const qsizetype size = text.size();
    qsizetype at = 0;
    for (;;) {
        while (at < size && isWhitespace(text[at].unicode()))
            ++at;
        const qsizetype tag = at < size ? tagLengthAt(text, at) : 0;
        if (tag == 0)
            break;
        at += tag;
    }
    if (skipInvertedMark && at < size && (text[at] == u'¿' || text[at] == u'¡'))
        ++at;
    if (at == size)
        return {};
    const char16_t c = text[at].unicode();
    // Most texts start with a letter or a digit: no punctuation, and no
    // need to ask the sets below.
    if ((unitFlags(c) & (LetterOrMarkFlag | DigitFlag)) != 0 || c == u'%' || c == u'{')
        return {};
    if (c == 0x2026)
        return {EllipsisOpening, text.sliced(at, 1)};
    if (text.sliced(at).startsWith(u"..."))
        return {EllipsisOpening, text.sliced(at, 3)};
    if (isQuote(c))
        return {QuoteOpening, text.sliced(at, 1)};
    if (isOpeningBracket(c))
        return {BracketOpening, text.sliced(at, 1)};
    if (isDash(c))
        return {DashOpening, text.sliced(at, 1)};
    if (QChar::isPunct(c))
        return {c, text.sliced(at, 1)};
    return {};
}

// Whether the mark at `at` ends a phrase: after it (and any marks of its
// run) comes the end, a space, a closing quote, or for '?' and '!' a
// closing bracket. "12:30", "http://", ":)" and ".NET" do not.
[[nodiscard]] bool endsPhrase(QStringView text, const qsizetype at) noexcept
{
    const char16_t mark = text[at].unicode();
    qsizetype next = at + 1;
    while (next < text.size() && (text[next] == u'?' || text[next] == u'!'))
        ++next;
    if (next == text.size())
        return true;
    const char16_t c = text[next].unicode();
    return QChar::isSpace(c) || isQuote(c) || ((mark == u'?' || mark == u'!') && isClosingBracket(c));
}

[[nodiscard]] bool isFrenchSpacedMark(const char16_t c) noexcept
{
    return c == u'?' || c == u'!' || c == u':' || c == u';';
}

[[nodiscard]] bool isUnspacedMark(const char16_t c) noexcept
{
    return isFrenchSpacedMark(c) || c == u',' || c == u'.';
}

// French: the first place where a space is missing before "? ! : ;" or
// inside « », or -1.
[[nodiscard]] qsizetype missingFrenchSpace(QStringView text, QString* what)
{
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t c = text[at].unicode();
        if (c == 0x00AB) {
            if (at + 1 < size && !isSpaceLike(text[at + 1].unicode())) {
                if (what)
                    *what = QStringLiteral("no space after “«” at %1").arg(at);
                return at;
            }
        } else if (c == 0x00BB) {
            if (at > 0 && !isSpaceLike(text[at - 1].unicode())) {
                if (what)
                    *what = QStringLiteral("no space before “»” at %1").arg(at);
                return at;
            }
        } else if (isFrenchSpacedMark(c) && at > 0) {
            const char16_t before = text[at - 1].unicode();
            // The second mark of "?!" and a mark at a line's start need none.
            if (isFrenchSpacedMark(before) || isSpaceLike(before) || QChar::isSpace(before) || isOpeningBracket(before)
                || !endsPhrase(text, at))
                continue;
            if (what)
                *what = QStringLiteral("no space before “%1” at %2").arg(QChar(c)).arg(at);
            return at;
        }
    }
    return -1;
}

// Whether a space stands before the mark at `at`, after some text of the
// same line: " ?" at a line's start, an ellipsis (" ...") or a dash before
// it is something else.
[[nodiscard]] bool isSpacedBefore(QStringView text, const qsizetype at) noexcept
{
    qsizetype before = at;
    while (before > 0 && isSpaceLike(text[before - 1].unicode()))
        --before;
    if (before == at || before == 0)
        return false;
    const char16_t c = text[before - 1].unicode();
    return !QChar::isSpace(c) && !isDash(c) && c != 0x2026;
}

[[nodiscard]] bool referenceSpacesBefore(QStringView reference, const char16_t mark) noexcept
{
    for (qsizetype at = reference.indexOf(QChar(mark)); at >= 0; at = reference.indexOf(QChar(mark), at + 1)) {
        if (at > 0 && isSpaceLike(reference[at - 1].unicode()))
            return true;
    }
    return false;
}

// Every other language: the first mark of "? ! : ; , ." with a space
// before it that the reference does not space alike, or -1.
[[nodiscard]] qsizetype unwantedSpace(QStringView reference, QStringView text) noexcept
{
    const qsizetype size = text.size();
    for (qsizetype at = 1; at < size; ++at) {
        const char16_t c = text[at].unicode();
        if (!isUnspacedMark(c) || !isSpaceLike(text[at - 1].unicode()))
            continue;
        if (c == u'.' && at + 1 < size && text[at + 1] == u'.')
            continue;
        if (isSpacedBefore(text, at) && endsPhrase(text, at) && !referenceSpacesBefore(reference, c))
            return at;
    }
    return -1;
}

} // namespace

bool endPunctuationFails(const CheckInput& in, QString* detail)
{
    const FoundEnding ofReference = endingOf(in.reference, false);
    const FoundEnding ofText = endingOf(in.text, in.language.greek);
    if (ofReference.ending == ofText.ending)
        return false;
    if (in.language.dropsFullStop && ofReference.ending == Ending::FullStop && ofText.ending == Ending::None)
        return false;
    if (detail)
        *detail = shownOrNone(ofReference.written) + QStringLiteral(" → ") + shownOrNone(ofText.written);
    return true;
}

bool startPunctuationFails(const CheckInput& in, QString* detail)
{
    const FoundOpening ofReference = openingOf(in.reference, false);
    const bool referenceInverted = ofReference.kind == u'¿' || ofReference.kind == u'¡';
    const FoundOpening ofText = openingOf(in.text, in.language.spanish && !referenceInverted);
    if (ofReference.kind == ofText.kind)
        return false;
    if (detail)
        *detail = shownOrNone(ofReference.written) + QStringLiteral(" → ") + shownOrNone(ofText.written);
    return true;
}

bool punctuationSpacingFails(const CheckInput& in, QString* detail)
{
    if (!in.language.known)
        return false;
    if (in.language.french)
        return in.textProfile.frenchMark && missingFrenchSpace(in.text, detail) >= 0;
    if (!in.textProfile.spacedMark)
        return false;
    const qsizetype at = unwantedSpace(in.reference, in.text);
    if (at < 0)
        return false;
    if (detail)
        *detail = QStringLiteral("space before “%1” at %2").arg(in.text[at]).arg(at);
    return true;
}

} // namespace checks::scan
