// Spelling: the misspelt words of a document of 100,000 English entries
// against Debian's en-US dictionary, from a checker just loaded (its cache
// of words judged empty); loading the dictionary; corrections for one word.
#include "spelling/MisspeltWords.h"
#include "spelling/SpellChecker.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr int Entries = 100'000;

const spelling::Dictionary EnglishUs{QStringLiteral("en-US"), QStringLiteral(LUDRA_HUNSPELL_DIR "/en_US.aff"),
    QStringLiteral(LUDRA_HUNSPELL_DIR "/en_US.dic")};

bool haveDictionary(benchmark::State& state)
{
    if (QFileInfo::exists(EnglishUs.affPath) && QFileInfo::exists(EnglishUs.dicPath))
        return true;
    state.SkipWithError("needs the package hunspell-en-us");
    return false;
}

// Game texts in English: the commonest words of game texts most of the
// time (a word's frequency falling with its rank), and otherwise any word
// of the dictionary, so that a document asks about tens of thousands of
// different words; now and then a misspelling (two letters swapped), a
// name of the game's that the reference holds too, a number, a
// placeholder or a tag.
class EnglishGameTexts {
public:
    EnglishGameTexts()
    {
        m_common = QStringLiteral(
            "the you to a of and your is in it for this on be with can not are will have that all "
            "game save load press continue new level player item items health damage attack enemy enemies quest "
            "gold coins sword shield armor weapon skill skills points upgrade unlock unlocked map world inventory "
            "select back options settings sound music volume controls language quit exit resume pause start "
            "mission complete failed reward rewards time left remaining character characters hero friends online "
            "server connection lost error try again later are you sure want delete file slot empty found open "
            "close door key chest find talk return village castle forest cave dragon magic spell potion heal "
            "defeat boss battle victory defeat score high best round wave survive collect gems crystal energy "
            "buy sell shop price not enough equip equipped use used speed jump run walk crouch aim fire reload")
                       .split(u' ');
        QFile dic(EnglishUs.dicPath);
        if (dic.open(QIODevice::ReadOnly)) {
            dic.readLine();
            while (!dic.atEnd()) {
                const QString line = QString::fromUtf8(dic.readLine()).trimmed();
                const QString word = line.section(u'/', 0, 0);
                if (!word.isEmpty() && !word.front().isUpper())
                    m_rare.push_back(word);
            }
        }
        if (m_rare.empty())
            m_rare.push_back(QStringLiteral("word"));
        m_names = {QStringLiteral("Zorvek"), QStringLiteral("Qarth-Ulun"), QStringLiteral("Ilvaris"),
            QStringLiteral("Drakmoor"), QStringLiteral("Yenthari")};
    }

    // A text and its reference, which holds the text's names.
    spelling::TextAndReference entry(std::mt19937& random) const
    {
        const int count = 2 + static_cast<int>(random() % 13);
        QString text;
        QString reference = QStringLiteral("Referenztext");
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += u' ';
            const auto roll = random() % 100;
            if (roll < 2) {
                const QString& name = m_names[random() % m_names.size()];
                text += name;
                reference += u' ' + name;
            } else if (roll < 4) {
                text += QString::number(random() % 1000);
            } else if (roll < 5) {
                text += QStringLiteral("{0}");
            } else if (roll < 6) {
                text += QStringLiteral("<color=#ffcc00>") + common(random) + QStringLiteral("</color>");
            } else if (roll < 8) {
                text += misspelt(m_rare[random() % m_rare.size()], random);
            } else if (roll < 30) {
                text += m_rare[random() % m_rare.size()];
            } else {
                text += common(random);
            }
        }
        return {text + (random() % 3 == 0 ? QStringLiteral(".") : QString()), reference};
    }

private:
    const QString& common(std::mt19937& random) const
    {
        // Zipf: rank r with a weight 1/r, drawn by inverting the harmonic
        // sums' approximation ln r.
        const double at = std::uniform_real_distribution<double>(0, std::log(m_common.size()))(random);
        const auto rank = std::min<qsizetype>(static_cast<qsizetype>(std::exp(at)) - 1, m_common.size() - 1);
        return m_common[std::max<qsizetype>(rank, 0)];
    }

    static QString misspelt(QString word, std::mt19937& random)
    {
        if (word.size() >= 4) {
            const qsizetype at = 1 + static_cast<qsizetype>(random() % static_cast<unsigned>(word.size() - 2));
            std::swap(word[at], word[at + 1]);
        }
        return word;
    }

    QStringList m_common;
    std::vector<QString> m_rare;
    std::vector<QString> m_names;
};

const std::vector<spelling::TextAndReference>& englishDocument()
{
    static const std::vector<spelling::TextAndReference> entries = [] {
        const EnglishGameTexts texts;
        std::mt19937 random(7);
        std::vector<spelling::TextAndReference> made;
        made.reserve(Entries);
        for (int i = 0; i < Entries; ++i)
            made.push_back(texts.entry(random));
        return made;
    }();
    return entries;
}

void checkHundredThousandEntries(benchmark::State& state)
{
    if (!haveDictionary(state))
        return;
    const std::vector<spelling::TextAndReference>& entries = englishDocument();
    QTemporaryDir folder;
    std::size_t flagged = 0;
    for (auto _ : state) {
        state.PauseTiming();
        spelling::SpellChecker checker(EnglishUs, folder.filePath(QStringLiteral("en-US.dic")));
        state.ResumeTiming();
        const auto found = spelling::unknownWordsOf(entries, checker);
        flagged = 0;
        for (const auto& words : found)
            flagged += words.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["flagged"] = static_cast<double>(flagged);
    state.counters["entries"] = Entries;
}

void loadEnglishDictionary(benchmark::State& state)
{
    if (!haveDictionary(state))
        return;
    QTemporaryDir folder;
    for (auto _ : state) {
        spelling::SpellChecker checker(EnglishUs, folder.filePath(QStringLiteral("en-US.dic")));
        benchmark::DoNotOptimize(&checker);
    }
}

void suggestionsForOneWord(benchmark::State& state)
{
    if (!haveDictionary(state))
        return;
    QTemporaryDir folder;
    spelling::SpellChecker checker(EnglishUs, folder.filePath(QStringLiteral("en-US.dic")));
    for (auto _ : state)
        benchmark::DoNotOptimize(checker.suggestions(QStringLiteral("recieve")));
}

} // namespace

BENCHMARK(checkHundredThousandEntries)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(loadEnglishDictionary)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(suggestionsForOneWord)->Iterations(50)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
