// The text checks over a whole file: a million translated entries beside
// their references, every check on (the length limits too), and each check
// alone to see where the time goes. One iteration is the million.

#include "checks/TextChecks.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <random>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

constexpr int PairCount = 1'000'000;

struct Language {
    QString tag;
    QStringList words;
    QString fullStop;
};

const std::array<Language, 4>& languages()
{
    static const std::array<Language, 4> all{{
        {u"de"_s,
            {u"Spiel"_s, u"speichern"_s, u"laden"_s, u"die"_s, u"Tür"_s, u"öffnen"_s, u"Schwert"_s, u"Gold"_s,
                u"Händler"_s, u"kaufen"_s, u"verkaufen"_s, u"Quest"_s, u"abgeschlossen"_s, u"Stufe"_s},
            u"."_s},
        {u"fr"_s,
            {u"partie"_s, u"sauvegarder"_s, u"charger"_s, u"la"_s, u"porte"_s, u"ouvrir"_s, u"épée"_s, u"or"_s,
                u"marchand"_s, u"acheter"_s, u"vendre"_s, u"quête"_s, u"terminée"_s, u"niveau"_s},
            u"."_s},
        {u"ru"_s,
            {u"игру"_s, u"сохранить"_s, u"загрузить"_s, u"дверь"_s, u"открыть"_s, u"меч"_s, u"золото"_s, u"торговец"_s,
                u"купить"_s, u"продать"_s, u"задание"_s, u"выполнено"_s, u"уровень"_s},
            u"."_s},
        {u"ja"_s,
            {u"ゲーム"_s, u"を"_s, u"保存"_s, u"読み込み"_s, u"扉"_s, u"開く"_s, u"剣"_s, u"金"_s, u"商人"_s, u"買う"_s,
                u"売る"_s, u"クエスト"_s, u"完了"_s, u"レベル"_s},
            u"。"_s},
    }};
    return all;
}

const QStringList& englishWords()
{
    static const QStringList words{u"save"_s, u"the"_s, u"game"_s, u"load"_s, u"open"_s, u"door"_s, u"sword"_s,
        u"gold"_s, u"merchant"_s, u"buy"_s, u"sell"_s, u"quest"_s, u"completed"_s, u"level"_s, u"you"_s, u"have"_s,
        u"to"_s, u"with"_s};
    return words;
}

// All texts in one buffer, as a file's text pool keeps them; each pair is
// two views into it and the index of its language.
struct Pairs {
    QString buffer;
    std::vector<std::array<qsizetype, 4>> spans; // reference start, length, text start, length
    std::vector<int> language;
};

// A sentence of a few words with, now and then, what the checks look at:
// tags, a number, a placeholder, an address, and the punctuation that ends
// it; the translation mostly keeps them, and sometimes does not.
const Pairs& pairs()
{
    static const Pairs made = [] {
        Pairs out;
        std::mt19937 random(1209);
        const auto chance = [&random](const int percent) { return static_cast<int>(random() % 100) < percent; };
        const auto pick = [&random](const QStringList& list) { return list[random() % list.size()]; };
        const QStringList endings{u"."_s, u"."_s, u"."_s, u"!"_s, u"?"_s, u":"_s, u"…"_s, u""_s};
        out.spans.reserve(PairCount);
        out.language.reserve(PairCount);
        for (int i = 0; i < PairCount; ++i) {
            const int which = static_cast<int>(random() % languages().size());
            const Language& language = languages()[static_cast<std::size_t>(which)];
            const int wordCount = 2 + static_cast<int>(random() % 9);
            QStringList reference;
            QStringList text;
            for (int w = 0; w < wordCount; ++w) {
                reference += pick(englishWords());
                text += pick(language.words);
            }
            reference[0][0] = reference[0][0].toUpper();
            text[0][0] = text[0][0].toUpper();
            if (chance(20)) {
                const QString number = QString::number(random() % 5000);
                reference.insert(1, number);
                text.insert(1, chance(95) ? number : QString::number(random() % 5000));
            }
            if (chance(10)) {
                const QString placeholder = chance(50) ? u"%d"_s : u"{0}"_s;
                reference.append(placeholder);
                text.insert(1, placeholder);
            }
            if (chance(5)) {
                reference[0] = u"<b>"_s + reference[0] + u"</b>"_s;
                text[0] = (chance(95) ? u"<b>"_s : u"<i>"_s) + text[0] + u"</b>"_s;
            }
            if (chance(1)) {
                reference.append(u"www.example.com"_s);
                text.append(u"www.example.com"_s);
            }
            QString ending = pick(endings);
            QString referenceText = reference.join(u' ') + ending;
            if (ending == u".")
                ending = language.fullStop;
            QString translated = text.join(language.tag == u"ja" ? QString() : u" "_s) + ending;
            if (chance(1))
                translated.insert(translated.size() / 2, QChar(0x200B));
            if (chance(1))
                translated.insert(translated.indexOf(u' ') + 1, u' ');
            out.spans.push_back(
                {out.buffer.size(), referenceText.size(), out.buffer.size() + referenceText.size(), translated.size()});
            out.buffer += referenceText;
            out.buffer += translated;
            out.language.push_back(which);
        }
        return out;
    }();
    return made;
}

std::array<checks::TextCheckContext, 4> contextsFor(const checks::TextChecks enabled)
{
    std::array<checks::TextCheckContext, 4> contexts;
    for (std::size_t i = 0; i < contexts.size(); ++i) {
        contexts[i].targetLanguage = languages()[i].tag;
        contexts[i].enabled = enabled;
        contexts[i].maxCharacters = 80;
        contexts[i].maxPercentOfReference = 200;
    }
    return contexts;
}

void runChecks(benchmark::State& state, const checks::TextChecks enabled)
{
    const Pairs& all = pairs();
    const QStringView buffer = all.buffer;
    const auto contexts = contextsFor(enabled);
    for (auto _ : state) {
        std::uint64_t failing = 0;
        for (std::size_t i = 0; i < all.spans.size(); ++i) {
            const auto& [referenceStart, referenceLength, textStart, textLength] = all.spans[i];
            failing += checks::failingTextChecks(buffer.sliced(referenceStart, referenceLength),
                buffer.sliced(textStart, textLength), contexts[static_cast<std::size_t>(all.language[i])])
                           .bits();
        }
        benchmark::DoNotOptimize(failing);
    }
    state.SetItemsProcessed(state.iterations() * PairCount);
}

// The floor: each unit of both texts read once, as the profiles of the
// fast route read them.
void readEveryUnit(benchmark::State& state)
{
    const Pairs& all = pairs();
    const QStringView buffer = all.buffer;
    for (auto _ : state) {
        std::uint32_t seen = 0;
        for (const auto& [referenceStart, referenceLength, textStart, textLength] : all.spans) {
            for (const QChar c : buffer.sliced(referenceStart, referenceLength))
                seen |= c.unicode();
            for (const QChar c : buffer.sliced(textStart, textLength))
                seen |= c.unicode();
        }
        benchmark::DoNotOptimize(seen);
    }
    state.SetItemsProcessed(state.iterations() * PairCount);
}

void allChecks(benchmark::State& state)
{
    runChecks(state, checks::TextChecks::all());
}

void oneCheck(benchmark::State& state)
{
    const auto check = static_cast<checks::TextCheck>(state.range(0));
    state.SetLabel(checks::textCheckInfos()[static_cast<std::size_t>(state.range(0))].key.toString().toStdString());
    runChecks(state, check);
}

} // namespace

BENCHMARK(readEveryUnit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(allChecks)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(oneCheck)->DenseRange(0, checks::TextCheckCount - 1)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
