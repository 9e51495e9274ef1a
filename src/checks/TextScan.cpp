#include "checks/TextScan.h"

#include "text/Addresses.h"
#include "xom/TranslationChecks.h"

#include <QChar>

#include <array>

namespace checks::scan {

namespace {

// No tag is longer: a stray '<' or '[' costs at most this much reading.
constexpr qsizetype MaxTagLength = 256;

[[nodiscard]] bool isGreekOrCyrillicUnit(const char16_t c) noexcept
{
    // Every Greek and Cyrillic letter lies in one of these blocks or outside
    // the BMP (a surrogate); the blocks hold other things too, which only
    // costs the mixed-scripts check a closer look.
    return (c >= 0x0370 && c <= 0x052F) || (c >= 0x1C80 && c <= 0x1DBF) || (c >= 0x1F00 && c <= 0x1FFF) || c == 0x2126
        || (c >= 0x2DE0 && c <= 0x2DFF) || (c >= 0xA640 && c <= 0xA69F) || (c >= 0xAB30 && c <= 0xAB6F)
        || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFE2E || c == 0xFE2F;
}

// What the character checks look for: controls, zero-width characters,
// joiners, bidirectional controls and the replacement character.
[[nodiscard]] bool isSpecialUnit(const char16_t c) noexcept
{
    return isControlCharacter(c) || c == 0x061C || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E)
        || c == 0x2060 || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF || c == 0xFFFD;
}

[[nodiscard]] bool isMarkupNameCharacter(const char16_t c) noexcept
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == u'_' || c == u'-' || c == u':' || c == u'.';
}

[[nodiscard]] bool isBracketNameCharacter(const char16_t c) noexcept
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == u'_' || c == u'-';
}

// The end of an attribute's value that starts at `at`, or -1 when none
// does: quoted on one line, or a run up to a space, '>' or "/>".
[[nodiscard]] qsizetype attributeValueEnd(QStringView text, qsizetype at, const qsizetype limit) noexcept
{
    if (at < limit && (text[at] == u'"' || text[at] == u'\'')) {
        const QChar quote = text[at];
        for (++at; at < limit && text[at] != quote; ++at) {
            if (text[at] == u'\n' || text[at] == u'<')
                return -1;
        }
        return at < limit ? at + 1 : -1;
    }
    const qsizetype start = at;
    while (at < limit) {
        const char16_t c = text[at].unicode();
        if (c == u' ' || c == u'\t' || c == u'>' || c == u'<' || c == u'\n' || c == u'\r'
            || (c == u'/' && at + 1 < limit && text[at + 1] == u'>'))
            break;
        ++at;
    }
    return at > start ? at : -1;
}

[[nodiscard]] qsizetype markupTagLength(QStringView text, const qsizetype start) noexcept
{
    const qsizetype limit = std::min(text.size(), start + MaxTagLength);
    qsizetype at = start + 1;
    if (at < limit && text[at] == u'/')
        ++at;
    if (at >= limit || !isAsciiLetter(text[at].unicode()))
        return 0;
    while (at < limit && isMarkupNameCharacter(text[at].unicode()))
        ++at;
    while (at < limit) {
        const char16_t c = text[at].unicode();
        if (c == u'>')
            return at + 1 - start;
        if (c == u'/')
            return at + 1 < limit && text[at + 1] == u'>' ? at + 2 - start : 0;
        if (c == u' ' || c == u'\t') {
            ++at;
        } else if (c == u'=') {
            at = attributeValueEnd(text, at + 1, limit);
            if (at < 0)
                return 0;
        } else if (isAsciiLetter(c)) {
            while (at < limit && isMarkupNameCharacter(text[at].unicode()))
                ++at;
        } else {
            return 0;
        }
    }
    return 0;
}

// Whether "[/name]" follows from `from` on.
[[nodiscard]] bool isClosedLater(QStringView text, QStringView name, qsizetype from) noexcept
{
    while ((from = text.indexOf(u"[/", from)) >= 0) {
        from += 2;
        const qsizetype end = from + name.size();
        if (end < text.size() && text[end] == u']'
            && text.sliced(from, name.size()).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

[[nodiscard]] qsizetype bracketTagLength(QStringView text, const qsizetype start) noexcept
{
    const qsizetype limit = std::min(text.size(), start + MaxTagLength);
    qsizetype at = start + 1;
    const bool closing = at < limit && text[at] == u'/';
    if (closing)
        ++at;
    const qsizetype nameStart = at;
    while (at < limit && isBracketNameCharacter(text[at].unicode()))
        ++at;
    if (at == nameStart || at >= limit)
        return 0;
    if (text[at] == u']') {
        // A bracketed word alone ("[Open]") is text; a tag is closed.
        if (closing || isClosedLater(text, text.sliced(nameStart, at - nameStart), at + 1))
            return at + 1 - start;
        return 0;
    }
    if (closing || text[at] != u'=')
        return 0;
    const qsizetype valueStart = ++at;
    while (at < limit && text[at] != u']' && text[at] != u'[' && text[at] != u'\n' && text[at] != u'\r')
        ++at;
    if (at == valueStart || at >= limit || text[at] != u']')
        return 0;
    return at + 1 - start;
}

// A two-letter language code as traitsOf packs it.
[[nodiscard]] constexpr std::uint32_t languageCode(const char (&code)[3]) noexcept
{
    return static_cast<std::uint32_t>(code[0]) << 8 | static_cast<std::uint32_t>(code[1]);
}

// The languages whose scripts have no case, sorted by code.
constexpr auto CaselessLanguages = [] {
    std::array<std::uint32_t, 33> codes{languageCode("ja"), languageCode("zh"), languageCode("ko"), languageCode("th"),
        languageCode("lo"), languageCode("km"), languageCode("my"), languageCode("ar"), languageCode("fa"),
        languageCode("ur"), languageCode("he"), languageCode("yi"), languageCode("hi"), languageCode("bn"),
        languageCode("ta"), languageCode("te"), languageCode("kn"), languageCode("ml"), languageCode("mr"),
        languageCode("gu"), languageCode("pa"), languageCode("ne"), languageCode("si"), languageCode("ka"),
        languageCode("am"), languageCode("ti"), languageCode("ps"), languageCode("sd"), languageCode("ug"),
        languageCode("bo"), languageCode("dz"), languageCode("or"), languageCode("as")};
    std::sort(codes.begin(), codes.end());
    return codes;
}();

// Whether a non-ASCII unit outside the Greek and Cyrillic blocks may be a
// letter: Latin-1's symbols and the general punctuation hold none.
[[nodiscard]] bool mayBeOtherLetter(const char16_t c) noexcept
{
    if (c <= 0xBF)
        return c == 0xAA || c == 0xBA;
    return c < 0x2000 || c > 0x206F;
}

[[nodiscard]] std::uint16_t flagsOf(const char16_t c) noexcept
{
    std::uint16_t flags = 0;
    const auto set = [&flags](const bool condition, const std::uint16_t flag) {
        if (condition)
            flags |= flag;
    };
    set(c >= 0x80, NonAsciiFlag);
    set(mayBeDigit(c), DigitFlag);
    set(c == u'<', AngleFlag);
    set(c == u'[', BracketFlag);
    set(c == u'\\', BackslashFlag);
    set(c == u'%' || c == u'{' || (c < 0x20 && isControlCharacter(c)), PlaceholderFlag);
    set(c == u'@', AtFlag);
    set(c == u'/' || c == u'.', ContextFlag);
    set(isSpecialUnit(c), SpecialFlag);
    set(isGreekOrCyrillicUnit(c), GreekOrCyrillicFlag);
    set(c < 0x80 ? isAsciiLetter(c) : (isGreekOrCyrillicUnit(c) ? (c < 0x0400 || c > 0x04FF) : mayBeOtherLetter(c)),
        OtherThanCyrillicFlag);
    set(c == u'?' || c == u'!' || c == u':' || c == u';' || c == 0x00AB || c == 0x00BB, FrenchMarkFlag);
    set(c == u'?' || c == u'!' || c == u':' || c == u';' || c == u',' || c == u'.', MarkFlag);
    set(isSpaceLike(c), SpaceLikeFlag);
    set(QChar::isSpace(c), WhitespaceFlag);
    set(!QChar::isSurrogate(c) && (QChar::isLetter(c) || QChar::isMark(c)), LetterOrMarkFlag);
    return flags;
}

[[nodiscard]] bool isW(const QChar c) noexcept
{
    return c == u'w' || c == u'W';
}

// Whether the '/' or '.' at `at` completes ":/" or "www.".
[[nodiscard]] bool startsUrlMark(QStringView text, const qsizetype at) noexcept
{
    if (text[at] == u'/')
        return at >= 1 && text[at - 1] == u':';
    return at >= 3 && isW(text[at - 1]) && isW(text[at - 2]) && isW(text[at - 3]);
}

const std::array<std::uint16_t, 0x10000> UnitFlagTable = [] {
    std::array<std::uint16_t, 0x10000> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = flagsOf(static_cast<char16_t>(c));
    return table;
}();

} // namespace

const std::uint16_t* const UnitFlags = UnitFlagTable.data();

TextProfile TextProfile::everything() noexcept
{
    return {true, true, true, true, true, true, true, true, true, true, true, true, true};
}

TextProfile profileOf(QStringView text) noexcept
{
    std::uint16_t seen = 0;
    bool urlMark = false;
    bool doubleSpace = false;
    bool spacedMark = false;
    bool previousSpace = false;
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const std::uint16_t flags = unitFlags(text[at].unicode());
        seen |= flags;
        if (flags & ContextFlag) [[unlikely]]
            urlMark |= startsUrlMark(text, at);
        const bool space = (flags & SpaceLikeFlag) != 0;
        doubleSpace |= space && previousSpace;
        spacedMark |= (flags & MarkFlag) && previousSpace;
        previousSpace = space;
    }
    TextProfile profile;
    profile.nonAscii = (seen & NonAsciiFlag) != 0;
    profile.digit = (seen & DigitFlag) != 0;
    profile.angle = (seen & AngleFlag) != 0;
    profile.bracket = (seen & BracketFlag) != 0;
    profile.backslash = (seen & BackslashFlag) != 0;
    profile.placeholderStart = (seen & PlaceholderFlag) != 0;
    profile.urlMark = urlMark || (seen & AtFlag) != 0;
    profile.doubleSpace = doubleSpace;
    profile.special = (seen & SpecialFlag) != 0;
    profile.greekOrCyrillic = (seen & GreekOrCyrillicFlag) != 0;
    profile.otherThanCyrillic = (seen & OtherThanCyrillicFlag) != 0;
    profile.frenchMark = (seen & FrenchMarkFlag) != 0;
    profile.spacedMark = spacedMark;
    return profile;
}

LanguageTraits traitsOf(QStringView languageTag) noexcept
{
    // The review asks for every entry: the primary subtag is packed into
    // one number and compared with constants, as case-insensitive string
    // comparisons would cost more than the checks themselves.
    std::uint32_t primary = 0;
    for (qsizetype at = 0; at < languageTag.size() && languageTag[at] != u'-' && languageTag[at] != u'_'; ++at) {
        const char16_t c = languageTag[at].unicode();
        if (!isAsciiLetter(c) || at == 3)
            return {};
        primary = primary << 8 | (c | 0x20);
    }
    const auto is = [primary](const char(&language)[3]) { return primary == languageCode(language); };
    LanguageTraits traits;
    traits.known = primary != 0;
    traits.french = is("fr");
    traits.spanish = is("es");
    traits.greek = is("el");
    traits.german = is("de");
    traits.english = is("en");
    traits.dropsFullStop = is("th") || is("lo");
    traits.caseless = std::binary_search(CaselessLanguages.begin(), CaselessLanguages.end(), primary);
    return traits;
}

QString codePointName(const char32_t c)
{
    return QStringLiteral("U+") + QString::number(c, 16).toUpper().rightJustified(4, u'0');
}

QString quoted(QStringView text)
{
    return QChar(0x201C) + text.toString() + QChar(0x201D);
}

QString differenceDetail(const QStringList& missing, const QStringList& extra)
{
    QStringList parts;
    if (!missing.isEmpty())
        parts += QStringLiteral("missing ") + missing.join(u", ");
    if (!extra.isEmpty())
        parts += QStringLiteral("extra ") + extra.join(u", ");
    return parts.join(u"; ");
}

qsizetype tagLengthAt(QStringView text, const qsizetype at) noexcept
{
    if (text[at] == u'<')
        return markupTagLength(text, at);
    if (text[at] == u'[')
        return bracketTagLength(text, at);
    return 0;
}

void forEachUrl(QStringView text, const std::function<void(QStringView)>& found)
{
    qsizetype at = 0;
    qsizetype consumed = 0; // an address never reaches back into a URL
    while (at < text.size()) {
        const char16_t c = text[at].unicode();
        if (c == u'h' || c == u'H' || c == u'w' || c == u'W') {
            const qsizetype length = text::urlLengthAt(text, at);
            if (length > 0) {
                found(text.sliced(at, length));
                at += length;
                consumed = at;
                continue;
            }
        } else if (c == u'@') {
            const auto [emailStart, emailEnd] = text::emailAround(text, at, consumed);
            const Span email{emailStart, emailEnd};
            if (email.end > email.start) {
                found(text.sliced(email.start, email.end - email.start));
                at = consumed = email.end;
                continue;
            }
        }
        ++at;
    }
}

void maskedSpansInto(QStringView text, const TextProfile& profile, std::vector<Span>& spans)
{
    spans.clear();
    const auto add = [&spans, &text](QStringView part) {
        const qsizetype start = part.data() - text.data();
        spans.push_back({start, start + part.size()});
    };
    if (profile.placeholderStart) {
        for (const auto& [start, length] : xom::placeholderSpans(text))
            spans.push_back({start, start + length});
    }
    if (profile.angle || profile.bracket)
        forEachTag(text, add);
    if (profile.urlMark)
        forEachUrl(text, add);
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    // Merge what overlaps (a placeholder inside a tag, a URL in a bracket tag).
    std::size_t kept = 0;
    for (const Span& span : spans) {
        if (kept > 0 && span.start < spans[kept - 1].end)
            spans[kept - 1].end = std::max(spans[kept - 1].end, span.end);
        else
            spans[kept++] = span;
    }
    spans.resize(kept);
}

} // namespace checks::scan
