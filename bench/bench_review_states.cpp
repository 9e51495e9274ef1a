// The review states at 1,000,000 entries: the rows a filter shows and the
// counts of every filter, and the update of a translation to a new version
// of its reference.
#include "document/Document.h"
#include "document/RowFilter.h"

#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

#include <optional>

namespace {

constexpr int Entries = 1'000'000;

// A translation whose every third entry needs review and every fifth was
// approved against its reference text; the reference the same entries with
// one text in ten changed since.
struct ReviewedTranslation {
    ReviewedTranslation()
    {
        xom::LoadedFile file;
        file.entries = testsupport::syntheticEntries(Entries);
        file.model = testsupport::modelForEntries(file.entries);
        oldReference = file.entries;
        newReference = file.entries;
        for (int row = 0; row < Entries; row += 10)
            newReference.setCell(row, xom::TextColumn, QStringLiteral("changed %1").arg(row));
        document.open(std::move(file), QStringLiteral("lang_million.xom"));
        std::vector<document::ReviewChange> changes;
        for (int gridRow = 1; gridRow <= Entries; ++gridRow) {
            if (gridRow % 3 == 0)
                changes.push_back({gridRow, {}, {review::State::NeedsReview, {}, {}}});
            else if (gridRow % 5 == 0)
                changes.push_back(
                    {gridRow, {}, {review::State::Approved, {}, document.entries().text(gridRow - 1).toString()}});
        }
        document.setEntryReviews(std::move(changes), QStringLiteral("Review"));
        document.openReference(newReference, QStringLiteral("lang_en.xom"));
    }

    document::Document document;
    xom::EntryTable oldReference;
    xom::EntryTable newReference;
};

ReviewedTranslation& translation()
{
    static ReviewedTranslation made;
    return made;
}

void rowsOfFilter(benchmark::State& state)
{
    const document::Document& document = translation().document;
    const auto filter = static_cast<document::RowFilter>(state.range(0));
    std::size_t rows = 0;
    for (auto _ : state)
        rows = document::rowsPassing(document, filter).size();
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * Entries);
}

void countsOfFilters(benchmark::State& state)
{
    const document::Document& document = translation().document;
    for (auto _ : state)
        benchmark::DoNotOptimize(document::countRowFilters(document));
    state.SetItemsProcessed(state.iterations() * Entries);
}

// The whole update, as ludra-lang update makes it after loading the files.
void updateToNewReference(benchmark::State& state)
{
    const ReviewedTranslation& made = translation();
    // Made and dropped untimed: only the update is timed.
    std::optional<document::Document> document;
    for (auto _ : state) {
        state.PauseTiming();
        document.reset();
        document.emplace(document::Document::History::NotKept);
        xom::LoadedFile file;
        file.entries = made.oldReference;
        file.model = testsupport::modelForEntries(file.entries);
        document->open(std::move(file), QStringLiteral("lang_million.xom"));
        xom::EntryTable newReference = made.newReference;
        state.ResumeTiming();
        const document::UpdateResult result
            = document->updateToReference(std::move(newReference), QStringLiteral("lang_en.xom"), &made.oldReference);
        benchmark::DoNotOptimize(result.summary.counts.data());
    }
    state.SetItemsProcessed(state.iterations() * Entries);
}

} // namespace

BENCHMARK(rowsOfFilter)
    ->Arg(static_cast<int>(document::RowFilter::NeedsReview))
    ->Arg(static_cast<int>(document::RowFilter::SourceChanged))
    ->Arg(static_cast<int>(document::RowFilter::All))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(countsOfFilters)->Unit(benchmark::kMillisecond);
BENCHMARK(updateToNewReference)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
