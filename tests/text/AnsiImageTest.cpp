#include "text/AnsiImage.h"

#include "support/PinnedTextEnvironment.h"
#include "support/TextComparisons.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace {

using testsupport::PinnedTextEnvironment;

struct ImageRow {
    const char* locale;
    int codePage;
    const char16_t* text;
    QByteArray image;
};

void expectImages(const std::initializer_list<ImageRow> rows)
{
    for (const ImageRow& row : rows) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(row.locale), row.codePage);
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(text::ToAnsiImage(text).toHex(' '), row.image.toHex(' ')) << row.locale << " " << text.toStdString();
        QByteArray appended("prefix");
        text::appendAnsiImage(text, appended);
        EXPECT_EQ(appended, "prefix" + row.image) << row.locale << " " << text.toStdString();
    }
}

TEST(ToAnsiImage, EncodesAMixedTextInTheRunsCodePage)
{
    // Accents, Cyrillic, CJK and an emoji; the emoji's surrogate pair is one
    // character and one "?".
    const char16_t* const mixed = u"Café Жук 日本 😀!";
    expectImages({
        {"en_US", 1252, mixed, QByteArray("Caf\xE9 ??? ?? ?!")},
        {"ru_RU", 1251, mixed, QByteArray("Cafe \xC6\xF3\xEA ?? ?!")},
        {"ja_JP", 932, mixed, QByteArray("Cafe \x84\x47\x84\x85\x84\x7B \x93\xFA\x96\x7B ?!")},
    });
}

TEST(ToAnsiImage, FitsLettersTheCodePageLacksAsWindowsDoes)
{
    expectImages({
        {"en_US", 1252, u"Ā", "A"},
        {"en_US", 1252, u"ő", "o"},
        {"en_US", 1252, u"Ł", "L"},
        {"en_US", 1252, u"Đđ",
            "\xD0"
            "d"}, // Đ takes the look-alike Ð
        {"en_US", 1252, u"ı", "i"},
        {"en_US", 1252, u"Ǖ", "U"}, // two marks: the plain letter, not Ü
        {"en_US", 1252, u"ĦŦŀ", "HT?"},
        {"en_US", 1252, u"Ḉ", "?"},
        {"en_US", 1252, u"\u212B", "\xC5"},   // the angstrom sign is the letter Å
        {"en_US", 1252, u"Ａｂ", "Ab"},       // full-width forms
        {"pl_PL", 1250, u"Āőł", "A\xF5\xB3"}, // ő and ł are in 1250 itself
        {"pl_PL", 1250, u"ØĿ", "O?"},
        {"ru_RU", 1251, u"éÅ", "eA"},
        {"lt_LT", 1257, u"ØĦ", "\xA8?"},
        {"vi_VN", 1258, u"ếê", "?\xEA"}, // ế is no character of 1258
        {"fa_IR", 1256, u"۱۲", "??"},    // Persian digits stay apart from ASCII
        {"el_GR", 1253, u"ϕφ", "?\xF6"},
        {"ja_JP", 932, u"〜～", "?\x81\x60"},
    });
}

TEST(ToAnsiImage, GivesAQuestionMarkForWhatHasNoFit)
{
    expectImages({
        {"en_US", 1252, u"Ж", "?"},
        {"en_US", 1252, u"日", "?"},
        {"en_US", 1252, u"≠", "?"},
        {"en_US", 1252, u"가", "?"},
        {"en_US", 1252, u"😀", "?"},
        {"en_US", 1252, u"\xD83D", "?"},              // lone high surrogate
        {"en_US", 1252, u"\xDE00x", "?x"},            // lone low surrogate
        {"en_US", 1252, u"\xD83D\xD83D\xDE00", "??"}, // a lone one, then a pair
        {"ru_RU", 1251, u"日", "?"},
    });
}

TEST(ToAnsiImage, KeepsAsciiAndControlCodesAsTheyAre)
{
    QString ascii;
    for (char16_t unit = 0; unit < 0x80; ++unit)
        ascii += QChar(unit);
    const QByteArray bytes = ascii.toLatin1();
    for (const auto& [locale, codePage] : {std::pair{"en_US", 1252}, std::pair{"ru_RU", 1251}, std::pair{"ja_JP", 932},
             std::pair{"zh_CN", 936}, std::pair{"ko_KR", 949}, std::pair{"zh_TW", 950}, std::pair{"th_TH", 874}}) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(locale), codePage);
        EXPECT_EQ(text::ToAnsiImage(ascii), bytes) << locale;
        EXPECT_EQ(text::fromAnsiImage(bytes), ascii) << locale;
    }
}

TEST(ToAnsiImage, NeverTruncates)
{
    const QString longText = QString(100000, QChar(u'日')) + QStringLiteral("end");
    const PinnedTextEnvironment western(QStringLiteral("en_US"), 1252);
    EXPECT_EQ(text::ToAnsiImage(longText), QByteArray(100000, '?') + "end");
    const PinnedTextEnvironment japanese(QStringLiteral("ja_JP"), 932);
    EXPECT_EQ(text::ToAnsiImage(longText), QByteArray("\x93\xFA").repeated(100000) + "end");
}

TEST(FromAnsiImage, DecodesThroughTheCodePage)
{
    const struct {
        const char* locale;
        int codePage;
        QByteArray image;
        const char16_t* text;
    } rows[] = {
        {"en_US", 1252, "Caf\xE9 \x80", u"Café €"},
        {"ru_RU", 1251, "\xC6\xF3\xEA", u"Жук"},
        {"ja_JP", 932, "\x93\xFA\x96\x7B\xB1", u"日本ｱ"},
        {"zh_CN", 936, "\xC8\xD5", u"日"},
    };
    for (const auto& row : rows) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(row.locale), row.codePage);
        EXPECT_EQ(text::fromAnsiImage(row.image), QString::fromUtf16(row.text)) << row.locale;
    }
}

TEST(CompareAnsiOrdinal, OrdersBytesUnsignedAndAPrefixFirst)
{
    const struct {
        QByteArray a;
        QByteArray b;
        int result;
    } rows[] = {
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"abc", "abc", 0},
        {"Z", "a", -1},
        {"a", "Z", 1},
        {"", "", 0},
        {"", "a", -1},
        {"\xE9", "f", 1},
        {"a\x01", "a\xFF", -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text::CompareAnsiOrdinal(row.a, row.b), row.result)
            << row.a.toHex().toStdString() << " " << row.b.toHex().toStdString();
}

TEST(CompareAnsiOrdinal, HoldsTextsWithTheSameImageEqual)
{
    const PinnedTextEnvironment pinned(QStringLiteral("en_US"), 1252);
    EXPECT_EQ(text::CompareAnsiOrdinal(text::ToAnsiImage(u"Жук"), text::ToAnsiImage(u"日本語")), 0);
}

int signOf(const int value)
{
    return (value > 0) - (value < 0);
}

TEST(CompareAnsiText, CollatesTheImagesIgnoringCase)
{
    const struct {
        const char* locale;
        int codePage;
        QByteArray a;
        QByteArray b;
        int sign;
    } rows[] = {
        {"en_US", 1252, "a", "B", -1},
        {"en_US", 1252, "Text", "text", 0},
        {"en_US", 1252, "FE.NewString", "fe.newstring", 0},
        {"en_US", 1252, "\xC9t\xE9", "ETE", 1}, // accents still count
        {"ru_RU", 1251, "\xE0", "\xC1", -1},    // а before Б
        {"ru_RU", 1251, "\xC6\xF3\xEA", "\xE6\xd3\xca", 0},
        {"C", 1252, "a", "B", -1},
    };
    for (const auto& row : rows) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(row.locale), row.codePage);
        EXPECT_EQ(signOf(testsupport::CompareAnsiText(row.a, row.b)), row.sign)
            << row.locale << " " << row.a.toStdString();
    }
}

} // namespace
