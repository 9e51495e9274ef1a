#include "xom/StringTableOrder.h"

#include "text/AnsiImage.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

namespace {

// The characters random texts are drawn from. In code page 1252, which the
// tests run in (see tests/CMakeLists.txt), ASCII, U+0000 and 'é' image to
// bytes of their own; 'Ā' and 'ā' best-fit to 'A' and 'a'; a CJK character
// and a lone surrogate become '?', and so does an emoji's pair.
const std::u16string_view OwnBytes = u"AaBb?\u00e9";
const std::u16string_view WithNul = std::u16string_view(u"Ab\0\u00e9", 4);
const std::u16string_view SharedBytes = u"Aa?\u0100\u0101\u4e00\xd800\xdc00\U0001F600";

enum class Images { Distinct, SomeEqual };

// Two texts that no other text of the list equals but whose images are
// equal: a text followed by a CJK character and by an emoji, both "?".
enum class Pair {
    None,
    Anywhere,
    // The list is numbers and the pair sorts to the middle, where the two
    // cores' halves of a sort meet.
    AtTheMiddle,
};

struct ListRow {
    unsigned seed;
    int count; // strings in the list, the empty string 0 included
    std::u16string_view alphabet;
    int maxLength;    // of the random part of each text
    int sharedPrefix; // 'A's before it, so images agree past the sixteenth byte
    bool keptEmpty;   // string 1 is empty as well as string 0
    Pair pair;        // Anywhere only with OwnBytes
    Images images;
};

void appendEqualPair(const QString& text, std::vector<QString>& list)
{
    list.push_back(text + QStringLiteral("\u4e00"));
    list.push_back(text + QStringLiteral("\U0001F600"));
}

// The strings 1 .. count - 1 sort as the numbers 0 .. count - 4 with the
// pair in sorted places count / 2 - 1 and count / 2, in a random list order.
std::vector<QString> middlePairList(const ListRow& row)
{
    const int sorted = row.count - 1;
    const int half = sorted / 2;
    const auto number = [](const int n) { return QString::number(n).rightJustified(7, QLatin1Char('0')); };
    std::vector<QString> list;
    for (int n = 0; n < sorted - 2; ++n)
        list.push_back(number(n));
    appendEqualPair(number(half - 2), list);
    std::mt19937 random(row.seed);
    std::shuffle(list.begin(), list.end(), random);
    list.insert(list.begin(), QString());
    return list;
}

// count distinct texts: "" first, then random texts, none of them empty
// unless keptEmpty puts "" at 1 too.
std::vector<QString> randomList(const ListRow& row)
{
    if (row.pair == Pair::AtTheMiddle)
        return middlePairList(row);
    std::mt19937 random(row.seed);
    std::uniform_int_distribution<int> length(1, row.maxLength);
    std::uniform_int_distribution<std::size_t> letter(0, row.alphabet.size() - 1);
    std::vector<QString> list;
    if (row.count == 0)
        return list;
    list.emplace_back();
    if (row.keptEmpty && row.count > 1)
        list.emplace_back();
    std::set<QString> seen;
    while (static_cast<int>(list.size()) < row.count) {
        QString text(row.sharedPrefix, QLatin1Char('A'));
        for (int n = length(random); n > 0; --n)
            text.append(QChar(row.alphabet[letter(random)]));
        if (seen.insert(text).second)
            list.push_back(text);
    }
    if (row.pair == Pair::Anywhere) {
        const QString middle = list[list.size() / 2];
        list.resize(list.size() - 2);
        appendEqualPair(middle, list);
    }
    return list;
}

TEST(StringTableOrder, IsTheQuicksortsOrderWithAndWithoutEqualImages)
{
    const ListRow rows[] = {
        {1, 0, OwnBytes, 4, 0, false, Pair::None, Images::Distinct},
        {2, 1, OwnBytes, 4, 0, false, Pair::None, Images::Distinct},
        {3, 2, OwnBytes, 4, 0, false, Pair::None, Images::Distinct},
        {4, 2, OwnBytes, 4, 0, true, Pair::None, Images::Distinct},
        {5, 5, SharedBytes, 1, 0, false, Pair::None, Images::SomeEqual},
        {6, 40, OwnBytes, 3, 0, false, Pair::None, Images::Distinct},
        {7, 40, SharedBytes, 3, 0, false, Pair::None, Images::SomeEqual},
        {8, 300, WithNul, 12, 0, false, Pair::None, Images::Distinct},
        {9, 300, OwnBytes, 6, 14, false, Pair::None, Images::Distinct},
        {10, 300, SharedBytes, 4, 14, true, Pair::None, Images::SomeEqual},
        {11, 3000, OwnBytes, 8, 0, false, Pair::None, Images::Distinct},
        {12, 3000, WithNul, 10, 17, false, Pair::None, Images::Distinct},
        {13, 3000, SharedBytes, 6, 0, false, Pair::None, Images::SomeEqual},
        {14, 3000, SharedBytes, 20, 10, false, Pair::None, Images::SomeEqual},
        {15, 100'000, OwnBytes, 12, 0, false, Pair::None, Images::Distinct},
        {16, 100'000, WithNul, 12, 15, true, Pair::None, Images::Distinct},
        {17, 100'000, WithNul, 12, 40, false, Pair::None, Images::Distinct},
        {18, 100'000, SharedBytes, 12, 0, false, Pair::None, Images::SomeEqual},
        {19, 50, OwnBytes, 6, 0, false, Pair::Anywhere, Images::SomeEqual},
        {20, 100'000, OwnBytes, 14, 0, false, Pair::Anywhere, Images::SomeEqual},
        {21, 3001, OwnBytes, 0, 0, false, Pair::AtTheMiddle, Images::SomeEqual},
        {22, 100'001, OwnBytes, 0, 0, false, Pair::AtTheMiddle, Images::SomeEqual},
        {23, 100'000, OwnBytes, 0, 0, false, Pair::AtTheMiddle, Images::SomeEqual},
    };
    for (const ListRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "seed " << row.seed << ", " << row.count << " strings");
        const std::vector<QString> list = randomList(row);
        QByteArray images;
        std::vector<std::uint32_t> ends;
        std::set<QByteArray> distinctImages;
        for (std::size_t k = 0; k < list.size(); ++k) {
            const qsizetype begin = images.size();
            text::appendAnsiImage(list[k], images);
            ends.push_back(static_cast<std::uint32_t>(images.size()));
            if (k > 0)
                distinctImages.insert(images.sliced(begin));
        }
        const std::size_t strings = list.empty() ? 0 : list.size() - 1;
        const bool someEqual = distinctImages.size() < strings;
        ASSERT_EQ(someEqual, row.images == Images::SomeEqual);

        const auto* const bytes = reinterpret_cast<const unsigned char*>(images.constData());
        const std::vector<std::int32_t> exact = xom::exactStringTableOrder(bytes, ends);
        ASSERT_EQ(exact.size(), strings);
        for (std::size_t i = 1; i < exact.size(); ++i) {
            const auto imageOf = [&](const std::int32_t k) {
                const auto at = static_cast<std::size_t>(k);
                return QByteArrayView(images).sliced(ends[at - 1], ends[at] - ends[at - 1]);
            };
            ASSERT_LE(text::CompareAnsiOrdinal(imageOf(exact[i - 1]), imageOf(exact[i])), 0) << "at " << i;
        }
        EXPECT_EQ(xom::stringTableOrder(bytes, ends), exact);
    }
}

} // namespace
