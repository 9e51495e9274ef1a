#include "dialogs/LineBreaks.h"

namespace dialogs {

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

} // namespace dialogs
