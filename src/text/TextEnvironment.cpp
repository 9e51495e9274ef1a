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

} // namespace

// Windows takes the ANSI code page from the locale's language; a language
// written in more than one script (Serbian, Bosnian, Azerbaijani, Uzbek)
// takes the code page of the script.
int ansiCodePageForLocale(const QLocale& locale)
{
    const bool cyrillic = locale.script() == QLocale::CyrillicScript;
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
        return locale.script() == QLocale::LatinScript ? 1250 : 1251;
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

const TextEnvironment& currentTextEnvironment()
{
    return textRuntime().environment();
}

void pinTextEnvironmentForTesting(const QString& localeName, const int codePage)
{
    replaceTextRuntime(TextEnvironment{localeName, codePage});
}

} // namespace text
