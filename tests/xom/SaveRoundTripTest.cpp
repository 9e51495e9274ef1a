#include "LiteralProcedures.h"

#include "xom/EntryOperations.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "support/FileBuilder.h"
#include "support/FuzzChecks.h"
#include "support/RandomEntries.h"

#include "text/EditorError.h"

#include <gtest/gtest.h>

#include <QByteArrayMatcher>
#include <QtEndian>

#include <algorithm>
#include <random>

namespace {

// What a load gives back of the entries: no marks, and each text cut at its
// first U+0000, which ends a string of the table.
xom::EntryTable asReloaded(const xom::EntryTable& table)
{
    std::vector<xom::Entry> entries = table.entries();
    for (xom::Entry& e : entries) {
        e.mark.clear();
        for (QString* cell : {&e.name, &e.text}) {
            const qsizetype nul = cell->indexOf(QChar(u'\0'));
            if (nul >= 0)
                cell->truncate(nul);
        }
    }
    return xom::EntryTable::fromEntries(entries);
}

xom::LoadedFile reload(const QByteArray& image)
{
    auto result = xom::loadLanguageFile(image);
    if (auto* file = std::get_if<xom::LoadedFile>(&result))
        return std::move(*file);
    ADD_FAILURE() << std::get<xom::LoadError>(result).message().toStdString();
    return {};
}

TEST(SaveRoundTrip, RandomGridsReadBackInTheSameOrder)
{
    std::mt19937 random(2024);
    testsupport::TextMix mix;
    mix.loneSurrogates = true;
    mix.controlCodes = true;
    mix.nul = true;
    for (int round = 0; round < 60; ++round) {
        const int count = std::uniform_int_distribution<int>(0, 120)(random);
        const xom::EntryTable entries = testsupport::randomEntries(random, count, mix);
        xom::LanguageModel model = testsupport::modelForEntries(entries);
        const QByteArray first = xom::buildLanguageImage(entries, model);
        const xom::LoadedFile loaded = reload(first);
        ASSERT_EQ(loaded.entries, asReloaded(entries)) << "round " << round;
        EXPECT_EQ(loaded.model.TypeTable, model.TypeTable);
        // A second save of the same grid writes the same bytes, and so does
        // a save of the reloaded file (whose strings lost nothing but what
        // followed a U+0000).
        EXPECT_EQ(xom::buildLanguageImage(entries, model), first) << "round " << round;
        xom::LanguageModel reloadedModel = loaded.model;
        const QByteArray again = xom::buildLanguageImage(loaded.entries, reloadedModel);
        EXPECT_EQ(reload(again).entries, loaded.entries);
    }
}

TEST(SaveRoundTrip, SameBytesAsTheLiteralSteps)
{
    std::mt19937 random(99);
    for (int round = 0; round < 150; ++round) {
        const int count = std::uniform_int_distribution<int>(0, 40)(random);
        testsupport::TextMix mix;
        mix.controlCodes = round % 3 == 0;
        mix.loneSurrogates = round % 5 == 0;
        const xom::EntryTable entries = testsupport::randomEntries(random, count, mix);
        const QString kept = round % 4 == 0 ? QString() : testsupport::randomText(random, 6, mix);

        xom::LanguageModel fastModel = testsupport::modelForEntries(entries, kept);
        std::vector<int> fastPositions;
        const QByteArray fast
            = xom::buildLanguageImage(entries, fastModel, [&](const int p) { fastPositions.push_back(p); });

        xom::LanguageModel literalModel = testsupport::modelForEntries(entries, kept);
        std::vector<int> literalPositions;
        const QByteArray literal = literal::save(literal::gridOf(entries), literalModel, literalPositions);

        ASSERT_EQ(fast, literal) << "round " << round;
        EXPECT_EQ(fastPositions, literalPositions) << "round " << round;
        ASSERT_EQ(fastModel.StringList.count, literalModel.StringList.count);
        EXPECT_EQ(fastModel.StringList.second, literalModel.StringList.second);
        EXPECT_EQ(fastModel.StringList.lastButOne, literalModel.StringList.lastButOne);
        EXPECT_EQ(fastModel.StringList.last, literalModel.StringList.last);
    }
}

TEST(SaveRoundTrip, ManyEqualImagesKeepTheQuicksortsOrder)
{
    // Texts that differ only outside the code page share one ANSI image, so
    // the layout of their bytes is the quicksort's order of equals.
    std::mt19937 random(5);
    testsupport::TextMix mix;
    mix.accents = false;
    mix.emoji = false;
    for (int round = 0; round < 20; ++round) {
        xom::EntryTable entries = testsupport::randomEntries(random, 60, mix);
        for (int row = 0; row < entries.entryCount(); ++row) {
            entries.setCell(row, xom::TextColumn,
                QString(3, QChar(static_cast<char16_t>(0x0416 + std::uniform_int_distribution<int>(0, 9)(random)))));
            entries.setCell(row, xom::NameColumn,
                QString(2, QChar(static_cast<char16_t>(0x4E00 + std::uniform_int_distribution<int>(0, 30)(random)))));
        }
        xom::LanguageModel fastModel = testsupport::modelForEntries(entries);
        xom::LanguageModel literalModel = testsupport::modelForEntries(entries);
        std::vector<int> positions;
        EXPECT_EQ(xom::buildLanguageImage(entries, fastModel),
            literal::save(literal::gridOf(entries), literalModel, positions));
    }
}

TEST(SaveRoundTrip, TheBufferGrowsPastTwiceTheLoadedSize)
{
    // The loaded file was tiny; the grid now holds far more.
    xom::EntryTable entries = testsupport::syntheticEntries(500);
    xom::LanguageModel model = testsupport::modelForEntries(entries);
    model.FileSize = 10;
    const QByteArray image = xom::buildLanguageImage(entries, model);
    EXPECT_GT(image.size(), 20);
    EXPECT_EQ(reload(image).entries, entries);
}

std::string describe(const std::vector<testsupport::TypeTableRecord>& types)
{
    std::string text;
    for (const testsupport::TypeTableRecord& type : types)
        text += type.name.toStdString() + ' ' + std::to_string(type.instanceCount) + "; ";
    return text;
}

// The "CTNR" magics after the string table. No string, number or opaque body
// of fileWithTypes spells one, so each is a container.
int containersIn(const QByteArray& image)
{
    constexpr qsizetype Strs = 0x160;
    const auto count = qFromLittleEndian<std::uint32_t>(image.constData() + Strs + 4);
    const auto dataSize = qFromLittleEndian<std::uint32_t>(image.constData() + Strs + 8);
    const QByteArrayMatcher magic(QByteArrayLiteral("CTNR"));
    int found = 0;
    for (qsizetype at = Strs + 12 + 4 * qsizetype{count} + dataSize; (at = magic.indexIn(image, at)) >= 0; at += 4)
        ++found;
    return found;
}

// However the type table names and orders its types, a file either is
// refused (two data bank instances, or a string resource type counting more
// than the last one, whose containers the entries are) or loads with the last
// string resource type's entries, saves with every type's announced
// containers in place, and reads back as it was loaded.
TEST(SaveRoundTrip, TypeTablesOfEveryShapeReadBackAsLoaded)
{
    const std::vector<std::pair<QString, QString>> pairs{
        {QStringLiteral("FE.A"), QStringLiteral("alpha")}, {QStringLiteral("FE.B"), QStringLiteral("beta")}};
    int refused = 0;
    int withEntries = 0;
    for (const std::vector<testsupport::TypeTableRecord>& types : testsupport::typeTableShapes()) {
        const std::string what = describe(types);
        int dataBanks = 0;
        int announced = 0;
        const testsupport::TypeTableRecord* lastStrings = nullptr;
        bool earlierCountsMore = false;
        for (const testsupport::TypeTableRecord& type : types) {
            announced += type.instanceCount;
            if (type.name == "XDataBank")
                dataBanks += type.instanceCount;
            if (type.name == "XStringResourceDetails")
                lastStrings = &type;
        }
        for (const testsupport::TypeTableRecord& type : types) {
            if (type.name == "XStringResourceDetails" && type.instanceCount > lastStrings->instanceCount)
                earlierCountsMore = true;
        }

        // Files that do not meet their counts: one that ends before its last
        // container, one whose data bank lists fewer entries than there are
        // string resources. Whatever of them loads must read back the same.
        const testsupport::RawFile file = testsupport::fileWithTypes(types, pairs);
        const auto fail = [&](const char* problem) { ADD_FAILURE() << what << problem; };
        if (!file.containers.empty()) {
            testsupport::RawFile cut = file;
            cut.containers.pop_back();
            testsupport::checkRoundTrip(cut.bytes(), fail);
        }
        testsupport::RawFile fewer = file;
        std::replace(fewer.containers.begin(), fewer.containers.end(), testsupport::dataBankContainer({2, 1}),
            testsupport::dataBankContainer({1}));
        testsupport::checkRoundTrip(fewer.bytes(), fail);

        auto result = xom::loadLanguageFile(file.bytes());
        if (dataBanks > 1 || earlierCountsMore) {
            const auto* error = std::get_if<xom::LoadError>(&result);
            ASSERT_NE(error, nullptr) << what;
            EXPECT_EQ(error->message(), QStringLiteral("Bad Language File")) << what;
            ++refused;
            continue;
        }
        const auto* first = std::get_if<xom::LoadedFile>(&result);
        ASSERT_NE(first, nullptr) << what << std::get<xom::LoadError>(result).message().toStdString();
        xom::EntryTable expected;
        if (dataBanks == 1 && lastStrings) {
            for (int k = lastStrings->instanceCount; k > 0; --k) {
                const auto& [name, text] = pairs[static_cast<std::size_t>(k - 1)];
                expected.append(xom::Entry{QString(), QString::number(k), name, text});
            }
        }
        ASSERT_EQ(first->entries, expected) << what;
        withEntries += expected.rows.empty() ? 0 : 1;

        xom::LanguageModel model = first->model;
        const QByteArray image = xom::buildLanguageImage(first->entries, model);
        // Each type's containers, and a data bank last when none is announced.
        const int written = announced + (dataBanks == 0 ? 1 : 0);
        EXPECT_EQ(containersIn(image), written) << what;
        EXPECT_EQ(qFromLittleEndian<std::uint32_t>(image.constData() + 0x1C), static_cast<std::uint32_t>(written))
            << what;
        const xom::LoadedFile second = reload(image);
        EXPECT_EQ(second.entries, first->entries) << what;
        EXPECT_EQ(second.model.TypeTable, first->model.TypeTable) << what;
        EXPECT_EQ(second.model.carriedContainers, first->model.carriedContainers) << what;
        xom::LanguageModel again = second.model;
        EXPECT_EQ(xom::buildLanguageImage(second.entries, again), image) << what;
    }
    // The shapes reach both outcomes, and loads with entries among them.
    EXPECT_GT(refused, 0);
    EXPECT_GT(withEntries, 0);
}

} // namespace

// A save of a loaded file takes the order of its data once it has checked
// it; edits, Add, texts that image alike and files sorted some other way
// must all still give the literal save's bytes.
TEST(SaveRoundTrip, EditedLoadedFilesSaveAsTheLiteralSteps)
{
    struct Case {
        const char* what;
        int edits;                // cells given a new text after the load
        int adds;                 // entries added after the load
        bool alikeImages;         // new texts that image like loaded ones
        bool unsorted;            // the loaded file's data not in image order
        bool keptIsAText = false; // string 1 is also a row's text
    };
    const Case cases[] = {
        {"unchanged", 0, 0, false, false},
        {"unchanged, string 1 a row's text", 0, 0, false, false, true},
        {"a few edits", 5, 0, false, false},
        {"edits and adds", 8, 4, false, false},
        {"new texts imaging like loaded ones", 6, 2, true, false},
        {"most texts new", 70, 10, false, false},
        {"data in another order", 3, 1, false, true},
        // Names repeat: the file holds them twice, and only the save finds
        // them equal.
        {"data in another order, unchanged", 0, 0, false, true},
    };
    std::mt19937 random(17);
    for (const Case& c : cases) {
        for (int round = 0; round < 25; ++round) {
            testsupport::TextMix mix;
            mix.loneSurrogates = round % 3 == 0;
            const xom::EntryTable original = testsupport::randomEntries(random, 60, mix);
            xom::LanguageModel model = testsupport::modelForEntries(
                original, c.keptIsAText ? original.text(0).toString() : QStringLiteral("Kept"));
            QByteArray file = xom::buildLanguageImage(original, model);
            if (c.unsorted) {
                std::vector<std::pair<QString, QString>> pairs;
                for (int row = 0; row < original.entryCount(); ++row)
                    pairs.emplace_back(original.name(row).toString(), original.text(row).toString());
                file = testsupport::simpleFile(pairs).bytes();
            }
            auto loaded = std::get<xom::LoadedFile>(xom::loadLanguageFile(file));
            xom::EntryTable& entries = loaded.entries;

            const auto newText = [&](const int row) {
                if (!c.alikeImages)
                    return testsupport::randomText(random, 12, mix);
                // An accent swapped for another that images the same.
                QString text = entries.text(row).toString();
                return text + QChar(std::uniform_int_distribution<int>(0, 1)(random) ? u'\u0100' : u'A');
            };
            for (int i = 0; i < c.edits; ++i) {
                const int row = std::uniform_int_distribution<int>(0, entries.entryCount() - 1)(random);
                entries.setCell(row, i % 2 ? xom::NameColumn : xom::TextColumn, newText(row));
            }
            for (int i = 0; i < c.adds; ++i)
                xom::addEntry(entries, loaded.model, testsupport::randomText(random, 8, mix), newText(0));

            xom::LanguageModel literalModel = loaded.model;
            std::vector<int> positions;
            const QByteArray literal = literal::save(literal::gridOf(entries), literalModel, positions);
            ASSERT_EQ(xom::buildLanguageImage(entries, loaded.model), literal) << c.what << ", round " << round;
        }
    }
}

// Data that ascends but for one pair: a text held twice, or a longer text
// before its own prefix. Only a check of every pair may take such an order.
TEST(SaveRoundTrip, DataThatNearlyAscendsIsSortedAnew)
{
    using Pairs = std::vector<std::pair<QString, QString>>; // name, text: text k is string 2k - 1
    const Pairs files[] = {
        {{"ab", "a"}, {"abc", "ab"}},    // "a" "ab" "ab" "abc"
        {{"abc", "a"}, {"abd", "ab"}},   // "a" "abc" "ab" "abd"
        {{"b", "a"}, {"c", "b\u00e9"}},  // "a" "b" "bé" "c"
        {{"b\u0100", "a"}, {"c", "bA"}}, // "a" "bĀ" "bA" "c": equal images
    };
    for (const Pairs& pairs : files) {
        auto loaded = std::get<xom::LoadedFile>(xom::loadLanguageFile(testsupport::simpleFile(pairs).bytes()));
        xom::LanguageModel literalModel = loaded.model;
        std::vector<int> positions;
        const QByteArray literal = literal::save(literal::gridOf(loaded.entries), literalModel, positions);
        EXPECT_EQ(xom::buildLanguageImage(loaded.entries, loaded.model), literal) << pairs.front().first.toStdString();
    }

    // A large file is checked in two halves at once: its one pair out of
    // order is put at each place around the middle, so that one of them
    // straddles the halves. The same entries in a new table, which a save
    // sorts whole, give the bytes.
    const auto numbered = [](const int n) { return QStringLiteral("s%1").arg(n, 7, 10, QLatin1Char('0')); };
    for (int first = 39'996; first <= 40'004; ++first) {
        std::vector<QString> strings; // strings 1 .. 80000, ascending but for first and first + 1
        for (int n = 1; n <= 80'000; ++n)
            strings.push_back(numbered(n));
        std::swap(strings[static_cast<std::size_t>(first - 1)], strings[static_cast<std::size_t>(first)]);
        Pairs large;
        for (std::size_t k = 0; k < strings.size(); k += 2)
            large.emplace_back(strings[k + 1], strings[k]);
        auto loaded = std::get<xom::LoadedFile>(xom::loadLanguageFile(testsupport::simpleFile(large).bytes()));
        const xom::EntryTable fresh = xom::EntryTable::fromEntries(loaded.entries.entries());
        xom::LanguageModel freshModel = loaded.model;
        EXPECT_TRUE(xom::buildLanguageImage(loaded.entries, loaded.model) == xom::buildLanguageImage(fresh, freshModel))
            << "strings " << first << " and " << first + 1 << " out of order";
    }
}
