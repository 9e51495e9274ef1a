// Loading synthetic files from bytes into the model and the entry table.
#include "xom/LanguageFileReader.h"

#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

const QByteArray& fileOf(const int entries)
{
    static std::map<int, QByteArray> files;
    auto& bytes = files[entries];
    if (bytes.isEmpty())
        bytes = testsupport::syntheticFileBytes(entries);
    return bytes;
}

void loadEntries(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const QByteArray& bytes = fileOf(entries);
    for (auto _ : state) {
        auto result = xom::loadLanguageFile(bytes);
        if (!std::holds_alternative<xom::LoadedFile>(result))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * entries);
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

BENCHMARK(loadEntries)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
