// The translation memory at a million units: filling it from a file and its
// reference, a suggestion for one entry, a concordance search, and the
// database's size against its texts.
#include "memory/PreTranslation.h"
#include "memory/Similarity.h"
#include "memory/TranslationMemory.h"

#include "document/Document.h"

#include "support/RandomEntries.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr int Units = 1'000'000;

// Game texts by a vocabulary that is skewed as languages are (a word's
// frequency falls with its rank, so that the hundred commonest words make
// half of a text): 20,000 made-up words, texts of 2 to 14 of them, now and
// then a number or a placeholder.
class GameTexts {
public:
    GameTexts()
    {
        const char* const syllables[] = {"ka", "ri", "to", "men", "sa", "lo", "ven", "dar", "ith", "ul", "pe", "gro",
            "sha", "tor", "mi", "nex", "qua", "bel", "fi", "zon"};
        // Each rank its own word: the rank's digits in base 20, a syllable
        // each, so that the commonest words are the shortest.
        for (int w = 0; w < 20'000; ++w) {
            QString word;
            for (int rest = w + 1; rest > 0; rest /= 20)
                word += QLatin1String(syllables[rest % 20]);
            m_words.push_back(word);
        }
        // Cumulative Zipf weights, for drawing a word by its rank.
        double total = 0;
        for (int w = 1; w <= static_cast<int>(m_words.size()); ++w) {
            total += 1.0 / w;
            m_cumulative.push_back(total);
        }
    }

    QString text(std::mt19937& random) const
    {
        const int count = 2 + static_cast<int>(random() % 13);
        QString text;
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += u' ';
            const auto roll = random() % 40;
            if (roll == 0)
                text += QString::number(random() % 1000);
            else if (roll == 1)
                text += QStringLiteral("%s");
            else
                text += word(random);
        }
        return text + (random() % 3 == 0 ? QStringLiteral(".") : QString());
    }

    const QString& word(std::mt19937& random) const
    {
        const double at = std::uniform_real_distribution<double>(0, m_cumulative.back())(random);
        const auto rank = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), at) - m_cumulative.begin();
        return m_words[static_cast<std::size_t>(rank)];
    }

private:
    std::vector<QString> m_words;
    std::vector<double> m_cumulative;
};

const GameTexts& gameTexts()
{
    static const GameTexts texts;
    return texts;
}

// A translation of a text: each word turned another way.
QString translated(const QString& text)
{
    QString target = text;
    std::reverse(target.begin(), target.end());
    return QStringLiteral("de ") + target;
}

std::vector<memory::MemoryUnit> millionUnits()
{
    std::mt19937 random(11);
    std::vector<memory::MemoryUnit> units;
    units.reserve(Units);
    const QDateTime when(QDate(2026, 12, 1), QTime(12, 0), Qt::UTC);
    for (int i = 0; i < Units; ++i) {
        QString source = gameTexts().text(random);
        QString target = translated(source);
        units.push_back({QStringLiteral("en"), QStringLiteral("de"), std::move(source), std::move(target),
            QStringLiteral("lang_de.xom"), QStringLiteral("FE.Str%1").arg(i), when, i % 4 == 0});
    }
    return units;
}

QTemporaryDir& folder()
{
    static QTemporaryDir made;
    return made;
}

const std::vector<memory::MemoryUnit>& keptUnits()
{
    static const std::vector<memory::MemoryUnit> units = millionUnits();
    return units;
}

// The filled memory, made once for the lookups; LUDRA_BENCH_MEMORY names a
// file to keep it in from run to run, while the lookups are worked on.
memory::TranslationMemory& filledMemory()
{
    static memory::TranslationMemory* const memory = [] {
        const QString kept = qEnvironmentVariable("LUDRA_BENCH_MEMORY");
        const bool filled = !kept.isEmpty() && QFileInfo::exists(kept);
        auto* made = new memory::TranslationMemory(
            kept.isEmpty() ? folder().filePath(QStringLiteral("filled.ludra-tm")) : kept);
        if (!filled)
            made->add(keptUnits());
        return made;
    }();
    return *memory;
}

void addMillionUnits(benchmark::State& state)
{
    const std::vector<memory::MemoryUnit>& units = keptUnits();
    qint64 textBytes = 0;
    for (const memory::MemoryUnit& unit : units)
        textBytes += unit.source.toUtf8().size() + unit.target.toUtf8().size();
    int run = 0;
    for (auto _ : state) {
        const QString path = folder().filePath(QStringLiteral("added%1.ludra-tm").arg(run++));
        memory::TranslationMemory memory(path);
        memory.add(units);
        state.PauseTiming();
        const qint64 size = QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
        state.counters["db_MiB"] = static_cast<double>(size) / (1 << 20);
        state.counters["texts_MiB"] = static_cast<double>(textBytes) / (1 << 20);
        state.counters["ratio"] = static_cast<double>(size) / static_cast<double>(textBytes);
        state.ResumeTiming();
    }
}

// Times each lookup on its own and reports the median, which the target is
// set on, beside the mean Google Benchmark gives.
template <typename Lookup> void timeLookups(benchmark::State& state, Lookup lookup)
{
    std::vector<double> times;
    std::mt19937 random(23);
    std::size_t found = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        found += lookup(random);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["max_ms"] = times.back();
    state.counters["found_per_lookup"] = static_cast<double>(found) / static_cast<double>(times.size());
}

void suggestionsForOneEntry(benchmark::State& state)
{
    memory::TranslationMemory& memory = filledMemory();
    (void)keptUnits(); // made before the first lookup is timed
    memory::WordSplitter splitter;
    // How often the unit a text was made from is offered when it scores
    // 70 or more (it may tie with others beyond the five offered).
    int expected = 0;
    int offered = 0;
    timeLookups(state, [&](std::mt19937& random) {
        // A kept source with one word changed, as a new version of the
        // game changes its texts.
        const QString& original = keptUnits()[random() % Units].source;
        QStringList words = original.split(u' ');
        words[static_cast<qsizetype>(random() % static_cast<unsigned>(words.size()))] = gameTexts().word(random);
        const QString source = words.join(u' ');
        const std::vector<memory::MemoryMatch> found
            = memory.suggestions({QStringLiteral("en"), QStringLiteral("de")}, source);
        state.PauseTiming();
        if (memory::similarity(source, original, splitter) >= 70) {
            ++expected;
            offered += std::any_of(found.begin(), found.end(),
                [&](const memory::MemoryMatch& match) { return match.unit.source == original; });
        }
        state.ResumeTiming();
        return found.size();
    });
    state.counters["original_offered"] = expected > 0 ? static_cast<double>(offered) / expected : 1.0;
}

// The best match alone, as pre-translation asks for each entry: for a new
// text half the time, for a kept text with one word changed the other half.
void bestMatchForOneEntry(benchmark::State& state)
{
    memory::TranslationMemory& memory = filledMemory();
    (void)keptUnits();
    timeLookups(state, [&](std::mt19937& random) {
        QString source = gameTexts().text(random);
        if (random() % 2 == 0) {
            QStringList words = keptUnits()[random() % Units].source.split(u' ');
            words[static_cast<qsizetype>(random() % static_cast<unsigned>(words.size()))] = gameTexts().word(random);
            source = words.join(u' ');
        }
        return memory.suggestions({QStringLiteral("en"), QStringLiteral("de")}, source, 1, 75).size();
    });
}

void concordanceSearch(benchmark::State& state)
{
    memory::TranslationMemory& memory = filledMemory();
    timeLookups(state, [&](std::mt19937& random) {
        const QString phrase = gameTexts().word(random) + u' ' + gameTexts().word(random);
        return memory.concordance({QStringLiteral("en"), QStringLiteral("de")}, phrase).size();
    });
}

// A new version of a file of 100,000 entries, every one untranslated: a
// third kept as they were (an exact match waits), a third with one word
// changed (a near one may), a third new.
void preTranslateHundredThousand(benchmark::State& state)
{
    constexpr int Entries = 100'000;
    memory::TranslationMemory& memory = filledMemory();
    std::mt19937 random(31);
    xom::EntryTable reference;
    for (int row = 0; row < Entries; ++row) {
        QString text = keptUnits()[random() % Units].source;
        if (row % 3 == 1) {
            QStringList words = text.split(u' ');
            words[static_cast<qsizetype>(random() % static_cast<unsigned>(words.size()))] = gameTexts().word(random);
            text = words.join(u' ');
        } else if (row % 3 == 2) {
            text = gameTexts().text(random);
        }
        reference.append({QString(), QString::number(row + 1), QStringLiteral("FE.Str%1").arg(row), text});
    }
    memory::PreTranslateResult result;
    for (auto _ : state) {
        state.PauseTiming();
        document::Document document(document::Document::History::NotKept);
        document.open(xom::LoadedFile{testsupport::modelForEntries(reference), reference, std::nullopt},
            QStringLiteral("lang_de.xom"));
        document.openReference(reference, QStringLiteral("lang_en.xom"));
        state.ResumeTiming();
        result = memory::preTranslate(document, memory, {QStringLiteral("en"), QStringLiteral("de")}, {});
    }
    state.counters["exact"] = result.exact;
    state.counters["near"] = result.nearMatches;
    state.counters["none"] = result.noMatch;
}

} // namespace

BENCHMARK(addMillionUnits)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(suggestionsForOneEntry)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(bestMatchForOneEntry)->Iterations(400)->Unit(benchmark::kMillisecond);
BENCHMARK(concordanceSearch)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(preTranslateHundredThousand)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
