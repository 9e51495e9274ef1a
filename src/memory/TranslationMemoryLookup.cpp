// The memory's lookups: the units nearly alike a source (suggestions, and
// the best one for pre-translation), the units holding a phrase
// (concordance), and the read transaction many lookups share.
#include "memory/TranslationMemory.h"

#include "memory/MemoryRows.h"
#include "memory/Similarity.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace memory {

using namespace rows;

namespace {

// The most candidates the similarity scores for a lookup: enough for five
// good matches among near misses, and for the best one alone (as
// pre-translation asks, entry after entry) far fewer, the likeliest first.
constexpr int CandidatesForSeveral = 200;
constexpr int CandidatesForOne = 20;

// A word this few units hold is rare enough to read its units only to rank
// the candidates better.
constexpr std::int64_t RareWord = 5'000;
// The most units the index gives for one query's candidates: ten times as
// many as the candidates scored, for five matches or for the best one.
constexpr int RowsPerCandidate = 100;

} // namespace

std::vector<TranslationMemory::CountedWord> TranslationMemory::wordsByRarity(const std::vector<Token>& tokens)
{
    std::set<QString> distinct;
    for (const Token& token : tokens) {
        if (token.kind == TokenKind::Word)
            distinct.insert(token.normal);
    }
    SqliteStatement& frequency = m_db->cached("SELECT units FROM source_words WHERE word = ?1");
    std::vector<CountedWord> words;
    for (const QString& word : distinct) {
        // Within a read transaction the counts cannot change: each word is
        // asked for once.
        if (m_readingTogether) {
            if (const auto known = m_unitsOfWord.constFind(word); known != m_unitsOfWord.cend()) {
                words.push_back({word, known.value()});
                continue;
            }
        }
        frequency.bind(1, word.toUtf8());
        const std::int64_t units = frequency.step() ? frequency.integer(0) : 0;
        frequency.reset();
        if (m_readingTogether)
            m_unitsOfWord.insert(word, units);
        words.push_back({word, units});
    }
    std::sort(words.begin(), words.end(), [](const CountedWord& a, const CountedWord& b) {
        return std::tie(a.units, a.word) < std::tie(b.units, b.word);
    });
    return words;
}

std::vector<std::int64_t> TranslationMemory::candidates(
    const std::vector<CountedWord>& words, const int mayLack, const int limit)
{
    std::vector<std::int64_t> found;
    if (words.empty())
        return found;
    if (mayLack == 0) {
        // A match holds every word: few units to check, newest first.
        QStringList terms;
        for (const CountedWord& word : words)
            terms << quotedTerm(word.word);
        SqliteStatement& query
            = m_db->cached("SELECT rowid FROM unit_words WHERE unit_words MATCH ?1 ORDER BY rowid DESC LIMIT ?2");
        query.bind(1, (QStringLiteral("source : (") + terms.join(QStringLiteral(" AND ")) + u')').toUtf8());
        query.bind(2, limit);
        while (query.step())
            found.push_back(query.integer(0));
        return found;
    }
    // A match holds one of the mayLack + 1 rarest words. Each word's units
    // are read from the index newest first (no ranking by the index, which
    // would read every unit's sizes) and weighed by how rare the word is;
    // up to two more words that are rare too tell apart the units that hold
    // only one. The reading stops at RowsPerCandidate a candidate, which
    // only queries of the commonest words reach, and whose matches are then
    // many anyway.
    std::size_t asked = std::min(words.size(), static_cast<std::size_t>(mayLack) + 1);
    while (asked < words.size() && asked < static_cast<std::size_t>(mayLack) + 3 && words[asked].units <= RareWord)
        ++asked;
    int budget = RowsPerCandidate * limit;
    // Each unit read, once for each word it holds; summed per unit below
    // (a sort and one pass, cheaper than a hash map's node per unit).
    std::vector<std::pair<std::int64_t, double>> reads;
    SqliteStatement& query
        = m_db->cached("SELECT rowid FROM unit_words WHERE unit_words MATCH ?1 ORDER BY rowid DESC LIMIT ?2");
    for (std::size_t i = 0; i < asked && budget > 0; ++i) {
        const double rarity = 1.0 / std::log2(2.0 + static_cast<double>(words[i].units));
        query.bind(1, (QStringLiteral("source : ") + quotedTerm(words[i].word)).toUtf8());
        query.bind(2, budget);
        while (query.step()) {
            reads.emplace_back(query.integer(0), rarity);
            --budget;
        }
        query.reset();
    }
    std::sort(reads.begin(), reads.end());
    std::vector<std::pair<double, std::int64_t>> ranked;
    for (std::size_t at = 0; at < reads.size();) {
        const std::int64_t id = reads[at].first;
        double held = 0;
        for (; at < reads.size() && reads[at].first == id; ++at)
            held += reads[at].second;
        ranked.emplace_back(held, id);
    }
    const auto best
        = ranked.begin()
        + static_cast<std::ptrdiff_t>(std::min<std::size_t>(ranked.size(), static_cast<std::size_t>(limit)));
    // The limit heaviest, then those in order: cheaper than a partial sort
    // when many units were read.
    std::nth_element(ranked.begin(), best, ranked.end(), std::greater<>());
    std::sort(ranked.begin(), best, std::greater<>());
    for (auto at = ranked.begin(); at != best; ++at)
        found.push_back(at->second);
    return found;
}

std::vector<MemoryMatch> TranslationMemory::suggestions(
    const LanguagePair& languages, const QStringView source, const int count, const int minScore)
{
    std::vector<MemoryMatch> matches;
    const std::int64_t sourceId = knownLanguageId(normalLanguageTag(languages.source));
    const std::int64_t targetId = knownLanguageId(normalLanguageTag(languages.target));
    if (sourceId < 0 || targetId < 0 || count <= 0)
        return matches;

    // The same source, found by its key.
    SqliteStatement& exact = m_db->cached(QByteArray(UnitColumns)
                                              .append("WHERE u.source_key = ?1 AND u.source_language = ?2 "
                                                      "AND u.target_language = ?3"));
    exact.bind(1, sourceKey(source));
    exact.bind(2, sourceId);
    exact.bind(3, targetId);
    while (exact.step()) {
        MemoryUnit unit = unitAt(exact);
        if (unit.source == source)
            matches.push_back({std::move(unit), 100});
    }

    // The same source is the best there is: enough of it ends the lookup.
    if (matches.size() >= static_cast<std::size_t>(count)) {
        matches.resize(static_cast<std::size_t>(count));
        return matches;
    }

    // Sources nearly alike: the units that hold enough of the query's words
    // to reach minScore, scored by their sources alone; the units of those
    // that reach it are read whole.
    const std::vector<Token> tokens = m_splitter.tokensOf(source);
    const int mayLack = tokensAMatchMayLack(static_cast<int>(tokens.size()), minScore);
    const int limit = count == 1 ? CandidatesForOne : CandidatesForSeveral;
    SqliteStatement& sourceById = m_db->cached(
        "SELECT source, source_units FROM units WHERE id = ?1 AND source_language = ?2 AND target_language = ?3");
    SqliteStatement& unitById = m_db->cached(
        QByteArray(UnitColumns).append("WHERE u.id = ?1 AND u.source_language = ?2 AND u.target_language = ?3"));
    for (const std::int64_t id : candidates(wordsByRarity(tokens), mayLack, limit)) {
        sourceById.bind(1, id);
        sourceById.bind(2, sourceId);
        sourceById.bind(3, targetId);
        const bool inPair = sourceById.step();
        const QString candidate = inPair ? textAt(sourceById, 0, 1) : QString();
        sourceById.reset();
        if (!inPair || candidate == source)
            continue;
        const int score = similarity(tokens, m_splitter.tokensOf(candidate));
        if (score < minScore)
            continue;
        unitById.bind(1, id);
        unitById.bind(2, sourceId);
        unitById.bind(3, targetId);
        if (unitById.step())
            matches.push_back({unitAt(unitById), score});
        unitById.reset();
    }
    std::stable_sort(matches.begin(), matches.end(), [](const MemoryMatch& a, const MemoryMatch& b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (a.unit.approved != b.unit.approved)
            return a.unit.approved;
        return a.unit.changed > b.unit.changed;
    });
    if (matches.size() > static_cast<std::size_t>(count))
        matches.resize(static_cast<std::size_t>(count));
    return matches;
}

std::vector<MemoryUnit> TranslationMemory::concordance(
    const LanguagePair& languages, const QStringView phrase, const int limit)
{
    std::vector<MemoryUnit> found;
    const std::int64_t sourceId = knownLanguageId(normalLanguageTag(languages.source));
    const std::int64_t targetId = knownLanguageId(normalLanguageTag(languages.target));
    // A phrase of no word (only punctuation or space) finds nothing.
    const std::vector<Token> tokens = m_splitter.tokensOf(phrase);
    const bool hasWords = std::any_of(
        tokens.begin(), tokens.end(), [](const Token& token) { return token.kind != TokenKind::Punctuation; });
    if (sourceId < 0 || targetId < 0 || !hasWords || limit <= 0)
        return found;
    SqliteStatement query
        = m_db->prepare(QByteArray(UnitColumns)
                            .append("JOIN unit_words ON unit_words.rowid = u.id WHERE unit_words MATCH ?1 AND "
                                    "u.source_language = ?2 AND u.target_language = ?3 "
                                    "ORDER BY unit_words.rank LIMIT ?4")
                            .constData());
    // The phrase as one FTS5 string: the tokenizer splits it as it split
    // the texts, and the words must follow one another.
    query.bind(1, quotedTerm(phrase.toString()).toUtf8());
    query.bind(2, sourceId);
    query.bind(3, targetId);
    query.bind(4, limit);
    while (query.step())
        found.push_back(unitAt(query));
    return found;
}

TranslationMemory::ReadingTogether::ReadingTogether(TranslationMemory& memory)
    : m_memory(memory)
{
    m_memory.m_db->execute("BEGIN");
    m_memory.m_readingTogether = true;
}

TranslationMemory::ReadingTogether::~ReadingTogether()
{
    m_memory.m_readingTogether = false;
    m_memory.m_unitsOfWord.clear();
    // Nothing was written: ending the transaction only lets the lock go.
    m_memory.m_db->rollBack();
}

} // namespace memory
