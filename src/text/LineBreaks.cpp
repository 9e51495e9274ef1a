#include "text/LineBreaks.h"

namespace text {

QString withCrLfLineBreaks(const QStringView text)
{
    return withLineBreaksAs(text, u"\r\n");
}

QString withLineBreaksAs(const QStringView text, const QStringView lineBreak)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        switch (unit) {
        case u'\r':
            // A CR LF pair is one break, not two.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += lineBreak;
            break;
        case u'\n':
        case u'\u2028':
        case u'\u2029':
            result += lineBreak;
            break;
        default:
            result += QChar(unit);
        }
    }
    return result;
}

namespace {

// The next unit of a text walked with its line breaks folded to one LF;
// i moves past what was read.
[[nodiscard]] char16_t nextFolded(const QStringView text, qsizetype& i) noexcept
{
    const char16_t unit = text[i++].unicode();
    switch (unit) {
    case u'\r':
        if (i < text.size() && text[i] == u'\n')
            ++i;
        return u'\n';
    case u'\u2028':
    case u'\u2029':
        return u'\n';
    default:
        return unit;
    }
}

} // namespace

bool equalUpToLineBreaks(const QStringView a, const QStringView b) noexcept
{
    if (a == b)
        return true;
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (nextFolded(a, i) != nextFolded(b, j))
            return false;
    }
    return i == a.size() && j == b.size();
}

bool breaksLineOrTabs(const QStringView text) noexcept
{
    for (const QChar unit : text) {
        switch (unit.unicode()) {
        case u'\t':
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x0085:
        case 0x2028:
        case 0x2029:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace text
