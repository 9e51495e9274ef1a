// Save and Sort image, key and compare every name and text of a grid; these
// measure the text layer's building blocks over 1,000,000 texts, reported as
// texts per second.
#include "support/PinnedTextEnvironment.h"
#include "support/RandomEntries.h"
#include "support/TextComparisons.h"

#include "text/AnsiImage.h"
#include "text/TextCompare.h"
#include "text/TextEnvironment.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

#include <random>
#include <vector>

namespace {

constexpr int TextCount = 1'000'000;

// "FE.Str" and a number, as the synthetic grids name their entries.
const std::vector<QString>& names()
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> out;
        out.reserve(TextCount);
        const xom::EntryTable table = testsupport::syntheticEntries(TextCount);
        for (int row = 0; row < table.entryCount(); ++row)
            out.push_back(table.name(row).toString());
        return out;
    }();
    return texts;
}

// Up to 16 units of ASCII, accented letters, Cyrillic, CJK and emoji.
const std::vector<QString>& mixedTexts()
{
    static const std::vector<QString> texts = [] {
        std::mt19937 random(5);
        std::vector<QString> out;
        out.reserve(TextCount);
        for (int i = 0; i < TextCount; ++i)
            out.push_back(testsupport::randomText(random, 16));
        return out;
    }();
    return texts;
}

void pin(const char* locale, const int codePage)
{
    testsupport::pinTextEnvironment(QString::fromLatin1(locale), codePage);
}

void BM_AppendAnsiImage(
    benchmark::State& state, const std::vector<QString>& (*texts)(), const char* locale, const int codePage)
{
    const std::vector<QString>& all = texts();
    pin(locale, codePage);
    QByteArray image;
    for (auto _ : state) {
        qsizetype bytes = 0;
        for (const QString& t : all) {
            image.resize(0); // keeps the capacity, unlike clear()
            text::appendAnsiImage(t, image);
            bytes += image.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(all.size()));
}

void BM_ToAnsiImage(
    benchmark::State& state, const std::vector<QString>& (*texts)(), const char* locale, const int codePage)
{
    const std::vector<QString>& all = texts();
    pin(locale, codePage);
    for (auto _ : state) {
        for (const QString& t : all)
            benchmark::DoNotOptimize(text::ToAnsiImage(t));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(all.size()));
}

void BM_AnsiTextSortKey(
    benchmark::State& state, const std::vector<QString>& (*texts)(), const char* locale, const int codePage)
{
    const std::vector<QString>& all = texts();
    pin(locale, codePage);
    for (auto _ : state) {
        for (const QString& t : all)
            benchmark::DoNotOptimize(text::ansiTextSortKey(t));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(all.size()));
}

void BM_LocaleSortKey(benchmark::State& state, const std::vector<QString>& (*texts)(), const bool matchCase)
{
    const std::vector<QString>& all = texts();
    pin("en_US", 1252);
    for (auto _ : state) {
        for (const QString& t : all)
            benchmark::DoNotOptimize(testsupport::localeSortKey(t, matchCase));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(all.size()));
}

// One comparison per neighbouring pair, as a scan or a sort without keys
// would make them.
void BM_CompareLocale(benchmark::State& state, const std::vector<QString>& (*texts)(), const bool matchCase)
{
    const std::vector<QString>& all = texts();
    pin("en_US", 1252);
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 1; i < all.size(); ++i)
            sum += testsupport::CompareLocale(all[i - 1], all[i], matchCase);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(all.size() - 1));
}

void BM_CompareAnsiText(benchmark::State& state, const std::vector<QString>& (*texts)())
{
    const std::vector<QString>& all = texts();
    pin("en_US", 1252);
    std::vector<QByteArray> images;
    images.reserve(all.size());
    for (const QString& t : all)
        images.push_back(text::ToAnsiImage(t));
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 1; i < images.size(); ++i)
            sum += testsupport::CompareAnsiText(images[i - 1], images[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(images.size() - 1));
}

// A search that matches no cell: every cell is examined.
void BM_PrefixScanWithoutMatch(benchmark::State& state, const std::vector<QString>& (*texts)(), const char16_t* search)
{
    const std::vector<QString>& all = texts();
    const text::PrefixMatcher matcher(QString::fromUtf16(search));
    for (auto _ : state) {
        int matches = 0;
        for (const QString& t : all)
            matches += matcher.matches(t) ? 1 : 0;
        benchmark::DoNotOptimize(matches);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(all.size()));
}

BENCHMARK_CAPTURE(BM_AppendAnsiImage, names_1252, names, "en_US", 1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AppendAnsiImage, mixed_1252, mixedTexts, "en_US", 1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AppendAnsiImage, mixed_932, mixedTexts, "ja_JP", 932)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ToAnsiImage, names_1252, names, "en_US", 1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnsiTextSortKey, names_1252, names, "en_US", 1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnsiTextSortKey, mixed_1252, mixedTexts, "en_US", 1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnsiTextSortKey, mixed_932, mixedTexts, "ja_JP", 932)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LocaleSortKey, names_caseSensitive, names, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LocaleSortKey, mixed_caseSensitive, mixedTexts, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CompareLocale, names_caseSensitive, names, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CompareLocale, names_caseInsensitive, names, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CompareAnsiText, names_1252, names)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PrefixScanWithoutMatch, names_ascii, names, u"fe.strx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PrefixScanWithoutMatch, mixed_cyrillic, mixedTexts, u"Жук")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
