// The checker against Debian's real dictionaries, and against small ones
// made here: known and unknown words, corrections, the personal list, and
// dictionaries that cannot be loaded.

#include "spelling/SpellChecker.h"

#include "spelling/PersonalWords.h"

#include "SpellingTests.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace Qt::StringLiterals;
using spellingtest::EnglishUs;
using spellingtest::GermanGermany;

struct KnownCase {
    QString word;
    bool known;
};

void expectJudged(spelling::SpellChecker& checker, const std::vector<KnownCase>& cases)
{
    for (const KnownCase& c : cases)
        EXPECT_EQ(checker.isKnown(c.word), c.known) << c.word.toStdString();
    // The cache gives the same answers a second time.
    for (const KnownCase& c : cases)
        EXPECT_EQ(checker.isKnown(c.word), c.known) << c.word.toStdString() << ", asked again";
}

TEST(SpellChecker, JudgesEnglishWords)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"en-US.dic"_s));
    expectJudged(checker,
        {{u"receive"_s, true}, {u"Receive"_s, true}, {u"RECEIVE"_s, true}, {u"color"_s, true}, {u"don't"_s, true},
            {u"don\u2019t"_s, true}, {u"players"_s, true}, {u"London"_s, true}, {u""_s, true}, {u"recieve"_s, false},
            {u"teh"_s, false}, {u"london"_s, false}, {u"Zorvek"_s, false}, {u"Spielstand"_s, false},
            {QString(QChar(0xD800)), false}, {QString(300, u'a'), false}});
}

TEST(SpellChecker, JudgesGermanWordsWithCompoundsAndUmlauts)
{
    LUDRA_NEED_DICTIONARY(dictionary, GermanGermany);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"de-DE.dic"_s));
    expectJudged(
        checker, {{u"Spielstand"_s, true}, {u"Spielstände"_s, true}, {u"speichern"_s, true}, {u"Schlüssel"_s, true},
                     {u"größer"_s, true}, {u"Straße"_s, true}, {u"Spielstandverwaltung"_s, true},
                     {u"Spielstnad"_s, false}, {u"Schlussel"_s, false}, {u"Strasse"_s, false}, {u"recieve"_s, false}});
}

struct SuggestionCase {
    QString word;
    QString expected;
};

TEST(SpellChecker, SuggestsTheCorrection)
{
    LUDRA_NEED_DICTIONARY(english, EnglishUs);
    LUDRA_NEED_DICTIONARY(german, GermanGermany);
    QTemporaryDir folder;
    spelling::SpellChecker englishChecker(*english, folder.filePath(u"en-US.dic"_s));
    spelling::SpellChecker germanChecker(*german, folder.filePath(u"de-DE.dic"_s));
    const std::vector<std::pair<spelling::SpellChecker*, SuggestionCase>> cases{
        {&englishChecker, {u"recieve"_s, u"receive"_s}}, {&englishChecker, {u"teh"_s, u"the"_s}},
        {&englishChecker, {u"definately"_s, u"definitely"_s}}, {&germanChecker, {u"Schlussel"_s, u"Schlüssel"_s}},
        {&germanChecker, {u"Spielstnad"_s, u"Spielstand"_s}}};
    for (const auto& [checker, c] : cases) {
        const QStringList found = checker->suggestions(c.word);
        EXPECT_TRUE(found.contains(c.expected)) << c.word.toStdString() << ": " << found.join(u", "_s).toStdString();
        EXPECT_LE(found.size(), 8);
    }
    EXPECT_LE(englishChecker.suggestions(u"recieve", 1).size(), 1);
    EXPECT_TRUE(englishChecker.suggestions(u"recieve", 0).isEmpty());
    EXPECT_TRUE(englishChecker.suggestions(u"").isEmpty());
}

TEST(SpellChecker, APersonalWordIsKnownAtOnceAndToTheNextChecker)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // The list's folder does not exist yet: the first word makes it.
    const QString path = folder.filePath(u"spelling/en-US.dic"_s);
    {
        spelling::SpellChecker checker(*dictionary, path);
        EXPECT_TRUE(checker.personalWords().isEmpty());
        EXPECT_FALSE(checker.isKnown(u"Zorvek"));
        EXPECT_TRUE(checker.addToPersonal(u"Zorvek"));
        EXPECT_TRUE(checker.isKnown(u"Zorvek"));
        EXPECT_TRUE(checker.isKnown(u"ZORVEK")) << "Hunspell's own forms of the word";
        EXPECT_TRUE(checker.addToPersonal(u"Ludra"));
        EXPECT_TRUE(checker.addToPersonal(u"Ludra")) << "a word held already";
        EXPECT_FALSE(checker.addToPersonal(u"two\nlines"));
        EXPECT_FALSE(checker.addToPersonal(u""));
        EXPECT_EQ(checker.personalWords(), (QStringList{u"Ludra"_s, u"Zorvek"_s}));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Ludra\nZorvek\n"));
    spelling::SpellChecker again(*dictionary, path);
    EXPECT_EQ(again.personalWords(), (QStringList{u"Ludra"_s, u"Zorvek"_s}));
    EXPECT_TRUE(again.isKnown(u"Zorvek"));
    EXPECT_TRUE(again.isKnown(u"Ludra"));
    EXPECT_FALSE(again.isKnown(u"Zorvak"));
}

TEST(SpellChecker, AWordAddedElsewhereIsKeptAndLearnt)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"en-US.dic"_s);
    spelling::SpellChecker window(*dictionary, path);
    spelling::SpellChecker commandLine(*dictionary, path);
    ASSERT_TRUE(commandLine.addToPersonal(u"Ludra"));
    ASSERT_TRUE(window.addToPersonal(u"Zorvek"));
    EXPECT_EQ(spelling::readPersonalWordsFile(path), (QStringList{u"Ludra"_s, u"Zorvek"_s}));
    EXPECT_TRUE(window.isKnown(u"Ludra"));
}

TEST(SpellChecker, ADamagedPersonalListGivesItsReadableWords)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"en-US.dic"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Zorvek\n\xFF\xFE\0\0Ludra\r\n", 18) + QByteArray(100'000, 'x') + "\nmana\x01\n");
    file.close();
    spelling::SpellChecker checker(*dictionary, path);
    EXPECT_TRUE(checker.isKnown(u"Zorvek"));
    EXPECT_TRUE(checker.isKnown(u"Ludra"));
    EXPECT_EQ(checker.personalWords(), (QStringList{u"Ludra"_s, u"Zorvek"_s, u"\u00FF\u00FE"_s}));
}

TEST(SpellChecker, AListThatCannotBeWrittenThrowsAndChangesNothing)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    // A folder stands where the list should be.
    const QString path = folder.filePath(u"en-US.dic"_s);
    ASSERT_TRUE(QDir().mkpath(path));
    spelling::SpellChecker checker(*dictionary, path);
    EXPECT_THROW(checker.addToPersonal(u"Zorvek"), spelling::SpellingError);
    EXPECT_FALSE(checker.isKnown(u"Zorvek"));
    EXPECT_TRUE(checker.personalWords().isEmpty());
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

struct BrokenCase {
    const char* what;
    std::optional<QByteArray> aff; // nothing: no file
    std::optional<QByteArray> dic;
};

TEST(SpellChecker, ADictionaryThatCannotBeLoadedThrowsNamingTheFile)
{
    const std::vector<BrokenCase> cases{
        {"no .aff", std::nullopt, "1\nword\n"},
        {"no .dic", "SET UTF-8\n", std::nullopt},
        {"a .dic without its count", "SET UTF-8\n", "word\nother\n"},
        {"an empty .dic", "SET UTF-8\n", ""},
        {"an encoding nobody knows", "SET X-NO-SUCH-ENCODING\n", "1\nword\n"},
    };
    for (const BrokenCase& c : cases) {
        QTemporaryDir folder;
        const spelling::Dictionary dictionary{
            u"xx-XX"_s, folder.filePath(u"xx_XX.aff"_s), folder.filePath(u"xx_XX.dic"_s)};
        if (c.aff)
            writeBytes(dictionary.affPath, *c.aff);
        if (c.dic)
            writeBytes(dictionary.dicPath, *c.dic);
        try {
            spelling::SpellChecker checker(dictionary, folder.filePath(u"personal.dic"_s));
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const spelling::SpellingError& error) {
            EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(folder.filePath(u"xx_XX"_s))))
                << c.what << ": " << error.message().toStdString();
        }
    }
}

// A dictionary in an 8-bit encoding, as some of Debian's are: words are
// judged, suggested and learnt through it, and a word it cannot write is
// unknown unless the personal list holds it.
TEST(SpellChecker, HonoursTheDictionarysEncoding)
{
    QTemporaryDir folder;
    const spelling::Dictionary dictionary{u"fr-FR"_s, folder.filePath(u"fr_FR.aff"_s), folder.filePath(u"fr_FR.dic"_s)};
    writeBytes(dictionary.affPath, "SET ISO8859-15\nTRY esianrtolcdugmphbyfvkw\xE9\n");
    writeBytes(dictionary.dicPath, "3\ncaf\xE9\n\xE9t\xE9\nna\xEFve\n");
    spelling::SpellChecker checker(dictionary, folder.filePath(u"personal.dic"_s));
    expectJudged(checker, {{u"café"_s, true}, {u"été"_s, true}, {u"naïve"_s, true}, {u"cafe"_s, false},
                              {u"Кафе"_s, false}, {u"€"_s, false}});
    EXPECT_TRUE(checker.suggestions(u"cafe").contains(u"café"_s));
    EXPECT_TRUE(checker.suggestions(u"Кафе").isEmpty());
    EXPECT_TRUE(checker.addToPersonal(u"Кафе"));
    EXPECT_TRUE(checker.addToPersonal(u"œuvre"));
    EXPECT_TRUE(checker.isKnown(u"Кафе"));
    EXPECT_TRUE(checker.isKnown(u"œuvre"));
}

} // namespace
