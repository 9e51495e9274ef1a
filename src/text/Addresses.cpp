#include "text/Addresses.h"

namespace text {

namespace {

bool isAsciiLetterOrDigit(const char16_t c) noexcept
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool startsWithCaseInsensitive(const QStringView text, const qsizetype at, const QStringView prefix) noexcept
{
    return text.size() - at >= prefix.size()
        && text.sliced(at, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

bool isEmailLocalCharacter(const char16_t c) noexcept
{
    return isAsciiLetterOrDigit(c) || c == u'.' || c == u'_' || c == u'+' || c == u'-';
}

bool isEmailDomainCharacter(const char16_t c) noexcept
{
    return isAsciiLetterOrDigit(c) || c == u'.' || c == u'-';
}

} // namespace

qsizetype urlLengthAt(const QStringView text, const qsizetype at) noexcept
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
    while (end > at && QStringView(u".,;:!?)'\u2019").contains(text[end - 1]))
        --end;
    return end - at;
}

std::pair<qsizetype, qsizetype> emailAround(const QStringView text, const qsizetype at, const qsizetype from) noexcept
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

} // namespace text
