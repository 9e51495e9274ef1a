#include "text/TextMatcher.h"

#include "support/PinnedTextEnvironment.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>

namespace {

using testsupport::PinnedTextEnvironment;
using text::MatchMode;

constexpr MatchMode Contains = MatchMode::Contains;
constexpr MatchMode StartsWith = MatchMode::StartsWith;
constexpr MatchMode Whole = MatchMode::WholeText;
constexpr MatchMode Regex = MatchMode::RegularExpression;

// Each row replaces every match of pattern in text and names the result and
// the number of matches; the matcher's other queries must agree with it.
TEST(TextMatcher, FindsAndReplacesByModeCaseAndLocale)
{
    const struct {
        const char* locale;
        MatchMode mode;
        bool matchCase;
        const char16_t* pattern;
        const char16_t* text;
        const char16_t* replacement;
        const char16_t* replaced;
        int count;
    } rows[] = {
        {"en_US", Contains, false, u"continue", u"Continue? continue!", u"Resume", u"Resume? Resume!", 2},
        {"en_US", Contains, true, u"continue", u"Continue? continue!", u"Resume", u"Continue? Resume!", 1},
        {"en_US", Contains, false, u"aa", u"aaaaa", u"b", u"bba", 2}, // not overlapping
        {"en_US", Contains, false, u"", u"abc", u"x", u"abc", 0},
        {"en_US", Contains, false, u"x", u"", u"y", u"", 0},
        {"en_US", Contains, false, u"жук", u"ЖУК и жук", u"кот", u"кот и кот", 2},
        {"en_US", StartsWith, false, u"con", u"Continue con", u"X", u"Xtinue con", 1},
        {"en_US", StartsWith, true, u"con", u"Continue", u"X", u"Continue", 0},
        {"en_US", Whole, false, u"ok", u"OK", u"Fine", u"Fine", 1},
        {"en_US", Whole, false, u"ok", u"OK!", u"Fine", u"OK!", 0},
        {"en_US", Whole, true, u"ok", u"OK", u"Fine", u"OK", 0},
        // Line breaks are matched as they are and every other one is kept.
        {"en_US", Contains, false, u"continue", u"Continue\r\ncontinue\n\r", u"Go", u"Go\r\nGo\n\r", 2},
        {"en_US", Contains, false, u"e\r\nr", u"Line\r\nRow\nline\nrow", u"-", u"Lin-ow\nline\nrow", 1},
        {"en_US", Whole, false, u"a\r\nb", u"A\r\nB", u"c", u"c", 1},
        {"en_US", Regex, false, u"e\\r?\\nr", u"Line\r\nRow\nline\nrow", u"-", u"Lin-ow\nlin-ow", 2},
        {"en_US", Regex, false, u"^", u"a\r\nb", u"> ", u"> a\r\nb", 1}, // ^ is the cell's start
        {"en_US", Regex, false, u"b.c", u"b\nc", u"-", u"b\nc", 0},      // . is not a line break
        // Regular expressions and their groups.
        {"en_US", Regex, true, u"(\\w+)@(\\w+)", u"me@home, you@work", u"\\2 of \\1", u"home of me, work of you", 2},
        {"en_US", Regex, true, u"(a)|(b)", u"ab", u"[\\1\\2]", u"[a][b]", 2}, // a group that took no part is empty
        {"en_US", Regex, true, u"(a)", u"a", u"\\0\\\\\\q\\5\\", u"a\\\\q\\5\\", 1},
        {"en_US", Regex, true, u"\\d+", u"a1b22c", u"#", u"a#b#c", 2},
        {"en_US", Regex, false, u"CONTINUE", u"continue", u"x", u"x", 1},
        {"en_US", Regex, true, u"CONTINUE", u"continue", u"x", u"continue", 0},
        {"en_US", Regex, true, u"x*", u"ab", u"-", u"-a-b-", 3},
        {"en_US", Regex, false, u"\\w+", u"жук", u"w", u"w", 1},  // Unicode word characters
        {"en_US", Contains, true, u"1", u"\\1", u"2", u"\\2", 1}, // groups only in expressions
        // Surrogate pairs.
        {"en_US", Contains, false, u"😀", u"a😀b😀", u":)", u"a:)b:)", 2},
        {"en_US", Contains, false, u"\U00010400", u"\U00010428x", u"y", u"yx", 1}, // Deseret capital
        {"en_US", Regex, true, u".", u"😀", u"x", u"x", 1},
        {"en_US", Regex, true, u"x*", u"😀", u"-", u"-😀-", 2},
        {"en_US", Contains, false, u"\xD83D", u"a\xD83D", u"?", u"a?", 1}, // a lone surrogate
        {"en_US", Regex, true, u"b",
            u"\xDE00"
            u"b\xD83D",
            u"x", u"\xDE00x\xD83D", 1},
        {"en_US", Regex, true, u"(.)b",
            u"a\xD800"
            u"b",
            u"[\\1]", u"a[\xD800]", 1},
        // Simple case folding: ß stays one letter.
        {"en_US", Contains, false, u"strass", u"Straße", u"x", u"Straße", 0},
        {"de_DE", Contains, false, u"ss", u"Straße", u"x", u"Straße", 0},
        {"de_DE", Contains, false, u"\u1E9E", u"Straße", u"SS", u"StraSSe", 1},
        // The dotted and dotless i: Turkic only under Turkish and Azerbaijani.
        {"en_US", Contains, false, u"İst", u"istanbul", u"X", u"istanbul", 0},
        {"tr_TR", Contains, false, u"İst", u"istanbul", u"Ist", u"Istanbul", 1},
        {"az_AZ", Contains, false, u"İst", u"istanbul", u"Ist", u"Istanbul", 1},
        {"en_US", Contains, false, u"I", u"ıi", u"X", u"ıX", 1},
        {"tr_TR", Contains, false, u"I", u"ıi", u"X", u"Xi", 1},
        {"tr_TR", Whole, false, u"ISPARTA", u"ısparta", u"ok", u"ok", 1},
        {"tr_TR", StartsWith, false, u"i", u"Isparta", u"ok", u"Isparta", 0},
    };
    for (const auto& row : rows) {
        const QString locale = QString::fromLatin1(row.locale);
        const PinnedTextEnvironment pinned(locale, text::ansiCodePageForLocale(QLocale(locale)));
        const QString pattern = QString::fromUtf16(row.pattern);
        const QString text = QString::fromUtf16(row.text);
        const text::TextMatcher matcher({pattern, row.mode, row.matchCase});
        const std::string context
            = std::string(row.locale) + ": " + pattern.toStdString() + " in " + text.toStdString();

        int count = -1;
        EXPECT_EQ(
            matcher.replaceAllIn(text, QString::fromUtf16(row.replacement), count), QString::fromUtf16(row.replaced))
            << context;
        EXPECT_EQ(count, row.count) << context;
        EXPECT_EQ(matcher.countIn(text), row.count) << context;

        // Stepping with matchFrom and matchAt meets the same matches.
        const std::vector<text::TextMatch> all = matcher.allMatches(text);
        ASSERT_EQ(static_cast<int>(all.size()), row.count) << context;
        qsizetype from = 0;
        for (const text::TextMatch& match : all) {
            const std::optional<text::TextMatch> next = matcher.matchFrom(text, from);
            ASSERT_TRUE(next.has_value()) << context;
            EXPECT_EQ(next->start, match.start) << context;
            EXPECT_EQ(next->length, match.length) << context;
            const std::optional<text::TextMatch> here = matcher.matchAt(text, match.start);
            ASSERT_TRUE(here.has_value()) << context;
            EXPECT_EQ(here->length, match.length) << context;
            // An empty match is stepped over by a whole code point.
            from = match.start + match.length;
            if (match.length == 0)
                from += match.start + 1 < text.size() && text[match.start].isHighSurrogate() ? 2 : 1;
        }
    }
}

TEST(TextMatcher, ABadPatternSaysWhyAndFindsNothing)
{
    const text::TextMatcher bad({QStringLiteral("Continue (now"), MatchMode::RegularExpression, false});
    EXPECT_FALSE(bad.isValid());
    EXPECT_TRUE(bad.findsNothing());
    EXPECT_TRUE(bad.errorText().contains(QStringLiteral("parenthesis"))) << bad.errorText().toStdString();
    EXPECT_TRUE(bad.allMatches(QStringLiteral("Continue (now")).empty());

    // The same text is an ordinary search text in the other modes.
    const text::TextMatcher literal({QStringLiteral("Continue (now"), MatchMode::Contains, false});
    EXPECT_TRUE(literal.isValid());
    EXPECT_EQ(literal.countIn(QStringLiteral("Continue (now)")), 1);
}

} // namespace
