#include "text/AnsiImage.h"

#include "support/PinnedTextEnvironment.h"
#include "support/TextComparisons.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using testsupport::PinnedTextEnvironment;

// Short random texts over a small alphabet with many near-equal texts among
// them: letters differing in case or accent, letters outside every single
// code page, an emoji, a lone surrogate.
QString randomCollationText(std::mt19937& random)
{
    static const char16_t alphabet[] = {
        u'a',
        u'A',
        u'b',
        u'B',
        u'z',
        u'Z',
        u'e',
        u'E',
        u'0',
        u'9',
        u' ',
        u'.',
        u'_',
        u'-',
        u'?',
        0x00E9,
        0x00C9,
        0x00EB,
        0x0100,
        0x0101,
        0x0151,
        0x0141,
        0x00DF,
        0x00E5,
        0x0416,
        0x0436,
        0x0451,
        0x65E5,
        0x672C,
        0xAC00,
        0x30A2,
        0xFF71,
        0xFF21,
        0x20AC,
        0x212B,
        0xD83D,
    };
    constexpr int alphabetSize = static_cast<int>(sizeof alphabet / sizeof alphabet[0]);
    const int length = std::uniform_int_distribution<int>(0, 6)(random);
    QString out;
    for (int i = 0; i < length; ++i) {
        const char16_t unit = alphabet[std::uniform_int_distribution<int>(0, alphabetSize - 1)(random)];
        out += QChar(unit);
        // Most high surrogates get their low one; some stay alone.
        if (unit == 0xD83D && std::uniform_int_distribution<int>(0, 3)(random) != 0)
            out += QChar(static_cast<char16_t>(0xDE00 + std::uniform_int_distribution<int>(0, 3)(random)));
    }
    return out;
}

int signOf(const int value)
{
    return (value > 0) - (value < 0);
}

const std::pair<const char*, int> Environments[] = {
    {"en_US", 1252},
    {"C", 1252},
    {"ru_RU", 1251},
    {"pl_PL", 1250},
    {"ja_JP", 932},
    {"zh_CN", 936},
    {"ko_KR", 949},
};

// Pins each environment in turn and checks that the bytewise order of the
// keys of 250 random texts is compare's order for every pair of them.
template <typename Key, typename Compare> void expectKeysOrderAs(const Key& keyOf, const Compare& compare)
{
    std::mt19937 random(1);
    std::vector<QString> texts;
    for (int i = 0; i < 250; ++i)
        texts.push_back(randomCollationText(random));
    for (const auto& [locale, codePage] : Environments) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(locale), codePage);
        std::vector<QByteArray> keys;
        for (const QString& t : texts)
            keys.push_back(keyOf(t));
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = 0; j < texts.size(); ++j) {
                ASSERT_EQ(text::CompareAnsiOrdinal(keys[i], keys[j]), signOf(compare(texts[i], texts[j])))
                    << locale << ": " << texts[i].toStdString() << " / " << texts[j].toStdString();
            }
        }
    }
}

TEST(AnsiTextSortKey, OrdersAsCompareAnsiTextOrdersTheImages)
{
    expectKeysOrderAs([](const QString& t) { return text::ansiTextSortKey(t); },
        [](const QString& a, const QString& b) {
            return testsupport::CompareAnsiText(text::ToAnsiImage(a), text::ToAnsiImage(b));
        });
}

// The key is made from per-unit tables without building the image; for every
// UTF-16 unit it must be the key of the image decoded back.
TEST(AnsiTextSortKey, IsTheKeyOfTheImageDecodedBackForEveryUnit)
{
    for (const auto& [locale, codePage] : Environments) {
        const PinnedTextEnvironment pinned(QString::fromLatin1(locale), codePage);
        for (int first = 0; first < 0x10000; first += 16) {
            QString chunk;
            for (int unit = first; unit < first + 16; ++unit)
                chunk += QChar(static_cast<char16_t>(unit));
            const QString back = text::fromAnsiImage(text::ToAnsiImage(chunk));
            ASSERT_EQ(text::ansiTextSortKey(chunk), testsupport::localeSortKey(back, false))
                << locale << " at U+" << std::hex << first;
        }
    }
}

TEST(LocaleSortKey, OrdersAsCompareLocaleWithAndWithoutCase)
{
    for (const bool matchCase : {false, true}) {
        expectKeysOrderAs([&](const QString& t) { return testsupport::localeSortKey(t, matchCase); },
            [&](const QString& a, const QString& b) { return testsupport::CompareLocale(a, b, matchCase); });
    }
}

} // namespace
