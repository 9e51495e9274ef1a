// Building the image of a save from a loaded file's model and entries.
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

namespace {

void saveEntries(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    auto loaded = std::get<xom::LoadedFile>(xom::loadLanguageFile(testsupport::syntheticFileBytes(entries)));
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

BENCHMARK(saveEntries)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
