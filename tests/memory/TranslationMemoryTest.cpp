// The memory's database: texts kept to the code unit, answers within one
// language pair, suggestions and concordance as a translator asks, and a
// damaged, foreign or newer database refused or opened read-only.

#include "memory/TranslationMemory.h"
#include "memory/WordSplitter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

using namespace Qt::StringLiterals;
using memory::MemoryUnit;
using memory::TranslationMemory;

MemoryUnit unit(
    const QString& source, const QString& target, const QString& from = u"en"_s, const QString& to = u"de"_s)
{
    return MemoryUnit{from, to, source, target, u"lang_de.xom"_s, u"FE.Entry"_s,
        QDateTime(QDate(2026, 12, 1), QTime(10, 0), Qt::UTC), false};
}

class MemoryFile : public ::testing::Test {
protected:
    [[nodiscard]] QString path() const { return m_folder.filePath(u"memory.ludra-tm"_s); }

    QTemporaryDir m_folder;
};

TEST_F(MemoryFile, HostileTextsComeBackToTheCodeUnit)
{
    const std::vector<QString> texts{u""_s, u" leading and trailing "_s, u"line\r\nbreaks\rand\nall"_s, u"tab\there"_s,
        QString(u"a NUL \0 inside"_s), u"a lone \xD800 high surrogate"_s, QString(QChar(0xDC00)) + u"lone low first"_s,
        u"emoji 😀 and RTL \u202Eabc\u202C"_s, u"quotes \" and ' and \\ backslash"_s, u"'; DROP TABLE units; --"_s,
        u"\"AND\" OR NOT* NEAR(a b)"_s, u"\uFFFF\uFFFE noncharacters"_s, QString(100'000, u'x')};
    std::vector<MemoryUnit> units;
    for (std::size_t i = 0; i < texts.size(); ++i)
        units.push_back(unit(texts[i], texts[texts.size() - 1 - i] + u'!'));
    units.back().changed = QDateTime();
    units.back().approved = true;
    {
        TranslationMemory memory(path());
        const memory::AddedUnits added = memory.add(units);
        EXPECT_EQ(added.added, static_cast<int>(units.size()));
        EXPECT_EQ(memory.allUnits(), units);
    }
    // Read back by another connection, as the next run of the editor does.
    TranslationMemory again(path());
    const std::vector<MemoryUnit> read = again.allUnits();
    ASSERT_EQ(read.size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        EXPECT_EQ(read[i], units[i]) << "unit " << i;
        // Each is found as an exact match of its own source too.
        const std::vector<memory::MemoryMatch> found = again.suggestions({u"en"_s, u"de"_s}, units[i].source);
        ASSERT_FALSE(found.empty()) << "unit " << i;
        EXPECT_EQ(found.front().score, 100);
        EXPECT_EQ(found.front().unit.target, units[i].target) << "unit " << i;
    }
}

TEST_F(MemoryFile, AnswersOnlyWithinALanguagePair)
{
    TranslationMemory memory(path());
    memory.add({unit(u"New game"_s, u"Neues Spiel"_s, u"EN"_s, u"de"_s),
        unit(u"New game"_s, u"Nouvelle partie"_s, u"en"_s, u"fr"_s),
        unit(u"New game"_s, u"Novo jogo"_s, u"en"_s, u"pt_br"_s),
        unit(u"Neues Spiel"_s, u"New game"_s, u"de"_s, u"en"_s),
        unit(u"Load game"_s, u"Spiel laden"_s, u""_s, u"de"_s)});
    EXPECT_EQ(memory.unitCount(), 4); // the one without a source language is no unit

    // The suggestion's target for "New game", and how many units hold the
    // phrase in source or target (de → en holds it as its target).
    const std::vector<std::tuple<QString, QString, QString, std::size_t>> asked{{u"en"_s, u"de"_s, u"Neues Spiel"_s, 1},
        {u"en"_s, u"fr"_s, u"Nouvelle partie"_s, 1}, {u"en"_s, u"pt-BR"_s, u"Novo jogo"_s, 1},
        {u"de"_s, u"en"_s, u""_s, 1}, {u"fr"_s, u"de"_s, u""_s, 0}, {u"en"_s, u"pt"_s, u""_s, 0}};
    for (const auto& [from, to, target, holding] : asked) {
        SCOPED_TRACE((from + u" → "_s + to).toStdString());
        const std::vector<memory::MemoryMatch> found = memory.suggestions({from, to}, u"New game"_s);
        EXPECT_EQ(found.empty() ? QString() : found.front().unit.target, target);
        EXPECT_EQ(found.size(), target.isEmpty() ? 0u : 1u);
        EXPECT_EQ(memory.concordance({from, to}, u"new game"_s).size(), holding);
    }
}

// An add large enough to take the log into the database at once, after
// lookups that leave nothing open, as the window's save does.
TEST_F(MemoryFile, ALargeAddAfterLookupsIsTakenIn)
{
    TranslationMemory memory(path());
    memory.add({unit(u"Quit"_s, u"Beenden"_s)});
    EXPECT_EQ(memory.suggestions({u"en"_s, u"de"_s}, u"Quit"_s).size(), 1u);
    std::vector<MemoryUnit> many;
    for (int i = 0; i < 10'001; ++i)
        many.push_back(unit(u"Text %1"_s.arg(i), u"Text %1 de"_s.arg(i)));
    EXPECT_EQ(memory.add(many).added, 10'001);
    EXPECT_EQ(memory.unitCount(), 10'002);
    EXPECT_FALSE(QFile::exists(path() + u"-wal"_s) && QFile(path() + u"-wal"_s).size() > 0);
}

TEST_F(MemoryFile, AddingAUnitAgainUpdatesItAndKeepsAnApproval)
{
    TranslationMemory memory(path());
    MemoryUnit approved = unit(u"Quit"_s, u"Beenden"_s);
    approved.approved = true;
    EXPECT_EQ(memory.add({approved}).added, 1);
    MemoryUnit later = unit(u"Quit"_s, u"Beenden"_s);
    later.origin = u"lang_de_v2.xom"_s;
    later.changed = later.changed.addDays(3);
    const memory::AddedUnits again = memory.add({later, unit(u"Quit"_s, u"Verlassen"_s)});
    EXPECT_EQ(again.added, 1);
    EXPECT_EQ(again.updated, 1);
    const std::vector<MemoryUnit> units = memory.allUnits();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].origin, u"lang_de_v2.xom"_s);
    EXPECT_EQ(units[0].changed, later.changed);
    EXPECT_TRUE(units[0].approved);
    // Both translations are offered, the approved one first.
    const std::vector<memory::MemoryMatch> found = memory.suggestions({u"en"_s, u"de"_s}, u"Quit"_s);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].unit.target, u"Beenden"_s);
    EXPECT_EQ(found[1].unit.target, u"Verlassen"_s);
}

TEST_F(MemoryFile, SuggestionsAreTheBestFiveAtSeventyOrMore)
{
    TranslationMemory memory(path());
    memory.add({unit(u"Save the game"_s, u"Spiel speichern"_s), unit(u"Save the game?"_s, u"Spiel speichern?"_s),
        unit(u"save the game"_s, u"spiel speichern"_s), unit(u"Save the whole game now"_s, u"Alles speichern"_s),
        unit(u"Load the game"_s, u"Spiel laden"_s), unit(u"You have 3 lives left."_s, u"Du hast 3 Leben."_s),
        unit(u"ゲームを保存しますか？"_s, u"Spiel speichern?"_s, u"ja"_s, u"de"_s),
        unit(u"ゲームを読み込みますか？"_s, u"Spiel laden?"_s, u"ja"_s, u"de"_s)});

    const auto scores = [&](const QString& from, const QString& source, const int minScore) {
        std::vector<std::pair<QString, int>> found;
        for (const memory::MemoryMatch& match : memory.suggestions({from, u"de"_s}, source, 5, minScore))
            found.emplace_back(match.unit.source, match.score);
        return found;
    };
    using Found = std::vector<std::pair<QString, int>>;
    // n 3: "Load the game" keeps 2 of 3 (66) and falls below 70; "Save the
    // whole game now" keeps 3 of 5 (60).
    EXPECT_EQ(scores(u"en"_s, u"Save the game"_s, 70),
        (Found{{u"Save the game"_s, 100}, {u"save the game"_s, 99}, {u"Save the game?"_s, 75}}));
    EXPECT_EQ(scores(u"en"_s, u"Save the game"_s, 60),
        (Found{{u"Save the game"_s, 100}, {u"save the game"_s, 99}, {u"Save the game?"_s, 75}, {u"Load the game"_s, 66},
            {u"Save the whole game now"_s, 60}}));
    EXPECT_EQ(scores(u"en"_s, u"You have 12 lives left."_s, 70), (Found{{u"You have 3 lives left."_s, 98}}));
    EXPECT_EQ(scores(u"ja"_s, u"ゲームを保存しますか？"_s, 70),
        (Found{{u"ゲームを保存しますか？"_s, 100}, {u"ゲームを読み込みますか？"_s, 71}}));
    EXPECT_TRUE(scores(u"en"_s, u"Options"_s, 70).empty());
}

TEST_F(MemoryFile, ConcordanceFindsAPhraseInSourcesAndTargets)
{
    TranslationMemory memory(path());
    memory.add({unit(u"Save the game"_s, u"Spiel speichern"_s), unit(u"The game is saved."_s, u"Gespeichert."_s),
        unit(u"Options"_s, u"Einstellungen für das Spiel"_s),
        unit(u"保存游戏"_s, u"Spiel speichern"_s, u"zh"_s, u"de"_s),
        unit(u"加载游戏"_s, u"Spiel laden"_s, u"zh"_s, u"de"_s)});
    const auto sources = [&](const QString& from, const QString& phrase) {
        QStringList found;
        for (const MemoryUnit& unit : memory.concordance({from, u"de"_s}, phrase))
            found << unit.source;
        found.sort();
        return found;
    };
    EXPECT_EQ(sources(u"en"_s, u"the GAME"_s), (QStringList{u"Save the game"_s, u"The game is saved."_s}));
    EXPECT_EQ(sources(u"en"_s, u"game the"_s), QStringList());
    EXPECT_EQ(sources(u"en"_s, u"Spiel"_s), (QStringList{u"Options"_s, u"Save the game"_s}));
    EXPECT_EQ(sources(u"zh"_s, u"游戏"_s), (QStringList{u"保存游戏"_s, u"加载游戏"_s}));
    EXPECT_EQ(sources(u"en"_s, u"?!"_s), QStringList());
    EXPECT_EQ(sources(u"en"_s, u"\"NEAR(save"_s), QStringList());
}

// A memory the editor cannot use says why and is never a crash; one made by
// a newer version is offered read-only.
TEST_F(MemoryFile, DamagedForeignAndNewerDatabases)
{
    {
        TranslationMemory made(path());
        made.add({unit(u"Quit"_s, u"Beenden"_s)});
    }
    const QString newer = m_folder.filePath(u"newer.ludra-tm"_s);
    QFile::copy(path(), newer);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(newer).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    TranslationMemory readOnly(newer);
    EXPECT_TRUE(readOnly.isReadOnly());
    EXPECT_TRUE(readOnly.readOnlyReason().contains(u"newer version"_s));
    EXPECT_EQ(readOnly.suggestions({u"en"_s, u"de"_s}, u"Quit"_s).size(), 1u);
    EXPECT_THROW(readOnly.add({unit(u"Load"_s, u"Laden"_s)}), memory::MemoryError);

    const QString foreign = m_folder.filePath(u"foreign.sqlite"_s);
    ASSERT_EQ(sqlite3_open(QFile::encodeName(foreign).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE notes(text)", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    QFile original(path());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    const auto write = [&](const char* name, const QByteArray& content) {
        const QString at = m_folder.filePath(QString::fromLatin1(name));
        QFile file(at);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return at;
    };
    QByteArray scrambled = bytes;
    for (qsizetype i = 100; i < scrambled.size(); i += 7)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    const std::vector<std::pair<QString, QString>> refused{{foreign, u"no translation memory"_s},
        {write("text.ludra-tm", "these are notes, not a database\n"), u"not a database"_s},
        {write("scrambled.ludra-tm", scrambled), u"cannot be used"_s}};
    for (const auto& [file, reason] : refused) {
        try {
            TranslationMemory memory(file);
            (void)memory.suggestions({u"en"_s, u"de"_s}, u"Quit"_s);
            (void)memory.allUnits();
            ADD_FAILURE() << file.toStdString() << " was taken";
        } catch (const memory::MemoryError& error) {
            EXPECT_TRUE(error.message().contains(file)) << error.message().toStdString();
            EXPECT_TRUE(error.message().contains(reason)) << error.message().toStdString();
        }
    }
}

// The index's terms of a text are the normal forms of its tokens but
// punctuation, as UTF-8: what the similarity compares is what is indexed.
TEST(IndexTerms, AreTheTokensButPunctuationAsUtf8)
{
    const std::vector<QString> texts{u""_s, u"Save the GAME!"_s, u"Press %s to start, %1$d times"_s,
        u"Level 12 or Level ١٢, 3.5 or 1,000"_s, u"STRASSE Straße ΣΊΣΥΦΟΣ İstanbul ǅ"_s, u"ゲームを保存しますか？"_s,
        u"保存游戏 บันทึกเกม"_s, u"emoji 😀 and 𝐀𝐁 words"_s, u"a lone \xD800 high and \xDC00 low"_s, u"  \t\n "_s,
        u"you'll e-mail don't"_s};
    memory::WordSplitter splitter;
    memory::IndexTerms terms;
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        std::vector<QByteArray> expected;
        for (const memory::Token& token : splitter.tokensOf(text)) {
            if (token.kind != memory::TokenKind::Punctuation)
                expected.push_back(token.normal.toUtf8());
        }
        splitter.termsOf(text, terms);
        std::vector<QByteArray> found;
        for (std::size_t i = 0; i < terms.size(); ++i)
            found.push_back(terms.term(i).toByteArray());
        EXPECT_EQ(found, expected);
    }
}

// The word counts the suggestions rank by: how many units' sources hold each
// word, a unit given twice counted once, whether the memory was empty or not.
TEST_F(MemoryFile, CountsTheUnitsEachSourceWordIsIn)
{
    {
        TranslationMemory memory(path());
        const memory::AddedUnits first = memory.add({unit(u"Save the game, the GAME"_s, u"Spiel speichern"_s),
            unit(u"Load the game 3 times"_s, u"Spiel laden"_s),
            unit(u"Save the game, the GAME"_s, u"Spiel speichern"_s), unit(u"Straße %s"_s, u"Street"_s)});
        EXPECT_EQ(first.added, 3);
        EXPECT_EQ(first.updated, 1);
        const memory::AddedUnits second
            = memory.add({unit(u"Load the game 3 times"_s, u"Spiel laden"_s), unit(u"Quit the game"_s, u"Beenden"_s)});
        EXPECT_EQ(second.added, 1);
        EXPECT_EQ(second.updated, 1);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &db), SQLITE_OK);
    sqlite3_stmt* query = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db, "SELECT word, units FROM source_words ORDER BY word", -1, &query, nullptr), SQLITE_OK);
    std::vector<std::pair<QString, int>> counts;
    while (sqlite3_step(query) == SQLITE_ROW) {
        counts.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, 0))),
            sqlite3_column_int(query, 1));
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    // Numbers and placeholders are no words.
    EXPECT_EQ(counts, (std::vector<std::pair<QString, int>>{{u"game"_s, 3}, {u"load"_s, 1}, {u"quit"_s, 1},
                          {u"save"_s, 1}, {u"straße"_s, 1}, {u"the"_s, 3}, {u"times"_s, 1}}));
}

// A unit given twice in one add, into an empty memory and into one that
// holds units, is one unit, approved when either was.
TEST_F(MemoryFile, AUnitGivenTwiceInOneAddIsOne)
{
    for (const bool holdsUnits : {false, true}) {
        SCOPED_TRACE(holdsUnits ? "a memory with units" : "an empty memory");
        QFile::remove(path());
        QFile::remove(path() + u"-wal"_s);
        TranslationMemory memory(path());
        if (holdsUnits)
            memory.add({unit(u"Options"_s, u"Optionen"_s)});
        MemoryUnit approved = unit(u"Quit"_s, u"Beenden"_s);
        approved.approved = true;
        MemoryUnit later = unit(u"Quit"_s, u"Beenden"_s);
        later.origin = u"lang_de_v2.xom"_s;
        // The same languages written another way are the same unit.
        const memory::AddedUnits counts = memory.add({approved, unit(u"Quit"_s, u"Verlassen"_s),
            unit(u"Quit"_s, u"Beenden"_s, u"EN"_s, u"de"_s), later, unit(u"Quit"_s, u"Beenden"_s, u"en"_s, u"fr"_s)});
        EXPECT_EQ(counts.added, 3);
        EXPECT_EQ(counts.updated, 2);
        const std::vector<MemoryUnit> units = memory.allUnits();
        ASSERT_EQ(units.size(), holdsUnits ? 4u : 3u);
        const MemoryUnit& quit = units[holdsUnits ? 1 : 0];
        EXPECT_EQ(quit.target, u"Beenden"_s);
        EXPECT_EQ(quit.origin, u"lang_de_v2.xom"_s);
        EXPECT_TRUE(quit.approved);
    }
}

// The index takes the terms split while adding: texts of every kind are
// found by a phrase of their own words.
TEST_F(MemoryFile, ConcordanceFindsTextsOfEveryKind)
{
    TranslationMemory memory(path());
    const std::vector<std::pair<QString, QString>> texts{{u"Die Straße entlang"_s, u"STRAßE"_s},
        {u"Level ١٢ reached"_s, u"level 12"_s}, {u"Press %s to start"_s, u"%s to"_s},
        {u"a lone \xD800 surrogate here"_s, u"surrogate here"_s}, {u"ゲームを保存しますか？"_s, u"保存"_s},
        {u"Ünïcödé Wörds"_s, u"ÜNÏCÖDÉ wörds"_s}};
    std::vector<MemoryUnit> units;
    for (const auto& [source, phrase] : texts)
        units.push_back(unit(source, u"Ziel"_s));
    memory.add(units);
    for (const auto& [source, phrase] : texts) {
        SCOPED_TRACE(phrase.toStdString());
        const std::vector<MemoryUnit> found = memory.concordance({u"en"_s, u"de"_s}, phrase);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found.front().source, source);
    }
}

} // namespace
