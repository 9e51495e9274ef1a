// What the recovery journal costs: an edit with and without the journal
// (their difference is one change's append on the window's thread), the
// replay of a day of 100,000 changes onto a file of 1,000,000 entries, and a
// Replace All over those entries from the click until its record is synced.
#include "recovery/DocumentJournal.h"
#include "recovery/Replay.h"

#include "xom/LanguageFileReader.h"
#include "xom/TableSearch.h"
#include "xom/WholeFile.h"

#include "support/RandomEntries.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>

namespace {

constexpr int Entries = 1'000'000;

// The synthetic file on disk, and a folder for journals.
struct FileOnDisk {
    explicit FileOnDisk(const int entries)
        : path(folder.filePath(QStringLiteral("lang_million.xom")))
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(testsupport::syntheticFileBytes(entries)) < 0)
            std::abort();
    }
    [[nodiscard]] recovery::JournalFolder journals() const
    {
        return recovery::JournalFolder(folder.filePath(QStringLiteral("recovery")));
    }
    void load(document::Document& document) const
    {
        xom::LoadResult loaded = xom::loadLanguageFile(xom::readWholeFile(path).bytes);
        document.open(std::get<xom::LoadedFile>(std::move(loaded)), path);
    }

    QTemporaryDir folder;
    QString path;
};

// One edit of a text cell, alternating between two texts so that every one
// changes the cell.
void edit(document::Document& document, const int gridRow, const std::int64_t round)
{
    const QString before = document.entries().gridCell(gridRow, xom::TextColumn);
    const QString after = round % 2 == 0 ? QStringLiteral("Weiter") : QStringLiteral("Fortsetzen");
    document.setCellTexts({{gridRow, xom::TextColumn, before, after}}, QStringLiteral("Edit"));
}

void editWithoutJournal(benchmark::State& state)
{
    const FileOnDisk file(10'000);
    document::Document document;
    file.load(document);
    std::int64_t round = 0;
    for (auto _ : state)
        edit(document, 1 + static_cast<int>(round % 5000), round), ++round;
}

void editWithJournal(benchmark::State& state)
{
    const FileOnDisk file(10'000);
    document::Document document;
    file.load(document);
    recovery::DocumentJournal journal(document, file.journals());
    std::int64_t round = 0;
    for (auto _ : state)
        edit(document, 1 + static_cast<int>(round % 5000), round), ++round;
    journal.waitUntilDurable();
}

// A long day: edits all over the file, now and then a mark, an undo or a
// redo; then the journal is read and replayed onto the file loaded again.
void replayOfADay(benchmark::State& state)
{
    const int changes = static_cast<int>(state.range(0));
    const FileOnDisk file(Entries);
    QByteArray bytes;
    {
        document::Document document;
        file.load(document);
        recovery::DocumentJournal journal(document, file.journals());
        std::mt19937 random(1);
        for (int change = 0; change < changes; ++change) {
            const int row = 1 + static_cast<int>(random() % Entries);
            switch (random() % 20) {
            case 0:
                document.toggleMark(row);
                break;
            case 1:
                document.undo();
                break;
            case 2:
                document.redo();
                break;
            default:
                edit(document, row, change);
                break;
            }
        }
        journal.waitUntilDurable();
        QFile written(journal.journalPath());
        if (!written.open(QIODevice::ReadOnly))
            std::abort();
        bytes = written.readAll();
    }
    for (auto _ : state) {
        state.PauseTiming();
        document::Document document;
        file.load(document);
        state.ResumeTiming();
        const recovery::ReplayOutcome outcome = recovery::replayJournal(document, recovery::readJournal(bytes));
        if (!outcome.complete())
            state.SkipWithError("the replay stopped");
    }
    state.counters["journal_MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.SetItemsProcessed(state.iterations() * changes);
}

// Replace All of every text's spaces, from the click until the journal
// holds it on disk (without a journal when state.range(0) is 0, for the
// cost of the record on the window's thread); the counter is the part after
// the Replace All returned.
void replaceAllUntilDurable(benchmark::State& state)
{
    const FileOnDisk file(Entries);
    document::Document document;
    file.load(document);
    std::optional<recovery::DocumentJournal> journal;
    if (state.range(0) != 0)
        journal.emplace(document, file.journals());
    const xom::TableSearch search({QStringLiteral(" "), text::MatchMode::Contains, false}, xom::LookIn::Texts);
    double afterMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (document.history().canUndo())
            document.undo();
        if (journal)
            journal->waitUntilDurable();
        state.ResumeTiming();
        const xom::MatchTally tally = document.replaceAll(search, QStringLiteral("_"));
        const auto returned = std::chrono::steady_clock::now();
        if (journal)
            journal->waitUntilDurable();
        afterMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - returned).count();
        if (tally.matches < Entries)
            state.SkipWithError("not every text was replaced");
    }
    state.counters["after_replace_all_ms"] = afterMs / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(editWithoutJournal)->Unit(benchmark::kMicrosecond);
BENCHMARK(editWithJournal)->Unit(benchmark::kMicrosecond);
BENCHMARK(replayOfADay)->Arg(100'000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(replaceAllUntilDurable)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
