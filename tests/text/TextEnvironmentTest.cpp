#include "PinnedTextEnvironment.h"

#include "text/AnsiImage.h"
#include "text/TextCompare.h"
#include "text/TextEnvironment.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using texttest::PinnedTextEnvironment;

TEST(AnsiCodePageForLocale, FollowsTheLanguageScriptAndTerritory)
{
    const struct {
        const char* locale;
        int codePage;
    } rows[] = {
        {"ru_RU", 1251},
        {"uk_UA", 1251},
        {"be_BY", 1251},
        {"bg_BG", 1251},
        {"sr_RS", 1251},
        {"mk_MK", 1251},
        {"kk_KZ", 1251},
        {"sr_Latn_RS", 1250},
        {"pl_PL", 1250},
        {"cs_CZ", 1250},
        {"sk_SK", 1250},
        {"hu_HU", 1250},
        {"ro_RO", 1250},
        {"hr_HR", 1250},
        {"sl_SI", 1250},
        {"sq_AL", 1250},
        {"bs_BA", 1250},
        {"el_GR", 1253},
        {"tr_TR", 1254},
        {"az_AZ", 1254},
        {"he_IL", 1255},
        {"ar_EG", 1256},
        {"fa_IR", 1256},
        {"ur_PK", 1256},
        {"et_EE", 1257},
        {"lv_LV", 1257},
        {"lt_LT", 1257},
        {"vi_VN", 1258},
        {"th_TH", 874},
        {"ja_JP", 932},
        {"zh_CN", 936},
        {"zh_SG", 936},
        {"zh_Hans_HK", 936},
        {"ko_KR", 949},
        {"zh_TW", 950},
        {"zh_HK", 950},
        {"zh_MO", 950},
        {"zh_Hant_CN", 950},
        {"en_US", 1252},
        {"de_DE", 1252},
        {"fr_FR", 1252},
        {"pt_BR", 1252},
        {"C", 1252},
        {"POSIX", 1252},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text::ansiCodePageForLocale(QLocale(QString::fromLatin1(row.locale))), row.codePage) << row.locale;
}

TEST(PinTextEnvironmentForTesting, MakesTheLocaleAndCodePageTheRunsOwn)
{
    const PinnedTextEnvironment pinned(QStringLiteral("ru_RU"), 1251);
    EXPECT_EQ(text::currentTextEnvironment().localeName, QStringLiteral("ru_RU"));
    EXPECT_EQ(text::currentTextEnvironment().codePage, 1251);
    EXPECT_THROW(text::pinTextEnvironmentForTesting(QStringLiteral("en_US"), 65001), std::invalid_argument);
    EXPECT_EQ(text::currentTextEnvironment().codePage, 1251);
    EXPECT_EQ(text::ToAnsiImage(u"Жук"), QByteArray("\xC6\xF3\xEA"));
}

// ICU reads the C locale as en_US_POSIX, which orders by code point and
// tells case apart at every strength; the editor takes the root collation.
TEST(PinTextEnvironmentForTesting, CollatesTheCAndPosixLocalesByTheRootCollation)
{
    for (const char* locale : {"C", "POSIX"}) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(locale), 1252);
        EXPECT_EQ(text::CompareLocale(u"a", u"B", false), -1) << locale;
        EXPECT_EQ(text::CompareLocale(u"a", u"B", true), -1) << locale;
        EXPECT_EQ(text::CompareLocale(u"Text", u"text", false), 0) << locale;
        EXPECT_LT(text::CompareAnsiText("a", "B"), 0) << locale;
    }
}

} // namespace
