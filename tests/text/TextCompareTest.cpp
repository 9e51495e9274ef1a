#include "text/TextCompare.h"

#include "support/PinnedTextEnvironment.h"
#include "support/TextComparisons.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

using testsupport::PinnedTextEnvironment;

QString fromUtf16(const char16_t* text)
{
    return QString::fromUtf16(text);
}

TEST(CompareLocale, CollatesByTheLocaleWithTheCaseSwitch)
{
    const struct {
        const char* locale;
        int codePage;
        const char16_t* a;
        const char16_t* b;
        bool matchCase;
        int result;
    } rows[] = {
        {"en_US", 1252, u"Text", u"text", false, 0},
        {"en_US", 1252, u"Text", u"text", true, 1},
        {"en_US", 1252, u"text", u"Text", true, -1},
        {"en_US", 1252, u"a", u"B", false, -1},
        {"en_US", 1252, u"a", u"B", true, -1},
        {"en_US", 1252, u"", u"a", false, -1},
        {"en_US", 1252, u"résumé", u"RESUME", false, 1}, // accents count without case
        {"en_US", 1252, u"FE.NewString", u"fe.newstring", false, 0},
        {"en_US", 1252, u"12", u"012", false, 1},
        {"ru_RU", 1251, u"Жук", u"жУК", false, 0},
        {"ru_RU", 1251, u"Жук", u"жУК", true, 1},
        {"ru_RU", 1251, u"ёж", u"Яма", false, -1},
        {"ja_JP", 932, u"Жук", u"жук", false, 0},
    };
    for (const auto& row : rows) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(row.locale), row.codePage);
        EXPECT_EQ(testsupport::CompareLocale(fromUtf16(row.a), fromUtf16(row.b), row.matchCase), row.result)
            << row.locale << " " << fromUtf16(row.a).toStdString() << " / " << fromUtf16(row.b).toStdString()
            << " matchCase " << row.matchCase;
    }
}

TEST(TextEquals, ComparesCodeUnitsExactly)
{
    const struct {
        QString a;
        QString b;
        bool equal;
    } rows[] = {
        {QStringLiteral("x"), QStringLiteral("x"), true}, {QStringLiteral("X"), QStringLiteral("x"), false},
        {QStringLiteral("x "), QStringLiteral("x"), false}, {QString(), QString(), true},
        {QString(QChar(u'\0')), QString(), false}, {QString(QChar(0xD800)), QString(QChar(0xD800)), true},
        {fromUtf16(u"é"), fromUtf16(u"e\u0301"), false}, // canonically equal, different units
    };
    for (const auto& row : rows)
        EXPECT_EQ(text::TextEquals(row.a, row.b), row.equal) << row.a.toStdString() << " / " << row.b.toStdString();
}

TEST(PrefixTest, MatchesTheSimplyFoldedStartOfTheCell)
{
    const struct {
        const char* locale;
        const char16_t* search;
        const char16_t* cell;
        bool matches;
    } rows[] = {
        {"en_US", u"fe.", u"FE.NewString", true},
        {"en_US", u"new", u"FE.NewString", false},
        {"en_US", u"", u"FE.NewString", false},
        {"en_US", u"fe", u"", false},
        {"en_US", u"fe.newstringx", u"FE.NewString", false},
        {"en_US", u"Жук", u"жУК жёлтый", true},
        {"en_US", u"Жук", u"Фен", false},     // both image as "???" on a Western system
        {"en_US", u"日本", u"中国語", false}, // likewise "??"
        {"en_US", u"日本", u"日本語", true},
        {"en_US", u"ÉTÉ", u"été", true},
        // Simple folding never turns one letter into two: ß is not ss.
        {"en_US", u"strass", u"Straße", false},
        {"en_US", u"straße", u"STRASSE", false},
        {"en_US", u"s", u"ßa", false},
        {"en_US", u"STRA\u1E9EE", u"straße", true}, // capital sharp s folds to ß
        {"en_US", u"i", u"İstanbul", false},        // İ is one letter of its own
        {"en_US", u"İst", u"istanbul", false},
        {"en_US", u"ist", u"ISTANBUL", true},
        {"tr_TR", u"İst", u"istanbul", true}, // Turkic: İ is the capital of i
        {"tr_TR", u"ist", u"İSTANBUL", true},
        {"tr_TR", u"ist", u"ISTANBUL", false}, // and I the capital of ı
        {"tr_TR", u"ıSPARTA", u"Isparta", true},
        {"az_AZ", u"İst", u"istanbul", true},
        {"en_US", u"k", u"\u212A", true}, // the Kelvin sign folds to k
        {"en_US", u"😀", u"😀 smile", true},
        {"en_US", u"\U00010428", u"\U00010400x", true}, // a cased pair folds as a pair
        {"en_US", u"\xD83D", u"\xD83Dx", true},         // a lone surrogate is itself
        {"en_US", u"\xD83D", u"😀", true},               // the folded cell begins with that unit
        {"en_US", u"\xDE00", u"😀", false},
    };
    for (const auto& row : rows) {
        const QString locale = QString::fromLatin1(row.locale);
        const PinnedTextEnvironment pinned(locale, text::ansiCodePageForLocale(QLocale(locale)));
        const QString search = fromUtf16(row.search);
        const QString cell = fromUtf16(row.cell);
        EXPECT_EQ(testsupport::PrefixTest(search, cell), row.matches)
            << row.locale << ": " << search.toStdString() << " / " << cell.toStdString();
        EXPECT_EQ(text::PrefixMatcher(search).matches(cell), row.matches)
            << row.locale << ": " << search.toStdString() << " / " << cell.toStdString();
    }
}

} // namespace
