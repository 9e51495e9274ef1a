#include "text/AnsiImage.h"
#include "text/TextEnvironment.h"

#include "support/PinnedTextEnvironment.h"
#include "support/TextComparisons.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using testsupport::PinnedTextEnvironment;

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
        {"sr_Latn", 1250},
        {"sr-Latn-RS", 1250},
        {"sr_RS@latin", 1250},
        {"sr_RS.UTF-8@latin", 1250},
        {"sr_ME", 1250},
        {"sr_Cyrl_ME", 1251},
        {"uz_UZ", 1254},
        {"uz_UZ@cyrillic", 1251},
        {"mn_MN", 1251},
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
    for (const auto& row : rows) {
        const QString name = QString::fromLatin1(row.locale);
        EXPECT_EQ(text::ansiCodePageForLocale(QLocale(name), name), row.codePage) << row.locale;
    }
}

// Sets environment variables for one scope and puts the previous values back.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (const auto& [name, value] : values) {
            m_previous.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            if (*value != 0)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
    }
    ~ScopedEnvironment()
    {
        for (const Previous& previous : m_previous) {
            if (previous.set)
                qputenv(previous.name, previous.value);
            else
                qunsetenv(previous.name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    struct Previous {
        const char* name;
        QByteArray value;
        bool set;
    };
    std::vector<Previous> m_previous;
};

// QLocale::system() drops a POSIX "@latin" modifier; the code page is taken
// from the name the environment spells.
TEST(SystemLocaleSpelling, GivesTheNameTheSystemLocaleWasReadFrom)
{
    const struct {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* language;
        const char* system;
        const char* spelling;
        int codePage;
    } rows[] = {
        {"sr_RS.UTF-8@latin", "", "de_DE.UTF-8", "", "sr_RS", "sr_RS.UTF-8@latin", 1250},
        {"", "sr_RS@latin", "de_DE.UTF-8", "", "sr_RS", "sr_RS@latin", 1250},
        {"", "", "sr_RS.UTF-8@latin", "", "sr_RS", "sr_RS.UTF-8@latin", 1250},
        {"", "", "sr_RS.UTF-8", "", "sr_RS", "sr_RS.UTF-8", 1251},
        {"", "", "fr_FR.UTF-8", "sr@latin:fr", "sr_RS", "sr@latin", 1250},
        {"", "", "de_DE.UTF-8", "", "en_US", "", 1252},
        {"", "", "", "", "C", "", 1252},
    };
    for (const auto& row : rows) {
        const ScopedEnvironment environment(
            {{"LC_ALL", row.lcAll}, {"LC_MESSAGES", row.lcMessages}, {"LANG", row.lang}, {"LANGUAGE", row.language}});
        const QLocale system(QString::fromLatin1(row.system));
        const QString spelling = text::systemLocaleSpelling(system);
        EXPECT_EQ(spelling, QString::fromLatin1(row.spelling)) << row.lcAll << row.lcMessages << row.lang;
        EXPECT_EQ(text::ansiCodePageForLocale(system, spelling), row.codePage) << row.spelling;
    }
}

TEST(PinTextEnvironmentForTesting, MakesTheLocaleAndCodePageTheRunsOwn)
{
    const PinnedTextEnvironment pinned(QStringLiteral("ru_RU"), 1251);
    EXPECT_EQ(text::currentTextEnvironment().localeName, QStringLiteral("ru_RU"));
    EXPECT_EQ(text::currentTextEnvironment().codePage, 1251);
    EXPECT_THROW(testsupport::pinTextEnvironment(QStringLiteral("en_US"), 65001), std::invalid_argument);
    EXPECT_EQ(text::currentTextEnvironment().codePage, 1251);
    EXPECT_EQ(text::ToAnsiImage(u"Жук"), QByteArray("\xC6\xF3\xEA"));
}

// ICU reads the C locale as en_US_POSIX, which orders by code point and
// tells case apart at every strength; the editor takes the root collation.
TEST(PinTextEnvironmentForTesting, CollatesTheCAndPosixLocalesByTheRootCollation)
{
    for (const char* locale : {"C", "POSIX"}) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(locale), 1252);
        EXPECT_EQ(testsupport::CompareLocale(u"a", u"B", false), -1) << locale;
        EXPECT_EQ(testsupport::CompareLocale(u"a", u"B", true), -1) << locale;
        EXPECT_EQ(testsupport::CompareLocale(u"Text", u"text", false), 0) << locale;
        EXPECT_LT(testsupport::CompareAnsiText("a", "B"), 0) << locale;
    }
}

} // namespace
