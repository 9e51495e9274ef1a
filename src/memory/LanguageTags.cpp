#include "memory/LanguageTags.h"

#include <QStringList>

#include <algorithm>

namespace memory {

QString normalLanguageTag(const QStringView tag)
{
    QString joined = tag.toString();
    joined.replace(u'_', u'-');
    const QStringList subtags = joined.split(u'-');
    QStringList normal;
    for (qsizetype i = 0; i < subtags.size(); ++i) {
        const QString& subtag = subtags[i];
        if (subtag.isEmpty() || subtag.size() > 8)
            return {};
        for (const QChar c : subtag) {
            if (c.unicode() > 0x7F || !c.isLetterOrNumber())
                return {};
        }
        if (i == 0)
            normal << subtag.toLower();
        else if (subtag.size() == 2)
            normal << subtag.toUpper();
        else if (subtag.size() == 4)
            normal << subtag.left(1).toUpper() + subtag.mid(1).toLower();
        else
            normal << subtag.toLower();
    }
    return normal.join(u'-');
}

QString languageOfFileName(const QStringView path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QStringView name = path.sliced(slash + 1);
    if (!name.startsWith(u"lang_", Qt::CaseInsensitive) || !name.endsWith(u".xom", Qt::CaseInsensitive))
        return {};
    const QStringView tag = name.sliced(5, name.size() - 5 - 4);
    // A language subtag has two or three letters: "lang_english.xom" names
    // no tag.
    const QString normal = normalLanguageTag(tag);
    const qsizetype first = normal.indexOf(u'-');
    const qsizetype languageLength = first < 0 ? normal.size() : first;
    if (languageLength < 2 || languageLength > 3)
        return {};
    return normal;
}

} // namespace memory
