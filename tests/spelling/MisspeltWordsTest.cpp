// The misspelt words of translated texts beside their reference texts,
// against Debian's English and German dictionaries: what is flagged, where,
// and everything that never is.

#include "spelling/MisspeltWords.h"

#include "spelling/SpellChecker.h"

#include "SpellingTests.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <stop_token>

namespace {

using namespace Qt::StringLiterals;
using spellingtest::EnglishUs;
using spellingtest::GermanGermany;

struct FlagCase {
    const char* what;
    QString text;
    QString reference;
    QStringList flagged;
};

QStringList wordsOf(const std::vector<spelling::MisspeltWord>& found)
{
    QStringList words;
    for (const spelling::MisspeltWord& word : found)
        words << word.word;
    return words;
}

void expectFlagged(spelling::SpellChecker& checker, const std::vector<FlagCase>& cases)
{
    spelling::MisspeltWordFinder finder(checker);
    for (const FlagCase& c : cases) {
        const std::vector<spelling::MisspeltWord> found = finder.find(c.text, c.reference);
        EXPECT_EQ(wordsOf(found), c.flagged) << c.what << ": " << wordsOf(found).join(u", "_s).toStdString();
        for (const spelling::MisspeltWord& word : found)
            EXPECT_EQ(c.text.sliced(word.start, word.length), word.word) << c.what;
    }
}

TEST(MisspeltWords, FlagsTheWordsTheDictionaryDoesNotKnow)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"en-US.dic"_s));
    expectFlagged(checker,
        {
            {"nothing wrong", u"Save the game before you leave."_s, u""_s, {}},
            {"an empty text", u""_s, u"Reference"_s, {}},
            {"two wrong words, in order", u"Teh player did not recieve the sword."_s, u""_s, {u"Teh"_s, u"recieve"_s}},
            {"apostrophes stay in the word", u"You don't have it; you dont\u2019t either."_s, u""_s,
                {u"dont\u2019t"_s}},
            {"a hyphen parts words", u"A well-knwon hero"_s, u""_s, {u"knwon"_s}},
            {"the same wrong word twice", u"Teh end of teh day"_s, u""_s, {u"Teh"_s, u"teh"_s}},
            {"words in the markup's text are judged", u"<b>Recieve</b> [i]teh[/i] gold"_s, u""_s,
                {u"Recieve"_s, u"teh"_s}},
        });
}

TEST(MisspeltWords, NeverFlagsWhatNoDictionaryCanJudge)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"en-US.dic"_s));
    expectFlagged(checker,
        {
            {"printf placeholders", u"Hello %s, you have %d coins and %1$d gems (%lld)"_s, u""_s, {}},
            {"numbered and braced placeholders", u"%1 took {0} from {playerName} and {item.title}"_s, u""_s, {}},
            {"a placeholder next to a word", u"%sxyzzy"_s, u""_s, {}},
            {"markup tags", u"<b>Bold</b> <color=#ff00aa>red</color> <sprite name=\"qwxz\"> <br/>"_s, u""_s, {}},
            {"bracket tags", u"[b]Bold[/b] [color=ffeedd]red[/color] [url=http://qwxz.example]site[/url]"_s, u""_s, {}},
            {"a bracketed word is text", u"[Recieve] it"_s, u""_s, {u"Recieve"_s}},
            {"a less-than sign is text", u"1 < 2 and teh > 0"_s, u""_s, {u"teh"_s}},
            {"URLs", u"See https://qwxz.example/fooo?barr=1 or http://zzyzx.example and www.qwxzgame.example."_s, u""_s,
                {}},
            {"e-mail addresses", u"Write to suport.teem@qwxz-games.example today."_s, u""_s, {}},
            {"an at sign alone is text", u"teh @ home"_s, u""_s, {u"teh"_s}},
            {"numbers and words with digits", u"The 3rd time, x64 builds, 1.5x speed, 2nd place, 10kg"_s, u""_s, {}},
            {"identifiers", u"Set player_name first"_s, u""_s, {}},
            {"a made-up name in the reference", u"Zorvek's sword was forged by Zorvek in Qarth-Ulun."_s,
                u"The sword of ZORVEK from Qarth-Ulun"_s, {}},
            {"a made-up name not in the reference", u"Zorvek came"_s, u"Someone came"_s, {u"Zorvek"_s}},
            {"a reference word only as part of one", u"Zorveks"_s, u"Zorvek"_s, {u"Zorveks"_s}},
            {"Chinese", u"保存游戏"_s, u""_s, {}},
            {"Japanese", u"ゲームを保存しますか？"_s, u""_s, {}},
            {"Thai", u"บันทึกเกม"_s, u""_s, {}},
            {"English around Chinese", u"Press 保存 to saev"_s, u""_s, {u"saev"_s}},
        });
}

TEST(MisspeltWords, JudgesGermanTexts)
{
    LUDRA_NEED_DICTIONARY(dictionary, GermanGermany);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"de-DE.dic"_s));
    expectFlagged(checker,
        {
            {"compounds and umlauts", u"Der Spielstand wurde gespeichert. Schlüssel für die Tür."_s, u""_s, {}},
            {"a misspelt compound", u"Spielstnad laden"_s, u""_s, {u"Spielstnad"_s}},
            {"a name from the English reference", u"Zorveks Schwert aus Qarth-Ulun"_s,
                u"Zorvek's sword from Qarth-Ulun"_s, {u"Zorveks"_s}},
            {"a placeholder and a tag", u"<b>%s</b> hat {0} Münzen"_s, u""_s, {}},
        });
}

TEST(MisspeltWords, APersonalWordIsNotFlagged)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"en-US.dic"_s));
    const QString text = u"Zorvek came to Ludra"_s;
    EXPECT_EQ(wordsOf(spelling::misspeltWords(text, u"", checker)), (QStringList{u"Zorvek"_s, u"Ludra"_s}));
    ASSERT_TRUE(checker.addToPersonal(u"Zorvek"));
    const std::vector<spelling::MisspeltWord> found = spelling::misspeltWords(text, u"", checker);
    EXPECT_EQ(found, (std::vector<spelling::MisspeltWord>{{15, 5, u"Ludra"_s}}));
}

TEST(MisspeltWords, ChecksAWholeDocumentUntilStopped)
{
    LUDRA_NEED_DICTIONARY(dictionary, EnglishUs);
    QTemporaryDir folder;
    spelling::SpellChecker checker(*dictionary, folder.filePath(u"en-US.dic"_s));
    const std::vector<spelling::TextAndReference> entries{{u"All good"_s, u"Alles gut"_s},
        {u"Teh Zorvek"_s, u"Der Zorvek"_s}, {u""_s, u""_s}, {u"recieve %s"_s, u"%s erhalten"_s}};
    const std::vector<std::vector<spelling::MisspeltWord>> found = spelling::unknownWordsOf(entries, checker);
    ASSERT_EQ(found.size(), entries.size());
    EXPECT_EQ(wordsOf(found[0]), QStringList());
    EXPECT_EQ(wordsOf(found[1]), QStringList{u"Teh"_s});
    EXPECT_EQ(wordsOf(found[2]), QStringList());
    EXPECT_EQ(found[3], (std::vector<spelling::MisspeltWord>{{0, 7, u"recieve"_s}}));

    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(spelling::unknownWordsOf(entries, checker, stop.get_token()).empty());
}

} // namespace
