#pragma once

#include "memory/LanguageTags.h"
#include "memory/MemoryUnit.h"
#include "memory/SqliteDatabase.h"
#include "memory/WordSplitter.h"
#include "memory/WordTokenizer.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace memory {

// A unit found for a source text, and how alike its source is (100: the
// same text).
struct MemoryMatch {
    MemoryUnit unit;
    int score = 0;
};

// What adding units did: new units, and units already kept (the same
// languages, source and target) whose origin, time or approval changed.
struct AddedUnits {
    int added = 0;
    int updated = 0;
};

// The translation memory: an SQLite database of units, with a full-text
// index of their sources and targets by the WordSplitter's words.
//
//   units(id, source_language, target_language, source_key, source, target,
//         source_units, target_units, origin, entry, changed, approved)
//   languages(id, tag)            language tags in normal form
//   unit_words                    FTS5 over units(source, target)
//   source_words(word, units)     how many units' sources hold each word,
//                                 to ask the index for the rarest first
//
// Texts are stored as UTF-8, which every text without a lone surrogate is
// exactly; a text with one keeps its UTF-16 code units in *_units beside.
// source_key is a hash of the source's code units that is the same on
// every machine, for the exact lookup. One object per thread: each holds a
// connection of its own, and SQLite's write-ahead log lets a lookup read
// while another connection writes.
class TranslationMemory {
public:
    // The version of the tables this editor makes; a memory of a higher one
    // (a newer editor's) is opened read-only.
    static constexpr std::int64_t SchemaVersion = 1;

    // Opens the memory at path, making it (and its folder) when there is
    // none. Throws
    // MemoryError for a file that is damaged or no translation memory.
    explicit TranslationMemory(const QString& path);
    ~TranslationMemory();
    TranslationMemory(const TranslationMemory&) = delete;
    TranslationMemory& operator=(const TranslationMemory&) = delete;

    // The memory in the user's data folder, shared by the editor and
    // ludra-lang.
    [[nodiscard]] static QString defaultPath();

    [[nodiscard]] const QString& path() const noexcept { return m_db->path(); }
    // Why the memory takes no units ("made by a newer version …"); empty
    // while it does.
    [[nodiscard]] const QString& readOnlyReason() const noexcept { return m_readOnlyReason; }
    [[nodiscard]] bool isReadOnly() const noexcept { return !m_readOnlyReason.isEmpty(); }

    // Adds units in one transaction; a unit already kept is updated: its
    // origin, entry and time become the new ones, and it stays approved
    // once it was. Units without both languages are passed over. Throws
    // MemoryError when the memory is read-only or a write fails (and then
    // adds none).
    AddedUnits add(const std::vector<MemoryUnit>& units);

    // The units for a source text within a language pair: the same source
    // first (score 100), then sources at least minScore alike, best first,
    // approved before not, newer before older; at most count.
    [[nodiscard]] std::vector<MemoryMatch> suggestions(
        const LanguagePair& languages, QStringView source, int count = 5, int minScore = 70);
    // The units of a language pair whose source or target holds the words
    // of phrase in order, the best ranked first; at most limit.
    [[nodiscard]] std::vector<MemoryUnit> concordance(
        const LanguagePair& languages, QStringView phrase, int limit = 50);
    // Every unit, in the order they were added.
    [[nodiscard]] std::vector<MemoryUnit> allUnits();
    [[nodiscard]] std::int64_t unitCount();

    // Many lookups in one read transaction: each lookup's statements then
    // neither take nor give back the file's shared lock, nor look whether
    // another connection wrote. The lookups see the memory as it was when
    // the first of them ran; a writer on another connection is not held
    // up (the journal is a write-ahead log).
    class ReadingTogether {
    public:
        explicit ReadingTogether(TranslationMemory& memory);
        ~ReadingTogether();
        ReadingTogether(const ReadingTogether&) = delete;
        ReadingTogether& operator=(const ReadingTogether&) = delete;

    private:
        TranslationMemory& m_memory;
    };

private:
    void openOrMake();
    void makeTables();
    [[nodiscard]] std::int64_t languageId(const QString& tag);
    [[nodiscard]] std::int64_t knownLanguageId(const QString& tag);
    // One add's statements and what it keeps from unit to unit.
    struct Adding;
    // A unit kept in the memory: its row and whether it was approved.
    struct KeptUnit {
        std::int64_t id = -1;
        bool approved = false;
    };
    // Finds the units an add into an empty memory gives more than once.
    void findRepeats(Adding& adding, const std::vector<MemoryUnit>& units);
    void addUnit(Adding& adding, const std::vector<MemoryUnit>& units, std::size_t at, AddedUnits& counts);
    // The id of a language tag as a unit writes it; -1 for no tag.
    [[nodiscard]] std::int64_t languageIdAsWritten(Adding& adding, const QString& tag);
    // The unit with these languages and texts that the memory keeps, if any.
    [[nodiscard]] KeptUnit keptUnit(Adding& adding, std::size_t at, std::int64_t sourceId, std::int64_t targetId,
        std::int64_t key, const MemoryUnit& unit);
    // Splits a text ahead for the full-text index, into slot.
    const IndexTerms& splitAhead(std::size_t slot, const QString& text, const QByteArray& utf8);
    // Adds one to the count of each word a source holds.
    static void countWords(const IndexTerms& source, Adding& adding);
    void writeWordCounts(const Adding& adding);
    // A word of a query, and how many units' sources hold it.
    struct CountedWord {
        QString word;
        std::int64_t units = 0;
    };
    // The query's words, each once, the rarest in the memory's sources first.
    [[nodiscard]] std::vector<CountedWord> wordsByRarity(const std::vector<Token>& tokens);
    // The units worth scoring for a query whose matches may lack mayLack of
    // its tokens, the likeliest first, at most limit.
    [[nodiscard]] std::vector<std::int64_t> candidates(const std::vector<CountedWord>& words, int mayLack, int limit);

    // Declared before the database, so that it outlives the connection
    // whose tokenizer reads it.
    SplitAhead m_splitAhead;
    std::unique_ptr<SqliteDatabase> m_db;
    QString m_readOnlyReason;
    WordSplitter m_splitter;
    QHash<QString, std::int64_t> m_languageIds;
    // Inside a ReadingTogether: the source units of each word asked for.
    bool m_readingTogether = false;
    QHash<QString, std::int64_t> m_unitsOfWord;
};

} // namespace memory
