// The text checks on real sentences: for each group of checks a table of
// true hits and of false friends (texts that look wrong and are not), in
// several languages. Each case asks both routes, the set of failing checks
// and the findings with their details.

#include "checks/TextChecks.h"
#include "checks/TextScan.h"

#include <gtest/gtest.h>

#include <QChar>
#include <QStringList>

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using checks::TextCheck;
using checks::TextChecks;

struct Case {
    const char* what;
    QString language;
    QString reference;
    QString text;
    std::vector<std::pair<TextCheck, QString>> findings; // exactly these, in check order
};

std::string keyOf(const TextCheck check)
{
    return checks::textCheckInfos()[static_cast<std::size_t>(check)].key.toString().toStdString();
}

// Runs the checks of group on every case and compares both routes with
// the expected findings.
void expectCases(const std::vector<Case>& cases, const TextChecks group, const checks::TextCheckContext& base = {})
{
    for (const Case& c : cases) {
        checks::TextCheckContext context = base;
        context.targetLanguage = c.language;
        context.enabled = group;
        TextChecks expectedSet;
        std::vector<std::string> expected;
        for (const auto& [check, detail] : c.findings) {
            expectedSet |= check;
            expected.push_back(keyOf(check) + ": " + detail.toStdString());
        }
        EXPECT_EQ(checks::failingTextChecks(c.reference, c.text, context).bits(), expectedSet.bits()) << c.what;
        std::vector<std::string> found;
        for (const checks::TextFinding& finding : checks::textFindings(c.reference, c.text, context))
            found.push_back(keyOf(finding.check) + ": " + finding.detail.toStdString());
        EXPECT_EQ(found, expected) << c.what;
    }
}

TEST(TextChecks, InfosAreInCheckOrderWithDistinctKeys)
{
    const auto& infos = checks::textCheckInfos();
    ASSERT_EQ(infos.size(), std::size_t{checks::TextCheckCount});
    for (std::size_t i = 0; i < infos.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(infos[i].check), i);
        EXPECT_EQ(checks::textCheckOfKey(QString(infos[i].key)), infos[i].check) << infos[i].name.toStdString();
        EXPECT_FALSE(infos[i].explanation.isEmpty());
    }
    EXPECT_EQ(checks::textCheckOfKey(u"end-punctuation"_s), TextCheck::EndPunctuation);
    EXPECT_EQ(checks::textCheckOfKey(u"End-Punctuation"_s), std::nullopt);
    EXPECT_EQ(checks::textCheckOfKey(u"spelling"_s), std::nullopt);
    EXPECT_EQ(infos[static_cast<int>(TextCheck::Length)].severity, checks::Severity::Critical);
    EXPECT_FALSE(checks::DefaultTextChecks.testFlag(TextCheck::Length));
    EXPECT_TRUE(checks::DefaultTextChecks.testFlag(TextCheck::MixedScripts));
    EXPECT_EQ(TextChecks(TextCheck::Numbers).bits(), 1u << 3);
}

TEST(TextChecks, PlaceholderDifference)
{
    const std::vector<std::tuple<QString, QString, QString>> cases{
        {u"50% off"_s, u"50 % de réduction"_s, u""_s},
        {u"100%% done"_s, u"100%% erledigt"_s, u""_s},
        {u"%d of %s"_s, u"%s sur %d"_s, u""_s},
        {u"%1 of %2"_s, u"%2 из %1"_s, u""_s},
        {u"%d files"_s, u"%s fichiers"_s, u"missing %d; extra %s"_s},
        {u"{0} and {1}"_s, u"{0} と"_s, u"missing {1}"_s},
        {u"%d/%d"_s, u"%d"_s, u"missing %d"_s},
        {u"Hi"_s, u"مرحبا {name}"_s, u"extra {name}"_s},
        {u"%d, %s, %d"_s, u"%s"_s, u"missing %d, %d"_s},
    };
    for (const auto& [reference, text, difference] : cases)
        EXPECT_EQ(checks::placeholderDifference(reference, text), difference) << text.toStdString();
}

TEST(TextChecks, TagsEscapesAndUrls)
{
    const TextChecks group = TextCheck::Tags | TextCheck::Escapes | TextCheck::Urls;
    expectCases(
        {
            {"the same tags", u"fr"_s, u"<b>Save</b> the game"_s, u"<b>Sauvegarder</b> la partie"_s, {}},
            {"a tag in another case", u"fr"_s, u"<b>Save</b> game"_s, u"<B>Sauvegarder</B> partie"_s, {}},
            {"a wrong closing tag", u"de"_s, u"<b>Warning</b>"_s, u"<b>Warnung</i>"_s,
                {{TextCheck::Tags, u"missing </b>; extra </i>"_s}}},
            {"spaces inside a tag", u"en"_s, u"Line<br/>break"_s, u"Line<br />break"_s, {}},
            {"an attribute in another case", u"ru"_s, u"<color=#ff0000>Danger</color>"_s,
                u"<color=#FF0000>Опасность</color>"_s, {}},
            {"another attribute", u"ru"_s, u"<color=#ff0000>Danger</color>"_s, u"<color=red>Опасность</color>"_s,
                {{TextCheck::Tags, u"missing <color=#ff0000>; extra <color=red>"_s}}},
            {"a lost bracket tag", u"fr"_s, u"[b]Bold[/b] and [color=red]red[/color]"_s,
                u"[b]Gras[/b] et [color=red]rouge"_s, {{TextCheck::Tags, u"missing [/color]"_s}}},
            {"a bracketed sentence is no tag", u"fr"_s, u"[Press E to open]"_s, u"[Appuyez sur E pour ouvrir]"_s, {}},
            {"a bracketed word nothing closes is no tag", u"fr"_s, u"[Open]"_s, u"[Ouvrir]"_s, {}},
            {"comparisons are no tags", u"fr"_s, u"Use a < b and x<3"_s, u"Utilisez a<b et x < 3"_s, {}},
            {"tags dropped", u"ja"_s, u"<i>Hello</i>"_s, u"こんにちは"_s, {{TextCheck::Tags, u"missing </i>, <i>"_s}}},
            {"the same escapes", u"ar"_s, u"Line one\\nLine two"_s, u"السطر الأول\\nالسطر الثاني"_s, {}},
            {"escaped quotes written plain", u"es"_s, u"Say \\\"hi\\\""_s, u"Di \"hola\""_s,
                {{TextCheck::Escapes, u"missing \\\", \\\""_s}}},
            {"an escaped backslash is not \\n", u"de"_s, u"C:\\\\new"_s, u"C:\\new"_s,
                {{TextCheck::Escapes, u"missing \\\\; extra \\n"_s}}},
            {"a changed URL", u"de"_s, u"Visit https://example.com/help."_s,
                u"Besuchen Sie https://example.com/hilfe."_s,
                {{TextCheck::Urls, u"missing https://example.com/help; extra https://example.com/hilfe"_s}}},
            {"the same address before other punctuation", u"fr"_s, u"Write to support@example.com!"_s,
                u"Écrivez à support@example.com !"_s, {}},
            {"an address in Arabic text", u"ar"_s, u"Contact help@game.io"_s, u"اتصل بـ help@game.io"_s, {}},
            {"a lost address", u"ru"_s, u"See www.example.com or mail info@example.com"_s, u"См. www.example.com"_s,
                {{TextCheck::Urls, u"missing info@example.com"_s}}},
            {"an @ without a domain is no address", u"fr"_s, u"Email: a@b"_s, u"Courriel : x@y"_s, {}},
        },
        group);
}

TEST(TextChecks, Numbers)
{
    expectCases(
        {
            {"Arabic-Indic digits", u"ar"_s, u"Level 12"_s, u"المستوى ١٢"_s, {}},
            {"Persian digits", u"fa"_s, u"Page 3 of 10"_s, u"صفحه ۳ از ۱۰"_s, {}},
            {"full-width digits", u"ja"_s, u"12 items"_s, u"１２個"_s, {}},
            {"a German group separator", u"de"_s, u"1,000 coins"_s, u"1.000 Münzen"_s, {}},
            {"a French narrow no-break space", u"fr"_s, u"1,000 coins"_s, u"1\u202F000 pièces"_s, {}},
            {"a decimal comma", u"fr"_s, u"1.5x speed"_s, u"vitesse 1,5x"_s, {}},
            {"leading zeros", u"de"_s, u"Wave 07"_s, u"Welle 7"_s, {}},
            {"another number", u"de"_s, u"You have 3 lives"_s, u"Du hast 4 Leben"_s,
                {{TextCheck::Numbers, u"missing 3; extra 4"_s}}},
            {"a space joins no short group", u"ru"_s, u"Buy 2 3 times"_s, u"Купить 23 раза"_s,
                {{TextCheck::Numbers, u"missing 2, 3; extra 23"_s}}},
            {"digits in placeholders", u"de"_s, u"%2$d points for %1$s"_s, u"%1$s: %2$d Punkte"_s, {}},
            {"digits in tags", u"de"_s, u"<size=20>Big</size>"_s, u"<size=24>Groß</size>"_s, {}},
            {"digits in a URL", u"de"_s, u"Visit www.game2.com"_s, u"Besuche www.game3.com"_s, {}},
            {"a number dropped", u"de"_s, u"Only 5 left!"_s, u"Nur noch wenige!"_s,
                {{TextCheck::Numbers, u"missing 5"_s}}},
            {"a year in Japanese", u"ja"_s, u"Released in 2024"_s, u"2025年に発売"_s,
                {{TextCheck::Numbers, u"missing 2024; extra 2025"_s}}},
            {"a percent sign", u"fr"_s, u"50% off"_s, u"50 % de réduction"_s, {}},
        },
        TextCheck::Numbers);
}

TEST(TextChecks, Punctuation)
{
    const TextChecks group = TextCheck::EndPunctuation | TextCheck::StartPunctuation | TextCheck::PunctuationSpacing;
    expectCases(
        {
            {"an abbreviation's dot ends nothing", u"de"_s, u"Talk to Mr."_s, u"Sprich mit Hr."_s, {}},
            {"e.g. at the end", u"en"_s, u"Fruit, e.g."_s, u"Fruit, for example"_s, {}},
            {"a full stop made an exclamation mark", u"de"_s, u"Game saved."_s, u"Spiel gespeichert!"_s,
                {{TextCheck::EndPunctuation, u"“.” → “!”"_s}}},
            {"the ideographic full stop", u"ja"_s, u"Game saved."_s, u"ゲームを保存しました。"_s, {}},
            {"the full-width question mark", u"ja"_s, u"Quit?"_s, u"終了しますか？"_s, {}},
            {"the Arabic question mark", u"ar"_s, u"Quit?"_s, u"هل تريد الخروج؟"_s, {}},
            {"the Greek question mark", u"el"_s, u"Quit?"_s, u"Έξοδος;"_s, {}},
            {"a semicolon is no question mark outside Greek", u"de"_s, u"Quit?"_s, u"Beenden;"_s,
                {{TextCheck::EndPunctuation, u"“?” → “;”"_s}}},
            {"Thai drops the full stop", u"th"_s, u"Saved."_s, u"บันทึกแล้ว"_s, {}},
            {"a full stop added", u"fr"_s, u"Saved"_s, u"Enregistré."_s,
                {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"three dots are an ellipsis", u"fr"_s, u"Loading..."_s, u"Chargement…"_s, {}},
            {"a question made a statement", u"ru"_s, u"Are you sure?"_s, u"Вы уверены."_s,
                {{TextCheck::EndPunctuation, u"“?” → “.”"_s}}},
            {"both marks", u"de"_s, u"What?!"_s, u"Was?"_s, {{TextCheck::EndPunctuation, u"“?!” → “?”"_s}}},
            {"the end inside a closing tag", u"de"_s, u"<b>Done.</b>"_s, u"<b>Fertig</b>"_s,
                {{TextCheck::EndPunctuation, u"“.” → none"_s}}},
            {"Spanish inverted question mark", u"es"_s, u"Are you sure?"_s, u"¿Estás seguro?"_s, {}},
            {"Spanish inverted exclamation mark", u"es"_s, u"Great!"_s, u"¡Genial!"_s, {}},
            {"German quotation marks", u"de"_s, u"\"Hello\""_s, u"„Hallo“"_s, {}},
            {"Japanese quotation marks", u"ja"_s, u"\"Hello\""_s, u"「こんにちは」"_s, {}},
            {"a dropped dash", u"fr"_s, u"- Option"_s, u"Option"_s, {{TextCheck::StartPunctuation, u"“-” → none"_s}}},
            {"an inverted mark outside Spanish", u"fr"_s, u"Great!"_s, u"¡Génial !"_s,
                {{TextCheck::StartPunctuation, u"none → “¡”"_s}}},
            {"French spaces before a colon", u"fr"_s, u"Note: save often"_s, u"Remarque : sauvegardez souvent"_s, {}},
            {"French wants a space before ?", u"fr"_s, u"Continue?"_s, u"Continuer?"_s,
                {{TextCheck::PunctuationSpacing, u"no space before “?” at 9"_s}}},
            {"French wants spaces inside « »", u"fr"_s, u"He said \"yes\""_s, u"Il a dit «oui»"_s,
                {{TextCheck::PunctuationSpacing, u"no space after “«” at 9"_s}}},
            {"a time in French", u"fr"_s, u"Time: 12:30"_s, u"Heure : 12:30"_s, {}},
            {"a space before ? in German", u"de"_s, u"Continue?"_s, u"Weiter ?"_s,
                {{TextCheck::PunctuationSpacing, u"space before “?” at 7"_s}}},
            {"a space before a comma in Russian", u"ru"_s, u"Yes, sir"_s, u"Да , сэр"_s,
                {{TextCheck::PunctuationSpacing, u"space before “,” at 3"_s}}},
            {"a smiley", u"de"_s, u"Thanks :)"_s, u"Danke :)"_s, {}},
            {"the reference spaces the same", u"de"_s, u"Ready ?"_s, u"Bereit ?"_s, {}},
            {"a spaced ellipsis", u"de"_s, u"Wait..."_s, u"Warte ..."_s, {}},
            {"no language, no spacing rule", u""_s, u"Continue?"_s, u"Continuer ?"_s, {}},
        },
        group);
}

TEST(TextChecks, Words)
{
    const TextChecks group
        = TextCheck::DoubledWord | TextCheck::DoubleSpace | TextCheck::FirstLetterCase | TextCheck::MixedScripts;
    expectCases(
        {
            {"a doubled article", u"en"_s, u"Open the door"_s, u"Open the the door"_s,
                {{TextCheck::DoubledWord, u"“the the”"_s}}},
            {"French reflexive nous nous", u"fr"_s, u"We wash ourselves"_s, u"Nous nous lavons"_s, {}},
            {"German relative die die", u"de"_s, u"Those who go"_s, u"Die die gehen"_s, {}},
            {"a doubled German noun", u"de"_s, u"Save the game"_s, u"Spiel Spiel speichern"_s,
                {{TextCheck::DoubledWord, u"“Spiel Spiel”"_s}}},
            {"a doubled Russian word", u"ru"_s, u"Yes"_s, u"Да да"_s, {{TextCheck::DoubledWord, u"“Да да”"_s}}},
            {"the reference doubles too", u"ru"_s, u"Knock knock"_s, u"Тук тук"_s, {}},
            {"words apart by a comma", u"en"_s, u"Well, well"_s, u"Well, well"_s, {}},
            {"a double space", u"de"_s, u"Save game"_s, u"Spiel  speichern"_s, {{TextCheck::DoubleSpace, u"at 5"_s}}},
            {"the reference has a double space", u"fr"_s, u"Name:  value"_s, u"Nom :  valeur"_s, {}},
            {"spaces at the edges", u"de"_s, u"Save"_s, u"  Sichern  "_s, {}},
            {"a capital first letter", u"fr"_s, u"save"_s, u"Sauvegarder"_s,
                {{TextCheck::FirstLetterCase, u"“s” → “S”"_s}}},
            {"the first letter after quotes", u"ru"_s, u"\"Start\""_s, u"«начать»"_s,
                {{TextCheck::FirstLetterCase, u"“S” → “н”"_s}}},
            {"a placeholder first", u"de"_s, u"{0} items"_s, u"{0} Gegenstände"_s, {}},
            {"a tag first", u"de"_s, u"<b>open</b>"_s, u"<b>Öffnen</b>"_s, {}},
            {"a digit first", u"de"_s, u"3 lives"_s, u"3 Leben"_s, {}},
            {"Japanese has no case", u"ja"_s, u"Steam"_s, u"steam版"_s, {}},
            {"Arabic has no case", u"ar"_s, u"Hello"_s, u"مرحبا"_s, {}},
            {"a Latin p in a Cyrillic word", u"ru"_s, u"Hello"_s, u"Пpивет"_s,
                {{TextCheck::MixedScripts, u"“Пpивет” mixes Latin and Cyrillic"_s}}},
            {"a Greek omicron in a Cyrillic word", u"ru"_s, u"Bye"_s, u"Пοка"_s,
                {{TextCheck::MixedScripts, u"“Пοка” mixes Greek and Cyrillic"_s}}},
            {"a Greek capital alpha in a Latin word", u"en"_s, u"Alpha"_s, u"Αlpha"_s,
                {{TextCheck::MixedScripts, u"“Αlpha” mixes Latin and Greek"_s}}},
            {"a Latin brand beside Cyrillic words", u"ru"_s, u"Open Steam"_s, u"Открыть Steam"_s, {}},
            {"Han and Hiragana", u"ja"_s, u"Go"_s, u"行こう"_s, {}},
            {"a mixed name the reference has", u"ru"_s, u"Play ЯUSSIA"_s, u"Играть в ЯUSSIA"_s, {}},
        },
        group);
}

TEST(TextChecks, Characters)
{
    const TextChecks group
        = TextCheck::ControlCharacters | TextCheck::InvisibleCharacters | TextCheck::ReplacementCharacter;
    expectCases(
        {
            {"ZWNJ in Persian", u"fa"_s, u"Save file"_s, u"ذخیره\u200Cی فایل"_s, {}},
            {"ZWJ in a Devanagari conjunct", u"hi"_s, u"Warrior"_s, u"क्\u200Dष"_s, {}},
            {"ZWJ in an emoji sequence", u"de"_s, u"Family"_s, u"👨\u200D👩\u200D👧 Familie"_s, {}},
            {"ZWJ between Latin letters", u"de"_s, u"Save"_s, u"Spei\u200Dchern"_s,
                {{TextCheck::InvisibleCharacters, u"U+200D at 4"_s}}},
            {"a zero-width space", u"de"_s, u"Save"_s, u"Spei\u200Bchern"_s,
                {{TextCheck::InvisibleCharacters, u"U+200B at 4"_s}}},
            {"a right-to-left mark", u"ar"_s, u"Save"_s, u"\u200Fحفظ"_s,
                {{TextCheck::InvisibleCharacters, u"U+200F at 0"_s}}},
            {"the reference's own mark", u"ar"_s, u"\u200FSave"_s, u"\u200Fحفظ"_s, {}},
            {"a byte-order mark", u"fr"_s, u"Hi"_s, u"\uFEFFSalut"_s,
                {{TextCheck::InvisibleCharacters, u"U+FEFF at 0"_s}}},
            {"each character once", u"de"_s, u"abcd"_s, u"a\u200Bb\u200Bc\u200Ed"_s,
                {{TextCheck::InvisibleCharacters, u"U+200B at 1, U+200E at 5"_s}}},
            {"a soft hyphen", u"de"_s, u"Savegame"_s, u"Spiel\u00ADstand"_s, {}},
            {"a C1 control", u"ru"_s, u"Press A"_s, u"Нажмите\u0085A"_s,
                {{TextCheck::ControlCharacters, u"U+0085 at 7"_s}}},
            {"the reference's game codes", u"ru"_s, u"\u0001Name\u0002"_s, u"\u0001Имя\u0002"_s, {}},
            {"a game code of its own", u"ru"_s, u"Name"_s, u"Имя\u0003"_s,
                {{TextCheck::ControlCharacters, u"U+0003 at 3"_s}}},
            {"DEL even where the reference has it", u"en"_s, u"A\u007F"_s, u"B\u007F"_s,
                {{TextCheck::ControlCharacters, u"U+007F at 1"_s}}},
            {"tab, CR and LF", u"de"_s, u"A"_s, u"B\tC\r\nD"_s, {}},
            {"a replacement character", u"ja"_s, u"Save"_s, u"保\uFFFD"_s,
                {{TextCheck::ReplacementCharacter, u"U+FFFD at 1"_s}}},
            {"the reference's replacement character", u"de"_s, u"Sa\uFFFDve"_s, u"Sp\uFFFDeichern"_s, {}},
        },
        group);
}

TEST(TextChecks, Length)
{
    const auto limits = [](const int maxCharacters, const int maxPercent) {
        checks::TextCheckContext context;
        context.maxCharacters = maxCharacters;
        context.maxPercentOfReference = maxPercent;
        return context;
    };
    const std::vector<Case> within{{"within", u"fr"_s, u"Start"_s, u"Commencer"_s, {}}};
    expectCases(within, TextCheck::Length, limits(10, 0));
    expectCases(within, TextCheck::Length, limits(0, 0));
    expectCases(
        {{"over the limit", u"fr"_s, u"Start"_s, u"Commencer"_s, {{TextCheck::Length, u"9 characters, at most 5"_s}}}},
        TextCheck::Length, limits(5, 0));
    expectCases({{"over 150% of the reference", u"fr"_s, u"Start"_s, u"Démarrer"_s,
                    {{TextCheck::Length, u"8 characters, at most 7 (150% of 5)"_s}}}},
        TextCheck::Length, limits(20, 150));
    expectCases({{"over both: the stricter", u"fr"_s, u"Start"_s, u"Démarrer"_s,
                    {{TextCheck::Length, u"8 characters, at most 6"_s}}}},
        TextCheck::Length, limits(6, 150));
    expectCases({{"an emoji is one code point", u"ja"_s, u"Go"_s, u"😀😀😀"_s, {}}}, TextCheck::Length, limits(3, 0));
}

// What counts as one tag, address, number or ending: each text beside a
// reference that has none, so the finding lists what the check recognised.
TEST(TextChecks, WhatCountsAsATag)
{
    expectCases(
        {
            {"quoted attribute", u"en"_s, u"x"_s, u"<a href=\"https://x.org/a b\">link</a>"_s,
                {{TextCheck::Tags, u"extra </a>, <a href=\"https://x.org/a b\">"_s}}},
            {"single-quoted attribute", u"en"_s, u"x"_s, u"<font color='red'>"_s,
                {{TextCheck::Tags, u"extra <font color='red'>"_s}}},
            {"a named slot", u"en"_s, u"x"_s, u"<PlayerName> wins"_s, {{TextCheck::Tags, u"extra <PlayerName>"_s}}},
            {"self-closing", u"en"_s, u"x"_s, u"one<br/>two"_s, {{TextCheck::Tags, u"extra <br/>"_s}}},
            {"bracket tag with a value", u"en"_s, u"x"_s, u"[url=https://x.org]site[/url]"_s,
                {{TextCheck::Tags, u"extra [/url], [url=https://x.org]"_s}}},
            {"bracket tag closed in another case", u"en"_s, u"x"_s, u"[B]bold[/b]"_s,
                {{TextCheck::Tags, u"extra [/b], [B]"_s}}},
            {"unterminated", u"en"_s, u"x"_s, u"<b bold"_s, {}},
            {"across a line break", u"en"_s, u"x"_s, u"<b\n>"_s, {}},
            {"a heart", u"en"_s, u"x"_s, u"<3 you"_s, {}},
            {"an arrow", u"en"_s, u"x"_s, u"x <- y"_s, {}},
            {"a key hint", u"en"_s, u"x"_s, u"[E] to use"_s, {}},
            {"spaces in a bracket tag", u"en"_s, u"x"_s, u"[color = red]"_s, {}},
        },
        TextCheck::Tags);
}

TEST(TextChecks, WhatCountsAsAnAddress)
{
    expectCases(
        {
            {"closing bracket and full stop", u"en"_s, u"x"_s, u"(see https://a.com/x)."_s,
                {{TextCheck::Urls, u"extra https://a.com/x"_s}}},
            {"a query", u"en"_s, u"x"_s, u"Go to https://a.com/s?q=1&b=2."_s,
                {{TextCheck::Urls, u"extra https://a.com/s?q=1&b=2"_s}}},
            {"www and a comma", u"en"_s, u"x"_s, u"Visit www.a.com, then"_s, {{TextCheck::Urls, u"extra www.a.com"_s}}},
            {"upper case", u"en"_s, u"x"_s, u"HTTPS://A.COM"_s, {{TextCheck::Urls, u"extra HTTPS://A.COM"_s}}},
            {"French quotation marks", u"fr"_s, u"x"_s, u"«https://a.com»"_s,
                {{TextCheck::Urls, u"extra https://a.com"_s}}},
            {"an address with dots and plus", u"en"_s, u"x"_s, u"Mail user.name+tag@mail.example.org today"_s,
                {{TextCheck::Urls, u"extra user.name+tag@mail.example.org"_s}}},
            {"an address before a full stop", u"en"_s, u"x"_s, u"Write to a@b.c."_s,
                {{TextCheck::Urls, u"extra a@b.c"_s}}},
            {"an at sign alone", u"en"_s, u"x"_s, u"@home"_s, {}},
            {"www inside a word", u"en"_s, u"x"_s, u"awww.x"_s, {}},
        },
        TextCheck::Urls);
}

TEST(TextChecks, WhatCountsAsANumber)
{
    expectCases(
        {
            {"thousands", u"en"_s, u"x"_s, u"1,000,000 gold"_s, {{TextCheck::Numbers, u"extra 1,000,000"_s}}},
            {"a decimal", u"en"_s, u"x"_s, u"Pi is 3.14"_s, {{TextCheck::Numbers, u"extra 3.14"_s}}},
            {"a version", u"en"_s, u"x"_s, u"Version v1.2.3"_s, {{TextCheck::Numbers, u"extra 1.2.3"_s}}},
            {"no-break spaces", u"de"_s, u"x"_s, u"1\u00A0000\u00A0000 Gold"_s,
                {{TextCheck::Numbers, u"extra 1\u00A0000\u00A0000"_s}}},
            {"a narrow no-break space and a decimal comma", u"fr"_s, u"x"_s, u"12\u202F345,67 €"_s,
                {{TextCheck::Numbers, u"extra 12\u202F345,67"_s}}},
            {"the Arabic thousands separator", u"ar"_s, u"x"_s, u"١٬٠٠٠ ذهب"_s,
                {{TextCheck::Numbers, u"extra ١٬٠٠٠"_s}}},
            {"full-width digits", u"ja"_s, u"x"_s, u"２０２４年"_s, {{TextCheck::Numbers, u"extra ２０２４"_s}}},
            {"Thai digits", u"th"_s, u"x"_s, u"๑๒ บาท"_s, {{TextCheck::Numbers, u"extra ๑๒"_s}}},
            {"Devanagari digits", u"hi"_s, u"x"_s, u"१२ रुपये"_s, {{TextCheck::Numbers, u"extra १२"_s}}},
            {"a sign is no part", u"en"_s, u"x"_s, u"-5 HP"_s, {{TextCheck::Numbers, u"extra 5"_s}}},
            {"leading zeros kept as written", u"en"_s, u"x"_s, u"Room 007"_s, {{TextCheck::Numbers, u"extra 007"_s}}},
            {"two numbers, by value", u"en"_s, u"x"_s, u"3 and 2"_s, {{TextCheck::Numbers, u"extra 2, 3"_s}}},
            {"beside a placeholder", u"en"_s, u"x"_s, u"%d items, 5 left"_s, {{TextCheck::Numbers, u"extra 5"_s}}},
            {"inside a tag", u"en"_s, u"x"_s, u"<size=12>Big</size>"_s, {}},
            {"a superscript is no digit", u"en"_s, u"x"_s, u"x²"_s, {}},
        },
        TextCheck::Numbers);
}

TEST(TextChecks, WhatCountsAsAnEnding)
{
    expectCases(
        {
            {"full stop", u"en"_s, u"x"_s, u"Hello."_s, {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"after a space", u"en"_s, u"x"_s, u"Done. "_s, {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"three dots", u"en"_s, u"x"_s, u"Hello..."_s, {{TextCheck::EndPunctuation, u"none → “...”"_s}}},
            {"an ellipsis", u"en"_s, u"x"_s, u"Hello…"_s, {{TextCheck::EndPunctuation, u"none → “…”"_s}}},
            {"both marks", u"en"_s, u"x"_s, u"Really?!"_s, {{TextCheck::EndPunctuation, u"none → “?!”"_s}}},
            {"inside quotes", u"en"_s, u"x"_s, u"\"Done.\""_s, {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"inside brackets", u"en"_s, u"x"_s, u"(Done.)"_s, {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"inside a tag", u"en"_s, u"x"_s, u"<b>Done.</b>"_s, {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"a colon", u"en"_s, u"x"_s, u"Wait:"_s, {{TextCheck::EndPunctuation, u"none → “:”"_s}}},
            {"Russian exclamation", u"ru"_s, u"x"_s, u"Готово!"_s, {{TextCheck::EndPunctuation, u"none → “!”"_s}}},
            {"ideographic full stop", u"ja"_s, u"x"_s, u"終わり。"_s, {{TextCheck::EndPunctuation, u"none → “。”"_s}}},
            {"danda", u"hi"_s, u"x"_s, u"नमस्ते।"_s, {{TextCheck::EndPunctuation, u"none → “।”"_s}}},
            {"No. is a word", u"en"_s, u"x"_s, u"No."_s, {{TextCheck::EndPunctuation, u"none → “.”"_s}}},
            {"e.g.", u"en"_s, u"x"_s, u"Fruit, e.g."_s, {}},
            {"Dr.", u"en"_s, u"x"_s, u"Ask the Dr."_s, {}},
            {"etc.", u"fr"_s, u"x"_s, u"Pommes, poires, etc."_s, {}},
            {"и т.д.", u"ru"_s, u"x"_s, u"Яблоки и т.д."_s, {}},
        },
        TextCheck::EndPunctuation);
}

// Language tags are read by their primary subtag, in any case, with '-' or
// '_': every French form wants the space, and a three-letter code that
// starts with "fr" is no French.
TEST(TextChecks, LanguageTagsByPrimarySubtag)
{
    std::vector<Case> cases;
    for (const QString& french : {u"fr"_s, u"FR"_s, u"fr-CA"_s, u"fr_CH"_s})
        cases.push_back({"French", french, u"Continue?"_s, u"Continuer?"_s,
            {{TextCheck::PunctuationSpacing, u"no space before “?” at 9"_s}}});
    for (const QString& other : {u"fra"_s, u"de"_s, u""_s, u"f"_s, u"-fr"_s})
        cases.push_back({"not French", other, u"Continue?"_s, u"Continuer?"_s, {}});
    expectCases(cases, TextCheck::PunctuationSpacing);
}

TEST(TextChecks, SetsOfChecks)
{
    const TextChecks some = TextCheck::Tags | TextCheck::Numbers;
    EXPECT_EQ(some.bits(), 0b1001u);
    EXPECT_TRUE(some.testFlag(TextCheck::Numbers));
    EXPECT_FALSE(some.testFlag(TextCheck::Urls));
    EXPECT_EQ(TextChecks(some).setFlag(TextCheck::Tags, false), TextChecks(TextCheck::Numbers));
    EXPECT_EQ(~TextChecks(), TextChecks::all());
    EXPECT_EQ(TextChecks::fromBits(0xFFFFFFFFu), TextChecks::all());
    EXPECT_EQ(TextChecks::all().bits(), (1u << checks::TextCheckCount) - 1);
    EXPECT_TRUE((some & TextCheck::Urls).isEmpty());
}

// The direct answers for Latin-1, Latin Extended and the Greek and
// Cyrillic blocks give ICU's script: a Latin "a" beside each letter mixes
// scripts exactly when ICU calls that letter Greek or Cyrillic, and a
// Cyrillic "д" exactly when ICU calls it Latin or Greek.
TEST(TextChecks, MixedScriptsAgreeWithIcu)
{
    checks::TextCheckContext context;
    context.enabled = TextCheck::MixedScripts;
    const auto mixes = [&context](const QString& word) {
        return checks::failingTextChecks(u"x"_s, word, context).testFlag(TextCheck::MixedScripts);
    };
    for (char32_t c = 0x00C0; c < 0x0530; ++c) {
        if (!QChar::isLetter(c))
            continue;
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
        const QChar letter(static_cast<char16_t>(c));
        EXPECT_EQ(mixes(u"a"_s + letter), script == USCRIPT_GREEK || script == USCRIPT_CYRILLIC)
            << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(mixes(u"д"_s + letter), script == USCRIPT_LATIN || script == USCRIPT_GREEK)
            << std::hex << static_cast<unsigned>(c);
    }
}

// The table of unit flags answers as Qt does for every unit of the BMP, and
// no decimal digit escapes the number check (its blocks are listed by hand).
TEST(TextChecks, ShortcutsAgreeWithUnicodeOverTheBmp)
{
    checks::TextCheckContext context;
    context.enabled = TextCheck::Numbers;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        ASSERT_EQ(checks::scan::isLetterOrMark(c), QChar::isLetter(c) || QChar::isMark(c))
            << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(checks::scan::isWhitespace(static_cast<char16_t>(c)), QChar::isSpace(c))
            << std::hex << static_cast<unsigned>(c);
        const QString digit(QChar(static_cast<char16_t>(c)));
        ASSERT_EQ(checks::failingTextChecks(u"x"_s, digit, context).testFlag(TextCheck::Numbers), QChar::isDigit(c))
            << std::hex << static_cast<unsigned>(c);
    }
}

// Random texts made of the pieces the checks look at: the fast route's
// set always equals the findings' set.
TEST(TextChecks, BothRoutesAgreeOnRandomPairs)
{
    const QStringList pieces{u"Save"_s, u"the"_s, u"game"_s, u"Спасти"_s, u"игру"_s, u"ゲーム"_s, u"حفظ"_s, u"ذخیره"_s,
        u"Ελλάδα"_s, u"nous"_s, u"<b>"_s, u"</b>"_s, u"<B>"_s, u"[b]"_s, u"[/b]"_s, u"[Open]"_s, u"<br />"_s,
        u"a < b"_s, u"\\n"_s, u"\\\\"_s, u"%d"_s, u"%1$s"_s, u"{0}"_s, u"50%"_s, u"12"_s, u"١٢"_s, u"1,000"_s,
        u"1 000"_s, u"07"_s, u"www.a.com"_s, u"https://b.org/x"_s, u"me@x.io"_s, u"@"_s, u"."_s, u"..."_s, u"…"_s,
        u"?"_s, u"!"_s, u":"_s, u";"_s, u","_s, u"¿"_s, u"«"_s, u"»"_s, u"\""_s, u"„"_s, u"-"_s, u" "_s, u"  "_s,
        u"\u00A0"_s, u"\u202F"_s, u"\n"_s, u"\t"_s, u"\u200B"_s, u"\u200C"_s, u"\u200D"_s, u"\u200F"_s, u"\uFEFF"_s,
        u"\u00AD"_s, u"\u0001"_s, u"\u0085"_s, u"\u007F"_s, u"\uFFFD"_s, u"p"_s, u"о"_s, u"ο"_s, u"😀"_s, u"Mr."_s,
        QString(QChar(0xD800))};
    const QStringList languages{u""_s, u"en"_s, u"fr"_s, u"fr-CA"_s, u"de"_s, u"ru"_s, u"ja"_s, u"ar"_s, u"el"_s,
        u"es"_s, u"th"_s, u"fa"_s, u"hi"_s};
    std::mt19937 random(20261209);
    const auto randomText = [&] {
        QString text;
        const int count = std::uniform_int_distribution<int>(0, 8)(random);
        for (int i = 0; i < count; ++i) {
            text += pieces[std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(random)];
            if (random() % 2)
                text += u' ';
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        checks::TextCheckContext context;
        context.targetLanguage = languages[std::uniform_int_distribution<qsizetype>(0, languages.size() - 1)(random)];
        context.enabled = TextChecks::all();
        context.maxCharacters = static_cast<int>(random() % 40);
        context.maxPercentOfReference = static_cast<int>(random() % 3) * 100;
        const QString reference = randomText();
        const QString text = randomText();
        TextChecks fromFindings;
        for (const checks::TextFinding& finding : checks::textFindings(reference, text, context)) {
            fromFindings |= finding.check;
            EXPECT_FALSE(finding.detail.isEmpty()) << keyOf(finding.check);
        }
        ASSERT_EQ(checks::failingTextChecks(reference, text, context).bits(), fromFindings.bits())
            << "reference \"" << reference.toStdString() << "\", text \"" << text.toStdString() << "\", language "
            << context.targetLanguage.toStdString();
    }
}

} // namespace
