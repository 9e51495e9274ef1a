#include "checks/TextScan.h"

#include "xom/TranslationChecks.h"

#include <QChar>

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

[[nodiscard]] bool isSpecialUnit(const char16_t c) noexcept
{
    return c <= 0x9F || c == 0x061C || (c >= 0x200B && c <= 0x206F) || c == 0xFEFF || c == 0xFFFD;
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

[[nodiscard]] bool startsWithCaseInsensitive(QStringView text, const qsizetype at, QStringView prefix) noexcept
{
    return text.size() - at >= prefix.size()
        && text.sliced(at, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

// The length of the URL that starts at `at`, or 0. A URL starts a word and
// runs to a space or a character that cannot stand in one unquoted; the
// punctuation a sentence puts after it is no part of it.
[[nodiscard]] qsizetype urlLengthAt(QStringView text, const qsizetype at) noexcept
{
    if (at > 0 && (text[at - 1].isLetterOrNumber() || text[at - 1] == u'.' || text[at - 1] == u'/'))
        return 0;
    if (!startsWithCaseInsensitive(text, at, u"http://") && !startsWithCaseInsensitive(text, at, u"https://")
        && !startsWithCaseInsensitive(text, at, u"www."))
        return 0;
    qsizetype end = at;
    while (end < text.size()) {
        const char16_t c = text[end].unicode();
        if (QChar::isSpace(c) || c == u'<' || c == u'>' || c == u'"' || c == u'[' || c == u']' || c == 0x201C
            || c == 0x201D || c == 0x00AB || c == 0x00BB || c < 0x20)
            break;
        ++end;
    }
    while (end > at && QStringView(u".,;:!?)'’").contains(text[end - 1]))
        --end;
    return end - at;
}

[[nodiscard]] bool isEmailLocalCharacter(const char16_t c) noexcept
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == u'.' || c == u'_' || c == u'+' || c == u'-';
}

[[nodiscard]] bool isEmailDomainCharacter(const char16_t c) noexcept
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == u'.' || c == u'-';
}

// The e-mail address around the '@' at `at`, not reaching before `from`,
// or an empty span: a local part, and a domain with an inner dot.
[[nodiscard]] Span emailAround(QStringView text, const qsizetype at, const qsizetype from) noexcept
{
    qsizetype start = at;
    while (start > from && isEmailLocalCharacter(text[start - 1].unicode()))
        --start;
    qsizetype end = at + 1;
    while (end < text.size() && isEmailDomainCharacter(text[end].unicode()))
        ++end;
    while (end > at + 1 && (text[end - 1] == u'.' || text[end - 1] == u'-'))
        --end;
    const QStringView domain = text.sliced(at + 1, end - at - 1);
    const qsizetype dot = domain.indexOf(u'.');
    if (start == at || dot <= 0 || dot == domain.size() - 1)
        return {at, at};
    return {start, end};
}

} // namespace

TextProfile TextProfile::everything() noexcept
{
    return {true, true, true, true, true, true, true, true, true, true};
}

TextProfile profileOf(QStringView text) noexcept
{
    TextProfile profile;
    char16_t previous = 0;
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t c = text[at].unicode();
        if (c < 0x80) {
            if (c >= u'0' && c <= u'9') {
                profile.asciiDigit = true;
            } else if (c < 0x20) {
                if (c != u'\t' && c != u'\n' && c != u'\r') {
                    profile.placeholderStart = true;
                    profile.special = true;
                }
            } else {
                switch (c) {
                case u'<':
                    profile.angle = true;
                    break;
                case u'[':
                    profile.bracket = true;
                    break;
                case u'\\':
                    profile.backslash = true;
                    break;
                case u'%':
                case u'{':
                    profile.placeholderStart = true;
                    break;
                case u'@':
                    profile.urlMark = true;
                    break;
                case u'/':
                    profile.urlMark |= previous == u':';
                    break;
                case u'.':
                    profile.urlMark |= at >= 3 && (text[at - 1] == u'w' || text[at - 1] == u'W')
                                    && (text[at - 2] == u'w' || text[at - 2] == u'W')
                                    && (text[at - 3] == u'w' || text[at - 3] == u'W');
                    break;
                case u' ':
                    profile.doubleSpace |= isSpaceLike(previous);
                    break;
                case 0x7F:
                    profile.special = true;
                    break;
                default:
                    break;
                }
            }
        } else {
            profile.nonAscii = true;
            if (isGreekOrCyrillicUnit(c))
                profile.greekOrCyrillic = true;
            else if (isSpecialUnit(c))
                profile.special = true;
            // The narrow no-break space lies among the special units.
            if (isSpaceLike(c) && isSpaceLike(previous))
                profile.doubleSpace = true;
        }
        previous = c;
    }
    return profile;
}

LanguageTraits traitsOf(QStringView languageTag) noexcept
{
    qsizetype end = 0;
    while (end < languageTag.size() && languageTag[end] != u'-' && languageTag[end] != u'_')
        ++end;
    const QStringView primary = languageTag.first(end);
    const auto is = [primary](QStringView language) { return primary.compare(language, Qt::CaseInsensitive) == 0; };
    const auto isAnyOf = [&is](std::initializer_list<QStringView> languages) {
        return std::any_of(languages.begin(), languages.end(), is);
    };
    LanguageTraits traits;
    traits.known = !primary.isEmpty();
    traits.french = is(u"fr");
    traits.spanish = is(u"es");
    traits.greek = is(u"el");
    traits.german = is(u"de");
    traits.english = is(u"en");
    traits.dropsFullStop = is(u"th") || is(u"lo");
    traits.caseless = isAnyOf({u"ja", u"zh", u"ko", u"th", u"lo", u"km", u"my", u"ar", u"fa", u"ur", u"he", u"yi",
        u"hi", u"bn", u"ta", u"te", u"kn", u"ml", u"mr", u"gu", u"pa", u"ne", u"si", u"ka", u"am", u"ti", u"ps", u"sd",
        u"ug", u"bo", u"dz", u"or", u"as"});
    return traits;
}

CodePoint codePointAt(QStringView text, const qsizetype at) noexcept
{
    const char16_t c = text[at].unicode();
    if (QChar::isHighSurrogate(c) && at + 1 < text.size() && QChar::isLowSurrogate(text[at + 1].unicode()))
        return {QChar::surrogateToUcs4(c, text[at + 1].unicode()), 2};
    return {c, 1};
}

CodePoint codePointBefore(QStringView text, const qsizetype end) noexcept
{
    const char16_t c = text[end - 1].unicode();
    if (QChar::isLowSurrogate(c) && end >= 2 && QChar::isHighSurrogate(text[end - 2].unicode()))
        return {QChar::surrogateToUcs4(text[end - 2].unicode(), c), 2};
    return {c, 1};
}

bool isLetterOrMark(const char32_t c) noexcept
{
    if (c < 0x80)
        return isAsciiLetter(static_cast<char16_t>(c));
    return QChar::isLetter(c) || QChar::isMark(c);
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
            const qsizetype length = urlLengthAt(text, at);
            if (length > 0) {
                found(text.sliced(at, length));
                at += length;
                consumed = at;
                continue;
            }
        } else if (c == u'@') {
            const Span email = emailAround(text, at, consumed);
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
