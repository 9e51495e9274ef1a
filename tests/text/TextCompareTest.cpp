#include "PinnedTextEnvironment.h"

#include "text/TextCompare.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

using texttest::PinnedTextEnvironment;

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
        EXPECT_EQ(text::CompareLocale(fromUtf16(row.a), fromUtf16(row.b), row.matchCase), row.result)
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

TEST(PrefixTest, MatchesTheCaseFoldedStartOfTheCell)
{
    const struct {
        const char16_t* search;
        const char16_t* cell;
        bool matches;
    } rows[] = {
        {u"fe.", u"FE.NewString", true},
        {u"new", u"FE.NewString", false},
        {u"", u"FE.NewString", false},
        {u"fe", u"", false},
        {u"fe.newstringx", u"FE.NewString", false},
        {u"Жук", u"жУК жёлтый", true},
        {u"Жук", u"Фен", false},     // both image as "???" on a Western system
        {u"日本", u"中国語", false}, // likewise "??"
        {u"日本", u"日本語", true},
        {u"ÉTÉ", u"été", true},
        {u"straße", u"STRASSE", true}, // full folding: ß is ss
        {u"s", u"ßa", true},
        {u"i", u"İstanbul", true}, // İ folds to i and a combining dot
        {u"k", u"\u212A", true},   // the Kelvin sign folds to k
        {u"😀", u"😀 smile", true},
        {u"\xD83D", u"\xD83Dx", true}, // a lone surrogate is itself
        {u"\xD83D", u"😀", true},       // the folded cell begins with that unit
        {u"\xDE00", u"😀", false},
    };
    const PinnedTextEnvironment pinned(QStringLiteral("en_US"), 1252);
    for (const auto& row : rows) {
        const QString search = fromUtf16(row.search);
        const QString cell = fromUtf16(row.cell);
        EXPECT_EQ(text::PrefixTest(search, cell), row.matches) << search.toStdString() << " / " << cell.toStdString();
        EXPECT_EQ(text::PrefixMatcher(search).matches(cell), row.matches)
            << search.toStdString() << " / " << cell.toStdString();
    }
}

} // namespace
