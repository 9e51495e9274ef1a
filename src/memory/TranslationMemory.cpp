#include "memory/TranslationMemory.h"

#include "memory/MemoryRows.h"
#include "memory/WordTokenizer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

namespace memory {

using namespace rows;

namespace {

// "LUDT" in the database header: a file of this editor's memory.
constexpr std::int64_t ApplicationId = 0x4C554454;

// Adds of more units than this take the log into the database at once.
constexpr int LargeAdd = 10'000;

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
