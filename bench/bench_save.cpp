// Building the image of a save from a loaded file's model and entries.
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"
#include "xom/StringTableOrder.h"

#include "support/RandomEntries.h"

#include "text/AnsiImage.h"

#include <benchmark/benchmark.h>

#include <map>
#include <vector>

namespace {

void saveLoaded(benchmark::State& state, const QByteArray& bytes, const int entries)
{
    auto loaded = std::get<xom::LoadedFile>(xom::loadLanguageFile(bytes));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray image = xom::buildLanguageImage(loaded.entries, loaded.model);
        size = image.size();
        benchmark::DoNotOptimize(image.constData());
    }
    state.SetItemsProcessed(state.iterations() * entries);
    state.counters["strings"] = loaded.model.StringList.count;
    state.counters["image_MB"] = static_cast<double>(size) / 1e6;
}

// A file whose string data stands in list order: the save sorts it anew.
void saveEntries(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    saveLoaded(state, testsupport::syntheticFileBytes(entries), entries);
}

BENCHMARK(saveEntries)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bytes of a save of the file: laid out as every save lays it out.
QByteArray resaved(const QByteArray& bytes)
{
    auto loaded = std::get<xom::LoadedFile>(xom::loadLanguageFile(bytes));
    return xom::buildLanguageImage(loaded.entries, loaded.model);
}

// A file laid out as saves lay it out: the save checks the loaded order.
void saveSavedLayout(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    saveLoaded(state, resaved(testsupport::syntheticFileBytes(entries)), entries);
}

BENCHMARK(saveSavedLayout)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A file laid out as saves lay it out whose texts often image alike (in
// code page 1252, the C locale's): the save sorts by the exact quicksort.
void saveAlikeImages(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    saveLoaded(state, resaved(testsupport::alikeImagesFileBytes(entries)), entries);
}

BENCHMARK(saveAlikeImages)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The string table a save of syntheticEntries(count) lays out: the empty
// string, then each row's text and name, imaged back to back.
struct StringTableImages {
    QByteArray images;
    std::vector<std::uint32_t> ends;
};

const StringTableImages& syntheticImages(const int count)
{
    static std::map<int, StringTableImages> made;
    auto [at, inserted] = made.try_emplace(count);
    if (inserted) {
        at->second.ends.push_back(0);
        const xom::EntryTable table = testsupport::syntheticEntries(count);
        for (int row = 0; row < table.entryCount(); ++row) {
            for (const QStringView string : {table.text(row), table.name(row)}) {
                text::appendAnsiImage(string, at->second.images);
                at->second.ends.push_back(static_cast<std::uint32_t>(at->second.images.size()));
            }
        }
    }
    return at->second;
}

template <auto Order> void orderStringTable(benchmark::State& state)
{
    const StringTableImages& table = syntheticImages(static_cast<int>(state.range(0)));
    const auto* const bytes = reinterpret_cast<const unsigned char*>(table.images.constData());
    for (auto _ : state) {
        const std::vector<std::int32_t> order = Order(bytes, table.ends);
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(table.ends.size() - 1));
    state.counters["strings"] = static_cast<double>(table.ends.size() - 1);
}

// The fast order against the list's quicksort, over the two million strings
// of a million entries.
BENCHMARK(orderStringTable<xom::stringTableOrder>)
    ->Name("stringTableOrder")
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(orderStringTable<xom::exactStringTableOrder>)
    ->Name("exactStringTableOrder")
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
