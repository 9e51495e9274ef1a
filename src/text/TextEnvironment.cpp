#include "text/TextEnvironment.h"

#include "text/TextRuntime.h"

namespace text {

namespace {

int chineseCodePage(const QLocale& locale)
{
    switch (locale.script()) {
    case QLocale::SimplifiedHanScript:
        return 936;
    case QLocale::TraditionalHanScript:
        return 950;
    default:
        break;
    }
    switch (locale.territory()) {
    case QLocale::Taiwan:
    case QLocale::HongKong:
    case QLocale::Macao:
        return 950;
    default:
        return 936;
    }
}

// The script a locale name spells out: a script subtag ("sr_Latn_RS",
// "sr-Latn") or a POSIX modifier ("sr_RS.UTF-8@latin"); AnyScript if none.
QLocale::Script spelledScript(const QStringView spelling)
{
    const qsizetype at = spelling.indexOf(u'@');
    if (at >= 0) {
        const QStringView modifier = spelling.mid(at + 1);
        if (modifier.compare(u"latin", Qt::CaseInsensitive) == 0)
            return QLocale::LatinScript;
        if (modifier.compare(u"cyrillic", Qt::CaseInsensitive) == 0)
            return QLocale::CyrillicScript;
    }
    QStringView name = spelling.left(at >= 0 ? at : spelling.size());
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name = name.left(dot);
    qsizetype start = name.indexOf(u'_');
    if (const qsizetype dash = name.indexOf(u'-'); dash >= 0 && (start < 0 || dash < start))
        start = dash;
    while (start >= 0) {
        qsizetype end = start + 1;
        while (end < name.size() && name[end] != u'_' && name[end] != u'-')
            ++end;
        const QStringView subtag = name.mid(start + 1, end - start - 1);
        if (subtag.size() == 4) {
            if (const QLocale::Script script = QLocale::codeToScript(subtag); script != QLocale::AnyScript)
                return script;
        }
        start = end < name.size() ? end : -1;
    }
    return QLocale::AnyScript;
}

// The language a locale name starts with ("sr" of "sr_RS.UTF-8@latin").
QLocale::Language spelledLanguage(const QStringView spelling)
{
    qsizetype end = 0;
    while (end < spelling.size() && spelling[end].isLetter() && spelling[end].unicode() < 0x80)
        ++end;
    return QLocale::codeToLanguage(spelling.left(end));
}

} // namespace

// Windows takes the ANSI code page from the locale's language; a language
// written in more than one script (Serbian, Bosnian, Azerbaijani, Uzbek,
// Mongolian) takes the code page of the script.
int ansiCodePageForLocale(const QLocale& locale, const QStringView spelling)
{
    const QLocale::Script spelled = spelledScript(spelling);
    const QLocale::Script script = spelled != QLocale::AnyScript ? spelled : locale.script();
    const bool cyrillic = script == QLocale::CyrillicScript;
    switch (locale.language()) {
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Macedonian:
    case QLocale::Kazakh:
    case QLocale::Kyrgyz:
    case QLocale::Tatar:
    case QLocale::Tajik:
    case QLocale::Bashkir:
    case QLocale::Sakha:
        return 1251;
    case QLocale::Mongolian:
        return cyrillic ? 1251 : 1252;
    case QLocale::Serbian:
        return script == QLocale::LatinScript ? 1250 : 1251;
    case QLocale::Bosnian:
        return cyrillic ? 1251 : 1250;
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Romanian:
    case QLocale::Croatian:
    case QLocale::Slovenian:
    case QLocale::Albanian:
    case QLocale::Turkmen:
        return 1250;
    case QLocale::Greek:
        return 1253;
    case QLocale::Turkish:
        return 1254;
    case QLocale::Azerbaijani:
    case QLocale::Uzbek:
        return cyrillic ? 1251 : 1254;
    case QLocale::Hebrew:
        return 1255;
    case QLocale::Arabic:
    case QLocale::Persian:
    case QLocale::Urdu:
        return 1256;
    case QLocale::Estonian:
    case QLocale::Latvian:
    case QLocale::Lithuanian:
        return 1257;
    case QLocale::Vietnamese:
        return 1258;
    case QLocale::Thai:
        return 874;
    case QLocale::Japanese:
        return 932;
    case QLocale::Chinese:
        return chineseCodePage(locale);
    case QLocale::Korean:
        return 949;
    default:
        return 1252;
    }
}

QString systemLocaleSpelling(const QLocale& system)
{
    QString spelling;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        spelling = qEnvironmentVariable(variable);
        if (!spelling.isEmpty())
            break;
    }
    const QString language = qEnvironmentVariable("LANGUAGE").section(u':', 0, 0);
    for (const QString& candidate : {spelling, language}) {
        if (!candidate.isEmpty() && spelledLanguage(candidate) == system.language())
            return candidate;
    }
    return {};
}

const TextEnvironment& currentTextEnvironment()
{
    return textRuntime().environment();
}

} // namespace text
