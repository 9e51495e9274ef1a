#include "xom/LanguageFileReader.h"

#include "support/FileBuilder.h"
#include "support/HostileFiles.h"
#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <random>

namespace testsupport {

// Names the case in a failure report.
void PrintTo(const HostileFile& file, std::ostream* out)
{
    *out << file.what;
}

} // namespace testsupport

namespace {

using testsupport::dataBankContainer;
using testsupport::RawFile;
using testsupport::simpleFile;
using testsupport::stringResourceContainer;
using testsupport::utf8;

const std::vector<std::pair<QString, QString>> threeEntries{
    {QStringLiteral("FE.Hello"), QStringLiteral("Hello")},
    {QStringLiteral("FE.Help"), QStringLiteral("help\r\nme")},
    {QStringLiteral("FE.World"), QStringLiteral("World")},
};

xom::LoadedFile loaded(const QByteArray& bytes)
{
    auto result = xom::loadLanguageFile(bytes);
    if (const auto* error = std::get_if<xom::LoadError>(&result))
        ADD_FAILURE() << "load failed: " << error->message().toStdString();
    else
        return std::get<xom::LoadedFile>(std::move(result));
    return {};
}

std::optional<xom::LoadError> failure(const QByteArray& bytes)
{
    const auto result = xom::loadLanguageFile(bytes);
    if (const auto* error = std::get_if<xom::LoadError>(&result))
        return *error;
    return std::nullopt;
}

// Rows as "number|name|text", marks included when set.
std::vector<QString> rowsOf(const xom::EntryTable& table)
{
    std::vector<QString> rows;
    for (const xom::Entry& e : table.entries())
        rows.push_back((e.mark.isEmpty() ? QString() : e.mark + u'!') + e.number + u'|' + e.name + u'|' + e.text);
    return rows;
}

TEST(Load, WellFormedFileFillsEntriesAndModel)
{
    const xom::LoadedFile file = loaded(simpleFile(threeEntries).bytes());
    EXPECT_EQ(rowsOf(file.entries), (std::vector<QString>{QStringLiteral("1|FE.Hello|Hello"),
                                        QStringLiteral("2|FE.Help|help\r\nme"), QStringLiteral("3|FE.World|World")}));
    // The counter is written after each container that another follows.
    EXPECT_EQ(file.containerCounter, 3);
    const xom::LanguageModel& model = file.model;
    ASSERT_EQ(model.TypeTable.size(), 4u);
    EXPECT_EQ(model.TypeTable[0].name, "XContainer");
    EXPECT_EQ(model.TypeTable[0].kind, xom::TypeKind::Container);
    EXPECT_EQ(model.TypeTable[1].kind, xom::TypeKind::ResourceDetails);
    EXPECT_EQ(model.TypeTable[2].kind, xom::TypeKind::StringResourceDetails);
    EXPECT_EQ(model.TypeTable[2].instanceCount, 3);
    EXPECT_EQ(model.TypeTable[3].kind, xom::TypeKind::DataBank);
    EXPECT_EQ(model.TypeTable[3].guid, testsupport::standardTypes(3)[3].guid);
    EXPECT_EQ(model.StringResourceType, 2);
    ASSERT_EQ(model.StringList.count, 7);
    EXPECT_EQ(model.StringList.second, QStringLiteral("Hello"));
    EXPECT_EQ(model.StringList.lastButOne, QStringLiteral("World"));
    EXPECT_EQ(model.StringList.last, QStringLiteral("FE.World"));
    EXPECT_EQ(model.FileSize, simpleFile(threeEntries).bytes().size());
    EXPECT_TRUE(model.carriedContainers.empty());
}

struct LayoutCase {
    const char* what;
    std::function<void(RawFile&)> change;
    std::vector<QString> rows;
};

void PrintTo(const LayoutCase& c, std::ostream* out)
{
    *out << c.what;
}

class LoadLayouts : public testing::TestWithParam<LayoutCase> { };

TEST_P(LoadLayouts, GiveTheRowsOfTheDataBank)
{
    RawFile file = simpleFile(threeEntries);
    GetParam().change(file);
    EXPECT_EQ(rowsOf(loaded(file.bytes()).entries), GetParam().rows) << GetParam().what;
}

const std::vector<QString> threeRows{
    QStringLiteral("1|FE.Hello|Hello"), QStringLiteral("2|FE.Help|help\r\nme"), QStringLiteral("3|FE.World|World")};

INSTANTIATE_TEST_SUITE_P(Load, LoadLayouts,
    testing::Values(LayoutCase{"strings 32 bytes after the type table", [](RawFile&) {}, threeRows},
        LayoutCase{"strings 16 bytes after the type table", [](RawFile& f) { f.chunksBeforeStrings = 1; }, threeRows},
        LayoutCase{"data bank in another order",
            [](RawFile& f) {
                f.containers.back() = dataBankContainer({3, 1, 2});
            },
            {QStringLiteral("3|FE.World|World"), QStringLiteral("1|FE.Hello|Hello"),
                QStringLiteral("2|FE.Help|help\r\nme")}},
        LayoutCase{"extra bytes between containers",
            [](RawFile& f) {
                f.containers[0] += QByteArray("junk CTN junk");
                f.containers[1] += QByteArray(7, '\xFF');
            },
            threeRows},
        LayoutCase{"data bank before the string resources in the type table",
            [](RawFile& f) {
                std::swap(f.types[2], f.types[3]);
                std::rotate(f.containers.begin(), f.containers.end() - 1, f.containers.end());
            },
            threeRows},
        LayoutCase{"no data bank type: no entries",
            [](RawFile& f) {
                f.types[3].instanceCount = 0;
                f.containers.pop_back();
            },
            {}},
        LayoutCase{"a data bank type differing in case is no data bank",
            [](RawFile& f) { f.types[3].name = "XDATABANK"; }, {}},
        LayoutCase{"data bank with no entries", [](RawFile& f) { f.containers.back() = dataBankContainer({}); }, {}},
        LayoutCase{"texts outside every code page",
            [](RawFile& f) {
                f.strings[0] = utf8(QString::fromUtf16(u"\u65E5\u672C \U0001F600 \u0416"));
                f.strings[1] = utf8(QString::fromUtf16(u"\u00A0\u0001x"));
            },
            {QString::fromUtf16(u"1|\u00A0\u0001x|\u65E5\u672C \U0001F600 \u0416"),
                QStringLiteral("2|FE.Help|help\r\nme"), QStringLiteral("3|FE.World|World")}},
        LayoutCase{"strings that begin inside others' bytes",
            [](RawFile& f) {
                f.inside = {{5, 6, 3}, {1, 2, 3}, {3, 1, 1}};
            },
            {QStringLiteral("1|FE.Hello|Hello"), QStringLiteral("2|FE.Help|ello"), QStringLiteral("3|FE.World|World")}},
        LayoutCase{"a string with a bad byte keeps the rest",
            [](RawFile& f) { f.strings[0] = QByteArray("Hel\x80lo"); },
            {QString::fromUtf16(u"1|FE.Hello|Hel\uFFFDlo"), QStringLiteral("2|FE.Help|help\r\nme"),
                QStringLiteral("3|FE.World|World")}}));

TEST(Load, LargeFileReadInTwoHalvesGivesEveryEntry)
{
    // Enough strings for the two halves of the data to be decoded at once;
    // the last name begins inside the first text, across the halves.
    const xom::EntryTable entries = testsupport::syntheticEntries(40'000);
    std::vector<std::pair<QString, QString>> pairs;
    std::vector<QString> rows;
    for (int row = 0; row < entries.entryCount(); ++row) {
        pairs.emplace_back(entries.name(row).toString(), entries.text(row).toString());
        rows.push_back(QStringLiteral("%1|%2|%3").arg(row + 1).arg(pairs.back().first, pairs.back().second));
    }
    RawFile file = simpleFile(pairs);
    file.inside.push_back({file.strings.size(), 1, 2});
    rows.back()
        = QStringLiteral("%1|%2|%3").arg(entries.entryCount()).arg(pairs.front().second.mid(2), pairs.back().second);
    EXPECT_EQ(rowsOf(loaded(file.bytes()).entries), rows);
}

TEST(Load, DataBankAloneWritesNoCounter)
{
    RawFile file;
    file.types = testsupport::standardTypes(0);
    file.strings = {"kept"};
    file.containers.push_back(dataBankContainer({}));
    const xom::LoadedFile result = loaded(file.bytes());
    EXPECT_TRUE(result.entries.rows.empty());
    EXPECT_EQ(result.containerCounter, std::nullopt);
}

TEST(Load, ContainersOfOtherTypesAreCarriedWhole)
{
    RawFile file = simpleFile(threeEntries);
    file.types[0].instanceCount = 1;
    file.types[1].name = "XSomethingElse";
    file.types[1].instanceCount = 1;
    const QByteArray first = QByteArray("CTNR") + QByteArray("\x01\x02\x03 opaque", 10);
    const QByteArray second = QByteArray("CTNR") + QByteArray(5, '\x07');
    file.containers.insert(file.containers.begin(), {first, second});
    const xom::LoadedFile result = loaded(file.bytes());
    EXPECT_EQ(rowsOf(result.entries), threeRows);
    ASSERT_EQ(result.model.carriedContainers.size(), 2u);
    EXPECT_EQ(result.model.carriedContainers[0], (xom::CarriedContainer{0, first}));
    EXPECT_EQ(result.model.carriedContainers[1], (xom::CarriedContainer{1, second}));
    EXPECT_EQ(result.model.TypeTable[1].kind, xom::TypeKind::Unknown);
    EXPECT_EQ(result.containerCounter, 5);
}

TEST(Load, FileWithoutStringResourceTypeHasNone)
{
    RawFile file;
    file.types = testsupport::standardTypes(0);
    file.types[2].name = "XOther";
    file.strings = {"kept"};
    file.containers.push_back(dataBankContainer({}));
    const xom::LoadedFile result = loaded(file.bytes());
    EXPECT_EQ(result.model.StringResourceType, -1);
    EXPECT_TRUE(result.entries.rows.empty());
}

// A file loads only when a save can write it again: the data bank lists
// 1 .. n once each, and a string is there for the save to keep. Each
// refusal says why and where.
TEST(Load, FilesNoSaveCouldWriteAreRefusedWithTheirFault)
{
    struct Case {
        const char* what;
        std::function<void(RawFile&)> change;
        const char* detail;
    };
    const Case cases[] = {
        {"entry 0",
            [](RawFile& f) {
                f.containers.back() = dataBankContainer({2, 0, 1});
            },
            "the data bank names entry 0"},
        {"a repeat",
            [](RawFile& f) {
                f.containers.back() = dataBankContainer({1, 1, 2});
            },
            "the data bank names entry 1 twice"},
        {"a skip",
            [](RawFile& f) {
                f.containers.back() = dataBankContainer({1, 3});
            },
            "the data bank lists 2 entries and names entry 3"},
        {"no string to keep",
            [](RawFile& f) {
                f = RawFile{};
                f.types = testsupport::standardTypes(0);
                f.containers = {dataBankContainer({})};
            },
            "the string table holds no string for a save to keep"},
        {"a data bank cut short", [](RawFile& f) { f.containers.back() = QByteArray("CTNR\x01\x02"); },
            "the file ends inside the data bank"},
    };
    for (const Case& c : cases) {
        RawFile file = simpleFile(threeEntries);
        c.change(file);
        const auto error = failure(file.bytes());
        ASSERT_TRUE(error.has_value()) << c.what;
        EXPECT_EQ(error->message(), QStringLiteral("Bad Language File")) << c.what;
        EXPECT_TRUE(error->detail.startsWith(QString::fromUtf8(c.detail)))
            << c.what << ": " << error->detail.toStdString();
        EXPECT_TRUE(error->detail.contains(QStringLiteral("(at byte "))) << c.what;
        EXPECT_TRUE(error->explained().startsWith(QStringLiteral("Bad Language File: "))) << c.what;
    }
}

class LoadRejects : public testing::TestWithParam<testsupport::HostileFile> { };

TEST_P(LoadRejects, WithTheMessageOfTheFault)
{
    const testsupport::HostileFile& file = GetParam();
    const auto error = failure(file.bytes);
    ASSERT_TRUE(error.has_value()) << file.what;
    EXPECT_EQ(error->message(), file.expectedMessage()) << file.what;
}

INSTANTIATE_TEST_SUITE_P(Load, LoadRejects, testing::ValuesIn(testsupport::hostileFiles()));

TEST(Load, FileCutAtAnyByteIsRejectedOrComplete)
{
    RawFile file = simpleFile(threeEntries);
    file.types[0].instanceCount = 1;
    file.containers.insert(file.containers.begin(), QByteArray("CTNRopaque"));
    const QByteArray whole = file.bytes();
    const xom::LoadedFile complete = loaded(whole);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        // A copy of its own, so that any read past the cut is a read past
        // the allocation, which the sanitizer build catches.
        const QByteArray cut(whole.constData(), length);
        auto result = xom::loadLanguageFile(cut);
        if (const auto* file2 = std::get_if<xom::LoadedFile>(&result)) {
            // Only the data bank's unread trailer may go.
            EXPECT_GE(length, whole.size() - 5) << length;
            EXPECT_EQ(file2->entries, complete.entries) << length;
        }
    }
}

TEST(Load, RandomDamageNeverCrashes)
{
    const QByteArray whole = simpleFile(threeEntries).bytes();
    std::mt19937 random(7);
    std::uniform_int_distribution<qsizetype> position(0, whole.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = whole;
        const int changes = 1 + round % 8;
        for (int c = 0; c < changes; ++c)
            damaged[position(random)] = static_cast<char>(byte(random));
        const auto result = xom::loadLanguageFile(damaged);
        if (const auto* file = std::get_if<xom::LoadedFile>(&result)) {
            for (int row = 0; row < file->entries.entryCount(); ++row)
                EXPECT_FALSE(file->entries.number(row).isEmpty());
        }
    }
}

} // namespace
