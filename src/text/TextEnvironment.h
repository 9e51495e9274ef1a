#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

namespace text {

// The user's locale and the system's ANSI code page, chosen once per run and
// used by every comparison, image and parse of that run.
struct TextEnvironment {
    QString localeName;  // as QLocale names it: "en_US", "ru_RU", "C"
    int codePage = 1252; // Windows code page number: 1252, 1251, 932, ...
};

// The ANSI code page that Windows derives from a locale's language (and, for
// Chinese, its script or territory). The C and POSIX locales give 1252.
// spelling is the name the locale was made from, if known: a script it
// spells out ("sr_RS@latin", "sr_Latn_RS", "uz_UZ@cyrillic") counts over the
// one QLocale infers, which drops a POSIX "@latin" modifier.
[[nodiscard]] int ansiCodePageForLocale(const QLocale& locale, QStringView spelling = {});

// The locale name the environment gives, from which QLocale::system() is
// made ("sr_RS.UTF-8@latin"): LC_ALL, LC_MESSAGES or LANG, the first that is
// set, or else the first entry of LANGUAGE; only a name of system's language
// is taken. Empty when none is.
[[nodiscard]] QString systemLocaleSpelling(const QLocale& system);

// The environment of this run: the first call takes QLocale::system() and its
// code page; every later call gives the same answer.
[[nodiscard]] const TextEnvironment& currentTextEnvironment();

} // namespace text
