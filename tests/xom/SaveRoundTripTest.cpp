#include "LiteralProcedures.h"

#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "support/RandomEntries.h"

#include "text/EditorError.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// What a load gives back of the entries: no marks, and each text cut at its
// first U+0000, which ends a string of the table.
xom::EntryTable asReloaded(xom::EntryTable table)
{
    for (xom::Entry& e : table.rows) {
        e.mark.clear();
        for (QString* cell : {&e.name, &e.text}) {
            const qsizetype nul = cell->indexOf(QChar(u'\0'));
            if (nul >= 0)
                cell->truncate(nul);
        }
    }
    return table;
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
        ASSERT_EQ(fastModel.StringList.count(), literalModel.StringList.count());
        for (int i = 0; i < fastModel.StringList.count(); ++i)
            EXPECT_EQ(fastModel.StringList.get(i), literalModel.StringList.get(i));
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
        for (xom::Entry& e : entries.rows) {
            e.text
                = QString(3, QChar(static_cast<char16_t>(0x0416 + std::uniform_int_distribution<int>(0, 9)(random))));
            e.name
                = QString(2, QChar(static_cast<char16_t>(0x4E00 + std::uniform_int_distribution<int>(0, 30)(random))));
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

} // namespace
