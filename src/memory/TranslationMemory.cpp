#include "memory/TranslationMemory.h"

#include "memory/Similarity.h"
#include "memory/WordTokenizer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace memory {

namespace {

// "LUDT" in the database header: a file of this editor's memory.
constexpr std::int64_t ApplicationId = 0x4C554454;

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

// Adds of more units than this take the log into the database at once.
constexpr int LargeAdd = 10'000;

const char* const UnitColumns = "SELECT sl.tag, tl.tag, u.source, u.target, u.source_units, u.target_units, "
                                "u.origin, u.entry, u.changed, u.approved FROM units u "
                                "JOIN languages sl ON sl.id = u.source_language "
                                "JOIN languages tl ON tl.id = u.target_language ";

// FNV-1a over the code units: the same hash on every machine and in every
// version, unlike qHash, so the database can keep it.
std::int64_t sourceKey(const QStringView text)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 0x100000001b3u;
    }
    return static_cast<std::int64_t>(hash);
}

bool hasLoneSurrogate(const QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

// The code units of a text UTF-8 cannot hold, little-endian.
QByteArray unitsOf(const QString& text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}

QString textFromUnits(const QByteArray& bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    return text;
}

void bindText(
    SqliteStatement& statement, const int textIndex, const int unitsIndex, const QString& text, const QByteArray& utf8)
{
    statement.bind(textIndex, utf8);
    if (hasLoneSurrogate(text))
        statement.bindBlob(unitsIndex, unitsOf(text));
    else
        statement.bindNull(unitsIndex);
}

QString textAt(const SqliteStatement& statement, const int textColumn, const int unitsColumn)
{
    if (!statement.isNull(unitsColumn))
        return textFromUnits(statement.bytes(unitsColumn));
    return QString::fromUtf8(statement.bytes(textColumn));
}

// A row of UnitColumns as a unit.
MemoryUnit unitAt(const SqliteStatement& row)
{
    MemoryUnit unit;
    unit.sourceLanguage = QString::fromUtf8(row.bytes(0));
    unit.targetLanguage = QString::fromUtf8(row.bytes(1));
    unit.source = textAt(row, 2, 4);
    unit.target = textAt(row, 3, 5);
    unit.origin = QString::fromUtf8(row.bytes(6));
    unit.entryName = QString::fromUtf8(row.bytes(7));
    if (!row.isNull(8))
        unit.changed = QDateTime::fromSecsSinceEpoch(row.integer(8), Qt::UTC);
    unit.approved = row.integer(9) != 0;
    return unit;
}

// A word as an FTS5 query names it: in double quotes, its own doubled.
QString quotedTerm(const QString& word)
{
    QString quoted = word;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

TranslationMemory::TranslationMemory(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_db = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Access::ReadWrite);
    openOrMake();
}

TranslationMemory::~TranslationMemory() = default;

QString TranslationMemory::defaultPath()
{
    // One memory for the editor and ludra-lang, whatever each is named.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
         + QStringLiteral("/ludra-language-editor/translation-memory.ludra-tm");
}

void TranslationMemory::openOrMake()
{
    registerWordTokenizer(*m_db, &m_splitAhead);
    // The write-ahead log keeps the memory whole whatever happens; a crash
    // or power loss may lose only the last adds, which the next save adds
    // again.
    m_db->execute("PRAGMA synchronous = NORMAL; PRAGMA cache_size = -65536");
    // The first read of the header: a file that is no database fails here.
    const std::int64_t application = m_db->integer("PRAGMA application_id");
    const std::int64_t version = m_db->integer("PRAGMA user_version");
    if (application == 0 && version == 0 && m_db->integer("SELECT count(*) FROM sqlite_master") == 0) {
        makeTables();
        return;
    }
    if (application != ApplicationId)
        m_db->fail(QStringLiteral("it is no translation memory of this editor"));
    if (version > SchemaVersion) {
        m_readOnlyReason = QStringLiteral("The translation memory %1 was made by a newer version of the editor; "
                                          "its units are offered, but no new ones are added.")
                               .arg(m_db->path());
        const QString path = m_db->path();
        m_db = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Access::ReadOnly);
        registerWordTokenizer(*m_db, &m_splitAhead);
    } else if (version < 1) {
        m_db->fail(QStringLiteral("its tables are of no known version"));
    }
    // Every table this version reads must be there.
    if (m_db->integer("SELECT count(*) FROM sqlite_master WHERE name IN ('units', 'languages', 'unit_words', "
                      "'source_words')")
        != 4)
        m_db->fail(QStringLiteral("its tables are missing"));
}

void TranslationMemory::makeTables()
{
    m_db->execute("PRAGMA journal_mode = WAL");
    m_db->execute("BEGIN IMMEDIATE");
    m_db->execute("CREATE TABLE languages(id INTEGER PRIMARY KEY, tag TEXT NOT NULL UNIQUE);"
                  "CREATE TABLE units(id INTEGER PRIMARY KEY,"
                  " source_language INTEGER NOT NULL REFERENCES languages(id),"
                  " target_language INTEGER NOT NULL REFERENCES languages(id),"
                  " source_key INTEGER NOT NULL, source TEXT NOT NULL, target TEXT NOT NULL,"
                  " source_units BLOB, target_units BLOB, origin TEXT NOT NULL, entry TEXT NOT NULL,"
                  " changed INTEGER, approved INTEGER NOT NULL);"
                  "CREATE INDEX units_by_source ON units(source_key, source_language, target_language);"
                  "CREATE VIRTUAL TABLE unit_words USING fts5(source, target, content='units', "
                  "content_rowid='id', tokenize='ludra_words');"
                  // A large add merges fewer, larger segments of the index.
                  "INSERT INTO unit_words(unit_words, rank) VALUES ('hashsize', 67108864);"
                  "CREATE TABLE source_words(word TEXT PRIMARY KEY, units INTEGER NOT NULL) WITHOUT ROWID;");
    m_db->execute(QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2")
                      .arg(ApplicationId)
                      .arg(SchemaVersion)
                      .toUtf8()
                      .constData());
    m_db->execute("COMMIT");
}

std::int64_t TranslationMemory::languageId(const QString& tag)
{
    const auto known = m_languageIds.constFind(tag);
    if (known != m_languageIds.constEnd())
        return *known;
    SqliteStatement insert = m_db->prepare("INSERT OR IGNORE INTO languages(tag) VALUES (?1)");
    insert.bind(1, tag.toUtf8());
    insert.run();
    const std::int64_t id = knownLanguageId(tag);
    m_languageIds.insert(tag, id);
    return id;
}

std::int64_t TranslationMemory::knownLanguageId(const QString& tag)
{
    SqliteStatement& query = m_db->cached("SELECT id FROM languages WHERE tag = ?1");
    query.bind(1, tag.toUtf8());
    const std::int64_t id = query.step() ? query.integer(0) : -1;
    // A kept statement left on its row would hold a read open, and the
    // checkpoint after a large add would find the database locked.
    query.reset();
    return id;
}

// A hash of a unit's languages and texts, to find the units of an add
// that may be the same without comparing every pair: units of different
// fingerprints differ, and those of one are compared text by text.
std::uint64_t fingerprint(
    const std::int64_t sourceId, const std::int64_t targetId, const QStringView source, const QStringView target)
{
    std::uint64_t hash = static_cast<std::uint64_t>(sourceKey(source));
    for (const std::uint64_t part : {static_cast<std::uint64_t>(sourceId), static_cast<std::uint64_t>(targetId),
             static_cast<std::uint64_t>(source.size()), static_cast<std::uint64_t>(sourceKey(target))}) {
        hash ^= part;
        hash *= 0x100000001b3u;
    }
    return hash;
}

// How many units hold each word, counted for millions of words: an open
// addressing table of the words' hashes beside the words and counts in one
// array. A lookup reads a slot and, when the hash is the same, one word;
// the node-based maps read several scattered nodes, each a cache miss
// while the index fills the caches.
class WordCounts {
public:
    void addOne(const std::string_view word)
    {
        if ((m_counted.size() + 1) * 2 > m_slots.size())
            grow();
        const std::uint64_t hash = std::hash<std::string_view>{}(word);
        for (std::size_t at = hash & (m_slots.size() - 1);; at = (at + 1) & (m_slots.size() - 1)) {
            Slot& slot = m_slots[at];
            if (slot.word == Free) {
                slot = {hash, static_cast<std::uint32_t>(m_counted.size())};
                m_counted.push_back({std::string(word), 1});
                return;
            }
            if (slot.hash == hash && m_counted[slot.word].word == word) {
                ++m_counted[slot.word].units;
                return;
            }
        }
    }

    struct Counted {
        std::string word;
        std::int64_t units = 0;
    };
    [[nodiscard]] const std::vector<Counted>& counted() const noexcept { return m_counted; }

private:
    static constexpr std::uint32_t Free = 0xFFFFFFFF;
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t word = Free;
    };

    // Twice the slots, each word put again by its hash: at most half the
    // slots are taken, so runs of taken slots stay short.
    void grow()
    {
        std::vector<Slot> larger(std::max<std::size_t>(1024, m_slots.size() * 2));
        for (const Slot& slot : m_slots) {
            if (slot.word == Free)
                continue;
            std::size_t at = slot.hash & (larger.size() - 1);
            while (larger[at].word != Free)
                at = (at + 1) & (larger.size() - 1);
            larger[at] = slot;
        }
        m_slots = std::move(larger);
    }

    std::vector<Slot> m_slots;
    std::vector<Counted> m_counted;
};

struct TranslationMemory::Adding {
    explicit Adding(SqliteDatabase& db)
        : find(db.prepare("SELECT id, source, target, source_units, target_units, approved FROM units "
                          "WHERE source_key = ?1 AND source_language = ?2 AND target_language = ?3"))
        , update(db.prepare("UPDATE units SET origin = ?2, entry = ?3, changed = ?4, approved = ?5 WHERE id = ?1"))
        , insert(db.prepare("INSERT INTO units(source_language, target_language, source_key, source, target, "
                            "source_units, target_units, origin, entry, changed, approved) "
                            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"))
        , index(db.prepare("INSERT INTO unit_words(rowid, source, target) VALUES (?1, ?2, ?3)"))
        , wasEmpty(db.integer("SELECT NOT EXISTS (SELECT 1 FROM units)") != 0)
    {
    }

    SqliteStatement find;
    SqliteStatement update;
    SqliteStatement insert;
    SqliteStatement index;
    // Into a memory that had no unit, a unit kept is one this add added
    // before: for each unit, the index of its first occurrence in the add,
    // and for that, the unit kept. So no unit asks the database.
    const bool wasEmpty;
    std::vector<std::size_t> firstOccurrence;
    std::vector<KeptUnit> keptAt;
    // Language ids by the tags as units write them, which are few: each is
    // put in normal form once.
    QHash<QString, std::int64_t> languageIds;
    // How many new units hold each source word (UTF-8), written at the end.
    WordCounts newWords;
    // The distinct words of one source, reused from source to source.
    std::vector<QByteArrayView> sourceWords;
};

AddedUnits TranslationMemory::add(const std::vector<MemoryUnit>& units)
{
    if (isReadOnly())
        throw MemoryError(m_readOnlyReason);
    AddedUnits counts;
    m_db->execute("BEGIN IMMEDIATE");
    try {
        Adding adding(*m_db);
        if (adding.wasEmpty)
            findRepeats(adding, units);
        for (std::size_t i = 0; i < units.size(); ++i)
            addUnit(adding, units, i, counts);
        writeWordCounts(adding);
        m_db->execute("COMMIT");
    } catch (...) {
        m_splitAhead.clear();
        m_db->rollBack();
        m_languageIds.clear();
        throw;
    }
    m_splitAhead.clear();
    // A large add leaves a log as large as what it wrote: it goes into the
    // database now, and the log back to nothing.
    if (counts.added > LargeAdd)
        m_db->execute("PRAGMA wal_checkpoint(TRUNCATE)");
    return counts;
}

void TranslationMemory::findRepeats(Adding& adding, const std::vector<MemoryUnit>& units)
{
    // The units by fingerprint, then by their order: the first of a run of
    // equal units is the one added, the others update it.
    std::vector<std::pair<std::uint64_t, std::size_t>> byFingerprint;
    byFingerprint.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const MemoryUnit& unit = units[i];
        const std::int64_t sourceId = languageIdAsWritten(adding, unit.sourceLanguage);
        const std::int64_t targetId = languageIdAsWritten(adding, unit.targetLanguage);
        if (sourceId >= 0 && targetId >= 0)
            byFingerprint.emplace_back(fingerprint(sourceId, targetId, unit.source, unit.target), i);
    }
    std::sort(byFingerprint.begin(), byFingerprint.end());
    adding.firstOccurrence.resize(units.size());
    for (std::size_t i = 0; i < units.size(); ++i)
        adding.firstOccurrence[i] = i;
    adding.keptAt.assign(units.size(), KeptUnit{});
    const auto sameUnit = [&](const std::size_t a, const std::size_t b) {
        return units[a].source == units[b].source && units[a].target == units[b].target
            && languageIdAsWritten(adding, units[a].sourceLanguage)
                   == languageIdAsWritten(adding, units[b].sourceLanguage)
            && languageIdAsWritten(adding, units[a].targetLanguage)
                   == languageIdAsWritten(adding, units[b].targetLanguage);
    };
    for (auto run = byFingerprint.begin(); run != byFingerprint.end();) {
        const auto end
            = std::find_if(run, byFingerprint.end(), [&](const auto& entry) { return entry.first != run->first; });
        for (auto later = run + 1; later != end; ++later) {
            for (auto earlier = run; earlier != later; ++earlier) {
                if (adding.firstOccurrence[earlier->second] == earlier->second
                    && sameUnit(earlier->second, later->second)) {
                    adding.firstOccurrence[later->second] = earlier->second;
                    break;
                }
            }
        }
        run = end;
    }
}

void TranslationMemory::addUnit(
    Adding& adding, const std::vector<MemoryUnit>& units, const std::size_t at, AddedUnits& counts)
{
    const MemoryUnit& unit = units[at];
    const std::int64_t sourceId = languageIdAsWritten(adding, unit.sourceLanguage);
    const std::int64_t targetId = languageIdAsWritten(adding, unit.targetLanguage);
    if (sourceId < 0 || targetId < 0)
        return;
    const std::int64_t key = sourceKey(unit.source);
    const auto bindDetails = [&](SqliteStatement& statement, const int first, const bool approved) {
        statement.bind(first, unit.origin.toUtf8());
        statement.bind(first + 1, unit.entryName.toUtf8());
        if (unit.changed.isValid())
            statement.bind(first + 2, unit.changed.toSecsSinceEpoch());
        else
            statement.bindNull(first + 2);
        statement.bind(first + 3, approved ? 1 : 0);
    };

    const KeptUnit kept = keptUnit(adding, at, sourceId, targetId, key, unit);
    if (kept.id >= 0) {
        adding.update.bind(1, kept.id);
        bindDetails(adding.update, 2, kept.approved || unit.approved);
        adding.update.run();
        if (adding.wasEmpty && unit.approved)
            adding.keptAt[adding.firstOccurrence[at]].approved = true;
        ++counts.updated;
        return;
    }
    const QByteArray source = unit.source.toUtf8();
    const QByteArray target = unit.target.toUtf8();
    adding.insert.bind(1, sourceId);
    adding.insert.bind(2, targetId);
    adding.insert.bind(3, key);
    bindText(adding.insert, 4, 6, unit.source, source);
    bindText(adding.insert, 5, 7, unit.target, target);
    bindDetails(adding.insert, 8, unit.approved);
    adding.insert.run();
    const std::int64_t id = m_db->lastInsertedRow();
    if (adding.wasEmpty)
        adding.keptAt[at] = {id, unit.approved};

    // Each text is split once: the source's terms give its word counts,
    // and the index takes both texts' terms as split here.
    countWords(splitAhead(0, unit.source, source), adding);
    (void)splitAhead(1, unit.target, target);
    adding.index.bind(1, id);
    adding.index.bind(2, source);
    adding.index.bind(3, target);
    adding.index.run();
    ++counts.added;
}

std::int64_t TranslationMemory::languageIdAsWritten(Adding& adding, const QString& tag)
{
    const auto known = adding.languageIds.constFind(tag);
    if (known != adding.languageIds.constEnd())
        return *known;
    const QString normal = normalLanguageTag(tag);
    const std::int64_t id = normal.isEmpty() ? -1 : languageId(normal);
    adding.languageIds.insert(tag, id);
    return id;
}

TranslationMemory::KeptUnit TranslationMemory::keptUnit(Adding& adding, const std::size_t at,
    const std::int64_t sourceId, const std::int64_t targetId, const std::int64_t key, const MemoryUnit& unit)
{
    if (adding.wasEmpty) {
        const std::size_t first = adding.firstOccurrence[at];
        return first == at ? KeptUnit{} : adding.keptAt[first];
    }
    // By the key, then by the texts themselves.
    adding.find.bind(1, key);
    adding.find.bind(2, sourceId);
    adding.find.bind(3, targetId);
    KeptUnit kept;
    while (kept.id < 0 && adding.find.step()) {
        if (textAt(adding.find, 1, 3) == unit.source && textAt(adding.find, 2, 4) == unit.target)
            kept = {adding.find.integer(0), adding.find.integer(5) != 0};
    }
    adding.find.reset();
    return kept;
}

const IndexTerms& TranslationMemory::splitAhead(const std::size_t slot, const QString& text, const QByteArray& utf8)
{
    IndexTerms& terms = m_splitAhead.keep(slot, utf8);
    // The index splits the UTF-8, in which a lone surrogate became a
    // replacement character: such a text is split as it reads back.
    if (hasLoneSurrogate(text))
        m_splitter.termsOf(QString::fromUtf8(utf8), terms);
    else
        m_splitter.termsOf(text, terms);
    return terms;
}

void TranslationMemory::countWords(const IndexTerms& source, Adding& adding)
{
    std::vector<QByteArrayView>& words = adding.sourceWords;
    words.clear();
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source.kind(i) == TokenKind::Word)
            words.push_back(source.term(i));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    for (const QByteArrayView word : words)
        adding.newWords.addOne(std::string_view(word.data(), static_cast<std::size_t>(word.size())));
}

void TranslationMemory::writeWordCounts(const Adding& adding)
{
    SqliteStatement addWord = m_db->prepare("INSERT INTO source_words(word, units) VALUES (?1, ?2) "
                                            "ON CONFLICT(word) DO UPDATE SET units = units + excluded.units");
    for (const auto& [word, units] : adding.newWords.counted()) {
        addWord.bind(1, QByteArray::fromRawData(word.data(), static_cast<qsizetype>(word.size())));
        addWord.bind(2, units);
        addWord.run();
    }
}

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

std::vector<MemoryUnit> TranslationMemory::allUnits()
{
    std::vector<MemoryUnit> units;
    SqliteStatement query = m_db->prepare(QByteArray(UnitColumns).append("ORDER BY u.id").constData());
    while (query.step())
        units.push_back(unitAt(query));
    return units;
}

std::int64_t TranslationMemory::unitCount()
{
    return m_db->integer("SELECT count(*) FROM units");
}

} // namespace memory
