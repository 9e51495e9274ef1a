// Sort, Move Down, search and Find and Replace over large entry tables.
#include "xom/EntryOperations.h"
#include "xom/ReversibleOperations.h"
#include "xom/TableSearch.h"

#include "support/MarksAndMoveDown.h"
#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

namespace {

void sortByName(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const xom::EntryTable original = testsupport::syntheticEntries(entries);
    for (auto _ : state) {
        state.PauseTiming();
        xom::EntryTable table = original;
        state.ResumeTiming();
        xom::sortEntriesByName(table, [](int) {});
        benchmark::DoNotOptimize(table.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

// Move Down as the window makes it: the change worked out, then made.
void moveDown(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    xom::EntryTable original = testsupport::syntheticEntries(entries);
    // One row in ten marked.
    for (int i = 0; i < original.entryCount(); i += 10)
        original.setCell(i, xom::MarkColumn, u"x");
    for (auto _ : state) {
        state.PauseTiming();
        xom::EntryTable table = original;
        state.ResumeTiming();
        const xom::MoveDownChange change = xom::moveDownChangeOf(table);
        xom::redoMoveDown(table, change);
        benchmark::DoNotOptimize(table.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

void searchWithoutMatch(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const xom::EntryTable table = testsupport::syntheticEntries(entries);
    for (auto _ : state)
        benchmark::DoNotOptimize(xom::searchRowForPrefix(table, u"no such text"));
    state.SetItemsProcessed(state.iterations() * entries);
}

// Undo of Sort: the kept arrangement reverted in place.
void undoSort(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    xom::EntryTable table = testsupport::syntheticEntries(entries);
    const xom::RowOrder order = xom::sortOrderByName(table);
    xom::applyRowOrder(table, order);
    for (auto _ : state) {
        xom::revertRowOrder(table, order);
        state.PauseTiming();
        xom::applyRowOrder(table, order);
        state.ResumeTiming();
        benchmark::DoNotOptimize(table.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

// Find Next that meets no match: every text is examined once, round from
// the first row back to it.
void findNextWithoutMatch(benchmark::State& state, const text::MatchMode mode, const bool matchCase)
{
    const int entries = static_cast<int>(state.range(0));
    const xom::EntryTable table = testsupport::syntheticEntries(entries);
    const xom::TableSearch search({QStringLiteral("no such text"), mode, matchCase}, xom::LookIn::Texts);
    for (auto _ : state)
        benchmark::DoNotOptimize(search.findNext(table, {1, xom::TextColumn, 0}));
    state.SetItemsProcessed(state.iterations() * entries);
}

// Replace All of a term that one text in ten holds, the changes made to the
// table included.
void replaceAllInOneTextOfTen(benchmark::State& state, const text::MatchMode mode)
{
    const int entries = static_cast<int>(state.range(0));
    xom::EntryTable original = testsupport::syntheticEntries(entries);
    for (int i = 0; i < original.entryCount(); i += 10)
        original.setCell(i, xom::TextColumn, original.text(i).toString() + QStringLiteral(" Continue"));
    const QString pattern
        = mode == text::MatchMode::RegularExpression ? QStringLiteral("\\bcontinue\\b") : QStringLiteral("continue");
    const xom::TableSearch search({pattern, mode, false}, xom::LookIn::Texts);
    for (auto _ : state) {
        state.PauseTiming();
        xom::EntryTable table = original;
        state.ResumeTiming();
        const xom::ReplaceAllResult result = search.replaceAll(table, QStringLiteral("Resume"));
        xom::applyCellChanges(table, result.changes);
        if (result.tally.matches != (entries + 9) / 10)
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(table.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

// Undo of Move Down with state.range(1) marked rows spread over the table.
void undoMoveDown(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const auto marks = static_cast<std::size_t>(state.range(1));
    xom::EntryTable table = testsupport::syntheticEntries(entries);
    const auto step = static_cast<int>(table.rows.size() / marks);
    for (int i = 0; i < table.entryCount(); i += step)
        table.setCell(i, xom::MarkColumn, u"x");
    const xom::MoveDownChange change = testsupport::moveMarkedRowsDown(table);
    for (auto _ : state) {
        xom::undoMoveDown(table, change);
        state.PauseTiming();
        xom::redoMoveDown(table, change);
        state.ResumeTiming();
        benchmark::DoNotOptimize(table.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

BENCHMARK(undoSort)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(undoMoveDown)->Args({1'000'000, 100'000})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(sortByName)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(moveDown)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(searchWithoutMatch)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(findNextWithoutMatch, contains, text::MatchMode::Contains, false)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(findNextWithoutMatch, containsMatchCase, text::MatchMode::Contains, true)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(findNextWithoutMatch, regularExpression, text::MatchMode::RegularExpression, false)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(replaceAllInOneTextOfTen, contains, text::MatchMode::Contains)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(replaceAllInOneTextOfTen, regularExpression, text::MatchMode::RegularExpression)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
