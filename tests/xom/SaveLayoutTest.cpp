#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"
#include "xom/Varint.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"

#include "text/EditorError.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QtEndian>

namespace {

xom::Entry entry(const char* number, const QString& name, const QString& text)
{
    return xom::Entry{QString(), QString::fromLatin1(number), name, text};
}

std::uint32_t u32At(const QByteArray& image, const qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(image.constData() + at);
}

// The string table and containers of an image, read back field by field.
struct StringTable {
    std::uint32_t count = 0;
    std::uint32_t dataSize = 0;
    std::vector<std::uint32_t> offsets;
    QByteArray data;
    qsizetype end = 0;
};

constexpr qsizetype Strs = 0x160;

StringTable stringTableOf(const QByteArray& image)
{
    StringTable table;
    table.count = u32At(image, Strs + 4);
    table.dataSize = u32At(image, Strs + 8);
    for (std::uint32_t k = 0; k < table.count; ++k)
        table.offsets.push_back(u32At(image, Strs + 12 + 4 * k));
    const qsizetype data = Strs + 12 + 4 * qsizetype{table.count};
    table.data = image.mid(data, table.dataSize);
    table.end = data + table.dataSize;
    return table;
}

using testsupport::bytes;

struct Saved {
    QByteArray image;
    xom::LanguageModel model;
    std::vector<int> positions;
};

Saved save(const xom::EntryTable& entries, const QString& kept = QStringLiteral("Kept"))
{
    Saved saved{{}, testsupport::modelForEntries(entries, kept), {}};
    saved.image = xom::buildLanguageImage(entries, saved.model, [&](const int p) { saved.positions.push_back(p); });
    return saved;
}

TEST(SaveLayout, HeaderTypesAndChunks)
{
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries({entry("1", "FE.A", "Alpha"), entry("2", "FE.B", "Beta")});
    const Saved saved = save(entries);
    const QByteArray& image = saved.image;
    EXPECT_EQ(image.left(8), bytes({'M', 'O', 'I', 'K', 0, 0, 0, 2}));
    EXPECT_EQ(image.mid(8, 16), QByteArray(16, '\0'));
    EXPECT_EQ(u32At(image, 0x18), 4u);
    EXPECT_EQ(u32At(image, 0x1C), 3u);
    EXPECT_EQ(u32At(image, 0x20), 3u);
    EXPECT_EQ(image.mid(0x24, 28), QByteArray(28, '\0'));
    const auto types = testsupport::standardTypes(2);
    for (int n = 0; n < 4; ++n) {
        const QByteArray typeEntry = image.mid(0x40 + 64 * n, 64);
        EXPECT_EQ(typeEntry.left(4), "TYPE");
        EXPECT_EQ(u32At(typeEntry, 8), static_cast<std::uint32_t>(types[static_cast<std::size_t>(n)].instanceCount));
        EXPECT_EQ(typeEntry.mid(16, 16), QByteArray(types[static_cast<std::size_t>(n)].guid.data(), 16));
        const QByteArray name = types[static_cast<std::size_t>(n)].name;
        EXPECT_EQ(typeEntry.mid(32), name + QByteArray(32 - name.size(), '\0'));
        EXPECT_EQ(typeEntry.mid(4, 4) + typeEntry.mid(12, 4), QByteArray(8, '\0'));
    }
    EXPECT_EQ(image.mid(0x140, 16), QByteArray("GUID") + QByteArray(12, '\0'));
    EXPECT_EQ(image.mid(0x150, 16), QByteArray("SCHM") + bytes({1, 0, 0, 0}) + QByteArray(8, '\0'));
    EXPECT_EQ(image.mid(0x160, 4), "STRS");
    const StringTable table = stringTableOf(image);
    EXPECT_EQ(table.offsets[0], 0u);
    EXPECT_EQ(table.data.front(), '\0');
}

TEST(SaveLayout, StringBytesInAnsiOrderOffsetsInListOrder)
{
    // The rebuilt list is "", "b", "B", "a": the kept string, then the
    // row's text and name.
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries({entry("1", QStringLiteral("a"), QStringLiteral("B"))});
    const Saved saved = save(entries, QStringLiteral("b"));
    const StringTable table = stringTableOf(saved.image);
    EXPECT_EQ(table.data, bytes({0x00, 0x42, 0x00, 0x61, 0x00, 0x62, 0x00}));
    EXPECT_EQ(table.offsets, (std::vector<std::uint32_t>{0, 5, 1, 3}));
    EXPECT_EQ(table.dataSize, 7u);
    EXPECT_EQ(table.count, 4u);
}

TEST(SaveLayout, PrefixLaidOutBeforeItsExtension)
{
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries(
        {entry("1", QStringLiteral("ab"), QStringLiteral("abc")), entry("2", QStringLiteral("a"), QString())});
    const StringTable table = stringTableOf(save(entries, QStringLiteral("b")).image);
    EXPECT_EQ(table.data, QByteArray("\0a\0ab\0abc\0b\0", 12));
}

// The indices that each string resource container refers to, in file order,
// and the data bank's entries.
struct Containers {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> textAndName;
    std::vector<std::uint32_t> entries;
};

Containers containersOf(const QByteArray& image, const int resources)
{
    Containers c;
    xom::ByteCursor cursor(image, stringTableOf(image).end);
    for (int i = 0; i < resources; ++i) {
        EXPECT_EQ(*cursor.readBytes(4), "CTNR");
        EXPECT_EQ(*cursor.readBytes(3), QByteArray(3, '\0'));
        const auto text = static_cast<std::uint32_t>(*xom::ReadVarint(cursor));
        const auto name = static_cast<std::uint32_t>(*xom::ReadVarint(cursor));
        c.textAndName.emplace_back(text, name);
        EXPECT_EQ(*cursor.readBytes(4), QByteArray(4, '\0'));
    }
    EXPECT_EQ(*cursor.readBytes(4), "CTNR");
    EXPECT_EQ(*cursor.readBytes(6), QByteArray(6, '\0'));
    const auto count = *xom::ReadVarint(cursor);
    for (int i = 0; i < count; ++i)
        c.entries.push_back(static_cast<std::uint32_t>(*xom::ReadVarint(cursor)));
    EXPECT_EQ(*cursor.readBytes(5), QByteArray(5, '\0'));
    EXPECT_TRUE(cursor.atEnd());
    return c;
}

TEST(SaveLayout, ContainersInNumberOrderDataBankInRowOrder)
{
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries({entry("3", "n3", "t3"), entry("1", "n1", "t1"), entry("2", "n2", "t2")});
    const Saved saved = save(entries);
    // List: "", Kept, t3 n3 t1 n1 t2 n2 (indices 2 .. 7).
    const Containers c = containersOf(saved.image, 3);
    EXPECT_EQ(c.textAndName, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{4, 5}, {6, 7}, {2, 3}}));
    EXPECT_EQ(c.entries, (std::vector<std::uint32_t>{3, 1, 2}));
}

TEST(SaveLayout, SharedEmptyAndKeptStrings)
{
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries({entry("1", "same", "Kept"), entry("2", "same", ""),
        entry("3", "Same", "same"), entry("4", QString::fromUtf16(u"\u0001same"), QString::fromUtf16(u"e\u0301")),
        entry("5", QString::fromUtf16(u"\u00E9"), QString::fromUtf16(u"same\u200B"))});
    const Saved saved = save(entries);
    // List: "", "Kept", "same", "Same", then each row's text before its name:
    // "e\u0301", "\1same", "same\u200B", "\u00E9".
    EXPECT_EQ(saved.model.StringList.count, 8);
    const Containers c = containersOf(saved.image, 5);
    EXPECT_EQ(
        c.textAndName, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{1, 2}, {0, 2}, {2, 3}, {4, 5}, {6, 7}}));
}

TEST(SaveLayout, NoEntries)
{
    const Saved saved = save(xom::EntryTable{});
    EXPECT_EQ(u32At(saved.image, 0x1C), 1u);
    const Containers c = containersOf(saved.image, 0);
    EXPECT_TRUE(c.entries.empty());
    EXPECT_EQ(saved.model.StringList.count, 2);
}

TEST(SaveLayout, ProgressPositionsOfEachPhase)
{
    // Seven entries (R = 8) with texts and names that make n = 4 strings
    // besides the empty one: the kept string and three distinct others.
    xom::EntryTable entries;
    for (int k = 1; k <= 7; ++k)
        entries.append(entry(QByteArray::number(k).constData(), k % 2 ? "odd" : "even", "t"));
    const Saved saved = save(entries);
    ASSERT_EQ(saved.model.StringList.count, 5);
    EXPECT_EQ(saved.positions, (std::vector<int>{0, 2, 5, 8, 10, 12, 15, 18, 20, 25, 30, 35, 46, 52, 59, 65, 71, 78, 84,
                                   91, 92, 94, 95, 96, 98, 99}));
}

TEST(SaveLayout, TypeTableOrderDecidesContainerOrder)
{
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries({entry("2", "n2", "t2"), entry("1", "n1", "t1")});
    xom::LanguageModel model = testsupport::modelForEntries(entries);
    // The data bank type first, and a type of another name with a
    // container carried through from the load.
    std::swap(model.TypeTable[2], model.TypeTable[3]);
    model.StringResourceType = 3;
    model.TypeTable[0].instanceCount = 1;
    const QByteArray carried = QByteArray("CTNR") + QByteArray("carried bytes");
    model.carriedContainers.push_back({0, carried});
    const QByteArray image = xom::buildLanguageImage(entries, model);
    const StringTable table = stringTableOf(image);
    EXPECT_EQ(u32At(image, 0x1C), 4u);
    EXPECT_EQ(image.mid(table.end, carried.size()), carried);
    const qsizetype dataBank = table.end + carried.size();
    EXPECT_EQ(image.mid(dataBank, 13), QByteArray("CTNR") + QByteArray(6, '\0') + bytes({2, 2, 1}));

    // And it reads back as it was.
    const auto loadedResult = xom::loadLanguageFile(image);
    const auto* loaded = std::get_if<xom::LoadedFile>(&loadedResult);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->entries, entries);
    EXPECT_EQ(loaded->model.carriedContainers, model.carriedContainers);
}

TEST(SaveErrors, FewerThanTwoStringsChangesNothing)
{
    xom::EntryTable entries;
    entries = xom::EntryTable::fromEntries({entry("1", "n", "t")});
    xom::LanguageModel model = testsupport::modelForEntries(entries);
    model.StringList = xom::StringListSummary();
    try {
        static_cast<void>(xom::buildLanguageImage(entries, model));
        FAIL() << "no error";
    } catch (const text::ListIndexError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("List index out of bounds (1)"));
    }
    EXPECT_EQ(model.StringList.count, 1);
}

struct NumberCase {
    const char* what;
    std::vector<const char*> numbers;
};

class SaveNumberErrors : public testing::TestWithParam<NumberCase> { };

TEST_P(SaveNumberErrors, MissingNumberStopsAfterTheStringsWereRebuilt)
{
    xom::EntryTable entries;
    for (const char* number : GetParam().numbers)
        entries.append(entry(number, "n", QString::fromLatin1(number)));
    xom::LanguageModel model = testsupport::modelForEntries(entries);
    EXPECT_THROW(
        {
            try {
                static_cast<void>(xom::buildLanguageImage(entries, model));
            } catch (const text::ListIndexError& error) {
                EXPECT_EQ(error.index(), -1);
                throw;
            }
        },
        text::ListIndexError)
        << GetParam().what;
    // Rebuilt: "", "Kept", the first row's text, "n", then each text not
    // seen before.
    const QSet<QByteArray> texts(GetParam().numbers.begin(), GetParam().numbers.end());
    EXPECT_EQ(model.StringList.count, 3 + texts.size());
    EXPECT_EQ(model.StringList.second, QStringLiteral("Kept"));
    EXPECT_EQ(model.StringList.last, QString::fromLatin1(GetParam().numbers.back()));
}

INSTANTIATE_TEST_SUITE_P(SaveErrors, SaveNumberErrors,
    testing::Values(NumberCase{"a duplicate", {"1", "1", "3"}}, NumberCase{"out of range", {"1", "2", "4"}},
        NumberCase{"leading zero", {"01", "2"}}, NumberCase{"spaces", {"1", " 2"}},
        NumberCase{"not a number", {"1", "two"}}, NumberCase{"zero", {"0", "1"}}));

} // namespace
