// The review file at 1,000,000 entries: written, and read back.
#include "review/ReviewFile.h"

#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Entries = 1'000'000;

// Every entry keeps a state and its snapshot, one in ten a note too: more
// than a real review file holds.
review::ReviewFile millionLines()
{
    const xom::EntryTable entries = testsupport::syntheticEntries(Entries);
    review::ReviewFile file;
    file.language = {69'245'875, QByteArray(32, '\x42')};
    file.lines.reserve(Entries);
    for (int row = 0; row < entries.entryCount(); ++row) {
        review::ReviewLine line;
        line.number = entries.number(row);
        line.name = entries.name(row).toString();
        line.review.state = static_cast<review::State>(1 + row % 3);
        line.review.snapshot = entries.text(row).toString();
        if (row % 10 == 0)
            line.review.note = QStringLiteral("too long for the button\tcheck");
        file.lines.push_back(std::move(line));
    }
    return file;
}

const review::ReviewFile& file()
{
    static const review::ReviewFile made = millionLines();
    return made;
}

void writeReviewFile(benchmark::State& state)
{
    qsizetype size = 0;
    const review::ReviewFile& lines = file(); // made once, untimed
    for (auto _ : state)
        size = review::writeReviewFile(lines).size();
    state.counters["MiB"] = static_cast<double>(size) / (1 << 20);
    state.SetItemsProcessed(state.iterations() * Entries);
}

void readReviewFile(benchmark::State& state)
{
    const QByteArray bytes = review::writeReviewFile(file());
    for (auto _ : state) {
        review::ReviewFile read = review::readReviewFile(bytes);
        // A load keeps what it read: its freeing is not timed.
        state.PauseTiming();
        if (read.lines.size() != static_cast<std::size_t>(Entries))
            state.SkipWithError("lines lost");
        read = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Entries);
}

} // namespace

BENCHMARK(writeReviewFile)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(readReviewFile)->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
