#include "text/LineBreaks.h"

namespace text {

namespace {

[[nodiscard]] bool isSeparator(const char16_t unit, const LineBreakSet breaks) noexcept
{
    return breaks == LineBreakSet::TextBox && (unit == u'\u2028' || unit == u'\u2029');
}

QString withBreaksAs(const QStringView text, const QStringView lineBreak, const LineBreakSet breaks)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == u'\r') {
            // A CR LF pair is one break, not two.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += lineBreak;
        } else if (unit == u'\n' || isSeparator(unit, breaks)) {
            result += lineBreak;
        } else {
            result += QChar(unit);
        }
    }
    return result;
}

// The next unit of a text walked with its line breaks folded to one LF;
// i moves past what was read.
[[nodiscard]] char16_t nextFolded(const QStringView text, qsizetype& i, const LineBreakSet breaks) noexcept
{
    const char16_t unit = text[i++].unicode();
    if (unit == u'\r') {
        if (i < text.size() && text[i] == u'\n')
            ++i;
        return u'\n';
    }
    return isSeparator(unit, breaks) ? u'\n' : unit;
}

} // namespace

QString withCrLfLineBreaks(const QStringView text, const LineBreakSet breaks)
{
    return withBreaksAs(text, u"\r\n", breaks);
}

bool hasCrLfLineBreaksOnly(const QStringView text, const LineBreakSet breaks) noexcept
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == u'\r') {
            if (i + 1 >= text.size() || text[i + 1] != u'\n')
                return false;
            ++i;
        } else if (unit == u'\n' || isSeparator(unit, breaks)) {
            return false;
        }
    }
    return true;
}

QString withLineBreaksAs(const QStringView text, const QStringView lineBreak)
{
    return withBreaksAs(text, lineBreak, LineBreakSet::TextBox);
}

bool equalUpToLineBreaks(const QStringView a, const QStringView b, const LineBreakSet breaks) noexcept
{
    if (a == b)
        return true;
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (nextFolded(a, i, breaks) != nextFolded(b, j, breaks))
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
