// The similarity of two sources, against scores worked out by hand from
// its definition: floor(100 (n - d) / n) less the penalties, at most 99.

#include "memory/LanguageTags.h"
#include "memory/Similarity.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using namespace Qt::StringLiterals;

struct ScoreCase {
    const char* what;
    QString a;
    QString b;
    int score;
};

TEST(Similarity, ScoresAsWorkedOutByHand)
{
    const std::vector<ScoreCase> cases{
        {"the same text", u"Save the game"_s, u"Save the game"_s, 100},
        {"the same empty text", u""_s, u""_s, 100},
        {"white space only (n 2, d 0, less 1)", u"Save game"_s, u"Save  game"_s, 99},
        {"a word in another case (d 0, 1 for the case)", u"Open the door"_s, u"open the door"_s, 99},
        {"one token more (n 4, d 1)", u"Save the game"_s, u"Save the game?"_s, 75},
        {"another number (d 0, 2 for the number)", u"Level 5"_s, u"Level 6"_s, 98},
        {"a percent sign is no placeholder (n 3, d 0, 2 for 50/60)", u"50% off"_s, u"60% off"_s, 98},
        {"Arabic-Indic digits are the number they stand for", u"Level 12"_s, u"Level ١٢"_s, 99},
        {"another number and mark (n 6, d 1: 83, less 2)", u"You have 3 lives left."_s, u"You have ١٢ lives left!"_s,
            81},
        {"placeholders and case (d 0; 2 for %s/%d, 2 for the case)", u"Press %s to start"_s, u"press %d to Start"_s,
            96},
        {"nothing shared (n 1, d 1)", u""_s, u"Start"_s, 0},
        {"marks only, all different (n 3, d 3)", u"..."_s, u"!!!"_s, 0},
        {"Japanese by dictionary words (n 7, d 2)", u"ゲームを保存しますか？"_s, u"ゲームを読み込みますか？"_s, 71},
        {"Chinese: 保存 游戏 against 加 载 游戏 (n 3, d 2)", u"保存游戏"_s, u"加载游戏"_s, 33},
        {"Thai: two words, one shared (n 2, d 1)", u"บันทึกเกม"_s, u"โหลดเกม"_s, 50},
        {"German compound words are single words (n 2, d 1)", u"Spielstand speichern"_s, u"Spielstand laden"_s, 50},
        {"Russian, case folded (d 0, 1 for the case)", u"Новая игра"_s, u"новая игра"_s, 99},
    };
    memory::WordSplitter splitter;
    for (const ScoreCase& c : cases) {
        EXPECT_EQ(memory::similarity(c.a, c.b, splitter), c.score) << c.what;
        EXPECT_EQ(memory::similarity(c.b, c.a, splitter), c.score) << c.what << ", the other way round";
    }
}

// Asking for one more of the rarest words than a match may miss finds
// every match: checked against the score on texts that miss more and more.
TEST(Similarity, TheWordsAskedForFindEveryMatchAboveTheThreshold)
{
    EXPECT_EQ(memory::tokensAMatchMayLack(10, 70), 3);
    EXPECT_EQ(memory::tokensAMatchMayLack(3, 70), 0);
    EXPECT_EQ(memory::tokensAMatchMayLack(8, 70), 2);
    EXPECT_EQ(memory::tokensAMatchMayLack(10, 100), 0);

    memory::WordSplitter splitter;
    const QString query = u"one two three four five six seven eight nine ten"_s;
    const std::vector<memory::Token> tokens = splitter.tokensOf(query);
    const int asked = memory::tokensAMatchMayLack(10, 70) + 1;
    // A text that lacks the first k words of the query (replaced by others)
    // scores 100 (10 - k) / 10: k = asked must fall below 70.
    for (int missing = 0; missing <= 10; ++missing) {
        QStringList words = query.split(u' ');
        for (int k = 0; k < missing; ++k)
            words[k] = QStringList{u"alpha"_s, u"beta"_s, u"gamma"_s, u"delta"_s, u"epsilon"_s, u"zeta"_s, u"eta"_s,
                u"theta"_s, u"iota"_s, u"kappa"_s}[k];
        const int score = memory::similarity(tokens, splitter.tokensOf(words.join(u' ')));
        EXPECT_EQ(score >= 70, missing < asked) << missing << " words missing score " << score;
    }
}

TEST(LanguageTags, NormalFormsAndFileNames)
{
    const std::vector<std::pair<QString, QString>> tags{{u"de"_s, u"de"_s}, {u"DE"_s, u"de"_s},
        {u"pt_br"_s, u"pt-BR"_s}, {u"zh-hant-tw"_s, u"zh-Hant-TW"_s}, {u"sr-latn"_s, u"sr-Latn"_s}, {u"en-"_s, u""_s},
        {u"e n"_s, u""_s}, {u"dé"_s, u""_s}, {u""_s, u""_s}};
    for (const auto& [tag, normal] : tags)
        EXPECT_EQ(memory::normalLanguageTag(tag), normal) << tag.toStdString();

    const std::vector<std::pair<QString, QString>> names{{u"/games/x/lang_de.xom"_s, u"de"_s},
        {u"C:\\Game\\LANG_PT_BR.XOM"_s, u"pt-BR"_s}, {u"lang_english.xom"_s, u""_s}, {u"lang.xom"_s, u""_s},
        {u"lang_de.xom.review"_s, u""_s}, {u"strings_de.xom"_s, u""_s}, {u"lang_zh-Hans.xom"_s, u"zh-Hans"_s}};
    for (const auto& [path, language] : names)
        EXPECT_EQ(memory::languageOfFileName(path), language) << path.toStdString();
}

} // namespace
