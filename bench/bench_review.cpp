// A translation beside its reference: opening a reference, checking every
// entry, and the recheck after one edit; the last two again with every text
// check beside the review's own, as the editor runs them (a length limit
// set, spelling apart).
#include "checks/TextChecks.h"
#include "xom/LanguageFileReader.h"
#include "xom/TranslationReview.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

// The working entries and a reference of the same names in reverse order,
// its texts a mix of the cases the checks meet: different (most), equal
// (untranslated), with a placeholder the translation lacks, with a line
// break.
struct Pair {
    xom::EntryTable working;
    QByteArray referenceBytes;
};

const Pair& pairOf(const int count)
{
    static Pair pair;
    if (pair.working.entryCount() == count)
        return pair;
    pair.working = testsupport::syntheticEntries(count);
    std::vector<std::pair<QString, QString>> reference;
    reference.reserve(pair.working.rows.size());
    for (std::size_t i = 0; i < pair.working.rows.size(); ++i) {
        const xom::Entry entry = pair.working.entry(static_cast<int>(i));
        QString text = entry.text;
        if (i % 5 == 1)
            text = QStringLiteral("%1$s ") + text + QStringLiteral(" {0} %d%%");
        else if (i % 5 == 2)
            text = text + QStringLiteral("\nsecond line");
        else if (i % 5 != 0)
            text = QStringLiteral("The ") + text;
        reference.emplace_back(entry.name, std::move(text));
    }
    std::reverse(reference.begin(), reference.end());
    pair.referenceBytes = testsupport::simpleFile(reference).bytes();
    return pair;
}

void openReference(benchmark::State& state)
{
    const Pair& pair = pairOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto loaded = xom::loadLanguageFile(pair.referenceBytes);
        if (!std::holds_alternative<xom::LoadedFile>(loaded)) {
            state.SkipWithError("load failed");
            break;
        }
        auto review = std::make_unique<xom::TranslationReview>(std::move(std::get<xom::LoadedFile>(loaded).entries));
        review->recheckAll(pair.working);
        benchmark::DoNotOptimize(review->totals());
        // Freeing the reference is no part of opening it.
        state.PauseTiming();
        review.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

xom::TranslationReview reviewOf(const Pair& pair)
{
    auto loaded = xom::loadLanguageFile(pair.referenceBytes);
    return xom::TranslationReview(std::move(std::get<xom::LoadedFile>(loaded).entries));
}

// Every text check, the length check too, for a German translation.
void runEveryTextCheck(xom::TranslationReview& review)
{
    checks::TextCheckContext context;
    context.targetLanguage = QStringLiteral("de");
    context.enabled = checks::TextChecks::all();
    context.maxCharacters = 200;
    review.setTextChecker([context](const QStringView reference, const QStringView text) {
        return checks::failingTextChecks(reference, text, context).bits();
    });
}

void checkAll(benchmark::State& state)
{
    const Pair& pair = pairOf(static_cast<int>(state.range(0)));
    xom::TranslationReview review = reviewOf(pair);
    if (state.range(1) != 0)
        runEveryTextCheck(review);
    for (auto _ : state) {
        review.recheckAll(pair.working);
        benchmark::DoNotOptimize(review.totals());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["untranslated"] = review.totals().untranslated;
    state.counters["withWarnings"] = review.totals().withWarnings;
}

void recheckOneEdit(benchmark::State& state)
{
    const Pair& pair = pairOf(static_cast<int>(state.range(0)));
    xom::TranslationReview review = reviewOf(pair);
    if (state.range(1) != 0)
        runEveryTextCheck(review);
    xom::EntryTable working = pair.working;
    review.recheckAll(working);
    const int row = working.entryCount() / 2;
    const QString texts[2]{QStringLiteral("%1$s edited {0} %d%%"), working.text(row).toString()};
    int turn = 0;
    for (auto _ : state) {
        working.setCell(row, xom::TextColumn, texts[turn ^= 1]);
        review.recheckRow(working, row);
        benchmark::DoNotOptimize(review.totals());
    }
}

BENCHMARK(openReference)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
// The second argument: 1 with every text check.
BENCHMARK(checkAll)->Args({1'000'000, 0})->Args({1'000'000, 1})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(recheckOneEdit)->Args({1'000'000, 0})->Args({1'000'000, 1})->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
