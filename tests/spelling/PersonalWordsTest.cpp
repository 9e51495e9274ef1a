// The personal word list's file: what a list holds, what a damaged one
// still gives, and that what is written reads back the same.

#include "spelling/PersonalWords.h"

#include "SpellingTests.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using namespace Qt::StringLiterals;

struct ReadCase {
    const char* what;
    QByteArray bytes;
    QStringList words;
};

TEST(PersonalWords, ReadsWhatADamagedListStillHolds)
{
    const QByteArray longLine(5000, 'a');
    const std::vector<ReadCase> cases{
        {"an empty list", "", {}},
        {"one word a line, sorted and without duplicates", "Zorvek\nLudra\nmana\nLudra\n",
            {u"Ludra"_s, u"Zorvek"_s, u"mana"_s}},
        {"no line break at the end", "Ludra", {u"Ludra"_s}},
        {"CR LF and lone CR", "Ludra\r\nZorvek\rmana\r\n", {u"Ludra"_s, u"Zorvek"_s, u"mana"_s}},
        {"blank lines and white space around words", "\n  Ludra \t\n\n\t\n", {u"Ludra"_s}},
        {"a byte order mark", "\xEF\xBB\xBFLudra\n", {u"Ludra"_s}},
        {"UTF-8 beyond ASCII", "Spielstände\nКиев\n😀x\n", {u"Spielstände"_s, u"Киев"_s, u"😀x"_s}},
        {"a line of invalid UTF-8 is read as Latin-1", "caf\xE9\nna\xEFve\nok\n", {u"café"_s, u"naïve"_s, u"ok"_s}},
        {"a NUL ends a line", QByteArray("Ludra\0Zorvek\n\0\0\0\0", 17), {u"Ludra"_s, u"Zorvek"_s}},
        {"a list cut short in a character", "Ludra\nSpielst\xC3", {u"Ludra"_s, u"Spielst\u00C3"_s}},
        {"a line far too long is no word", "Ludra\n" + longLine + "\nZorvek", {u"Ludra"_s, u"Zorvek"_s}},
        {"a hundred characters are a word, a hundred and one none", QByteArray(100, 'b') + '\n' + QByteArray(101, 'c'),
            {QString(100, u'b')}},
        {"control characters",
            "Lu\x01"
            "dra\nZorvek\x1B\nmana\n",
            {u"mana"_s}},
        {"C1 controls of a Latin-1 line", "a\x85z\nmana\n", {u"mana"_s}},
        {"a line of spaces between words", "New Ludra\n", {u"New Ludra"_s}},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(spelling::readPersonalWords(c.bytes), c.words) << c.what;
}

struct WordCase {
    const char* what;
    QString word;
    bool holdable;
};

TEST(PersonalWords, HoldsOnlyWordsThatReadBackTheSame)
{
    const std::vector<WordCase> cases{
        {"a word", u"Ludra"_s, true},
        {"with an apostrophe", u"Ludra's"_s, true},
        {"with a space inside", u"New Ludra"_s, true},
        {"empty", u""_s, false},
        {"a space before", u" Ludra"_s, false},
        {"a tab after", u"Ludra\t"_s, false},
        {"a line break inside", u"Lu\ndra"_s, false},
        {"a NUL inside", QStringView(u"Lu\0dra", 6).toString(), false},
        {"a line separator inside", u"Lu\u2028dra"_s, false},
        {"a byte order mark first", u"\uFEFFLudra"_s, false},
        {"a lone surrogate", QString(QChar(0xD800)) + u"x"_s, false},
        {"a pair of surrogates", u"😀"_s, true},
        {"a hundred code units", QString(100, u'x'), true},
        {"a hundred and one", QString(101, u'x'), false},
    };
    for (const WordCase& c : cases)
        EXPECT_EQ(spelling::isPersonalWord(c.word), c.holdable) << c.what;
}

TEST(PersonalWords, WritesSortedUtf8ThatReadsBackTheSame)
{
    const QStringList words{u"Zorvek"_s, u"Ludra"_s, u"Spielstände"_s, u"Ludra"_s, u""_s, u" bad"_s, u"mana"_s};
    const QByteArray bytes = spelling::personalWordsBytes(words);
    EXPECT_EQ(bytes, QByteArray("Ludra\nSpielst\xC3\xA4nde\nZorvek\nmana\n"));
    EXPECT_EQ(spelling::readPersonalWords(bytes), (QStringList{u"Ludra"_s, u"Spielstände"_s, u"Zorvek"_s, u"mana"_s}));
    EXPECT_EQ(spelling::personalWordsBytes({}), QByteArray());
}

TEST(PersonalWords, AMissingListIsEmpty)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(spelling::readPersonalWordsFile(folder.filePath(u"missing.dic"_s)).isEmpty());
    // A folder where the file should be cannot be read either.
    EXPECT_TRUE(spelling::readPersonalWordsFile(folder.path()).isEmpty());
    QFile file(folder.filePath(u"de-DE.dic"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Ludra\n");
    file.close();
    EXPECT_EQ(spelling::readPersonalWordsFile(file.fileName()), QStringList{u"Ludra"_s});
}

TEST(PersonalWords, TheDefaultListIsInTheUsersConfigurationByTag)
{
    QStandardPaths::setTestModeEnabled(true);
    EXPECT_EQ(spelling::personalWordListPath(u"de-DE"),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + u"/ludra-language-editor/spelling/de-DE.dic"_s);
}

} // namespace
