// The review file through its reader and writer: every state with hostile
// texts in names, notes and snapshots comes back exactly, random reviews
// write one line each and read back equal, and damaged files are refused
// at the line that is wrong.

#include "review/ReviewFile.h"
#include "review/WordDiff.h"

#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using review::EntryReview;
using review::ReviewFile;
using review::ReviewFileError;
using review::ReviewLine;
using review::State;

QString units(std::initializer_list<char16_t> codes)
{
    QString text;
    for (const char16_t code : codes)
        text += QChar(code);
    return text;
}

TEST(ReviewFile, EveryStateAndHostileTextComesBackExactly)
{
    const QString hostile[] = {
        QString(),
        QStringLiteral("plain"),
        QStringLiteral("tab\there, line\nfeed, return\r and \\ backslash"),
        QStringLiteral("\\t \\n \\u0041 written out"),
        QStringLiteral("= - # at the start"),
        units({0xD800}),                             // a lone high surrogate
        units({u'a', 0xDC00, u'b'}),                 // a lone low surrogate
        units({0xD83D, 0xDE00, 0xD83D}),             // a pair, then half of one
        QStringLiteral("Ünïcödé 日本語 \U0001F600"), // whole characters of every width
        QString(1, QChar(u'\0')) + QStringLiteral("\x01\x1F control"),
    };
    const State states[] = {State::Unset, State::NeedsReview, State::Translated, State::Approved};
    ReviewFile file;
    file.language = {1295, QByteArray(32, '\x5A')};
    int number = 0;
    for (const State state : states) {
        for (const QString& text : hostile) {
            ++number;
            ReviewLine line;
            line.number = number % 7 == 0 ? QStringLiteral("#") + text : QString::number(number);
            line.name = QStringLiteral("FE.") + text + QString::number(number);
            line.review.state = state;
            line.review.note = text;
            if (number % 3 != 0)
                line.review.snapshot = text;
            file.lines.push_back(line);
        }
    }
    const QByteArray bytes = review::writeReviewFile(file);
    EXPECT_EQ(bytes.count('\n'), static_cast<qsizetype>(file.lines.size()) + 2) << "one line an entry";
    EXPECT_EQ(review::readReviewFile(bytes), file);

    // Line endings a checkout may have turned into CR LF.
    QByteArray crlf = bytes;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(review::readReviewFile(crlf), file);
}

TEST(ReviewFile, RandomReviewsRoundTrip)
{
    std::mt19937 random(3);
    testsupport::TextMix mix;
    mix.controlCodes = true;
    mix.loneSurrogates = true;
    for (int round = 0; round < 40; ++round) {
        ReviewFile file;
        const int lines = static_cast<int>(random() % 30);
        for (int i = 0; i < lines; ++i) {
            ReviewLine line;
            line.number = testsupport::randomText(random, 4, mix);
            line.name = QStringLiteral("N%1").arg(i) + testsupport::randomText(random, 10, mix);
            line.review.state = static_cast<State>(random() % 4);
            line.review.note = testsupport::randomText(random, 20, mix);
            if (random() % 2 == 0)
                line.review.snapshot = testsupport::randomText(random, 20, mix);
            file.lines.push_back(line);
        }
        const QByteArray bytes = review::writeReviewFile(file);
        ASSERT_EQ(bytes.count('\n'), lines + 1) << round;
        ASSERT_EQ(review::readReviewFile(bytes), file) << round;
    }
}

// The languages a translator gave are kept on a line of their own, one of
// them alone too; a file without the line gives none.
TEST(ReviewFile, TheLanguagesComeBack)
{
    const std::vector<std::pair<review::ReviewLanguages, QByteArray>> cases{
        {{QStringLiteral("en"), QStringLiteral("pt_BR")}, "# languages en pt_BR\n"},
        {{QString(), QStringLiteral("de")}, "# languages - de\n"},
        {{QStringLiteral("zh-Hant"), QString()}, "# languages zh-Hant -\n"},
        {{}, ""},
    };
    for (const auto& [languages, line] : cases) {
        review::ReviewFile file;
        file.languages = languages;
        file.lines.push_back({QStringLiteral("1"), QStringLiteral("FE.A"), {review::State::Approved, {}, {}}});
        const QByteArray bytes = review::writeReviewFile(file);
        EXPECT_EQ(bytes, "# Ludra review 1\n" + line + "1\tFE.A\tapproved\t-\t\n");
        EXPECT_EQ(review::readReviewFile(bytes), file);
    }
}

// The checks turned on or off and the length limits come back, and so do
// the keys and settings of a newer version; nothing changed writes no line.
TEST(ReviewFile, TheChecksComeBack)
{
    const auto checks = [](QStringList on, QStringList off, int characters, int percent, QStringList other = {}) {
        return review::ReviewChecks{std::move(on), std::move(off), characters, percent, {}, std::move(other)};
    };
    const std::vector<std::pair<review::ReviewChecks, QByteArray>> cases{
        {checks({QStringLiteral("length")}, {QStringLiteral("doubled-word"), QStringLiteral("double-space")}, 40, 150),
            "# checks +length -doubled-word -double-space max-characters=40 max-percent=150\n"},
        {checks({}, {QStringLiteral("spelling")}, 0, 0), "# checks -spelling\n"},
        {checks({}, {}, 1, 0), "# checks max-characters=1\n"},
        {review::ReviewChecks{{}, {}, 0, 0, QStringLiteral("de-AT"), {}}, "# checks dictionary=de-AT\n"},
        {checks({QStringLiteral("a-check-of-2030")}, {}, 0, 1'000'000, {QStringLiteral("max-lines=2")}),
            "# checks +a-check-of-2030 max-percent=1000000 max-lines=2\n"},
        {{}, ""},
    };
    for (const auto& [kept, line] : cases) {
        review::ReviewFile file;
        file.languages = {QStringLiteral("en"), QStringLiteral("fr")};
        file.checks = kept;
        const QByteArray bytes = review::writeReviewFile(file);
        EXPECT_EQ(bytes, "# Ludra review 1\n# languages en fr\n" + line);
        EXPECT_EQ(review::readReviewFile(bytes), file);
    }
}

TEST(ReviewFile, DamagedFilesAreRefusedAtTheirLine)
{
    const QByteArray header("# Ludra review 1\n");
    const QByteArray good("1\tFE.A\tapproved\t=Apple\tnote\n");
    struct Case {
        const char* what;
        QByteArray bytes;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"no header", good, 1, "no review file"},
        {"a later version", "# Ludra review 2\n" + good, 1, "no review file"},
        {"a field too few", header + good + "2\tFE.B\ttranslated\t-\n", 3, "4 fields"},
        {"a field too many", header + "2\tFE.B\ttranslated\t-\tx\ty\n", 2, "6 fields"},
        {"cut short in a line", header + good + "2\tFE.B\ttrans", 3, "3 fields"},
        {"an unknown state", header + "2\tFE.B\tfinal\t-\t\n", 2, "\"final\" is no state"},
        {"a bad escape", header + good + "2\tFE.B\t-\t-\tbad \\q\n", 3, "bad escape in the note"},
        {"a short \\u", header + "2\tFE.B\t-\t=\\u12\t\n", 2, "bad escape in the snapshot"},
        {"a snapshot of neither kind", header + "2\tFE.B\t-\tx\t\n", 2, "neither"},
        {"an entry twice", header + good + "\n" + good, 4, "line 2 names this entry already"},
        {"bytes that are not UTF-8", header + good + "2\tFE.\xC3\x28\t-\t-\t\n", 3, "not UTF-8"},
        {"a surrogate encoded in UTF-8", header + "2\tFE.\xED\xA0\x80\t-\t-\t\n", 2, "not UTF-8"},
        {"a fingerprint that is none", header + "# language-file 12 nothex\n", 2, "size and hash"},
        {"a negative size", header + "# language-file -5 " + QByteArray(64, 'a') + "\n", 2, "size and hash"},
        {"one language", header + "# languages en\n", 2, "not two language tags"},
        {"three languages", header + "# languages en de fr\n", 2, "not two language tags"},
        {"a tag of other letters", header + "# languages en d\xC3\xA9\n", 2, "not two language tags"},
        {"an empty tag", header + "# languages  de\n", 2, "not two language tags"},
        {"a key in capitals", header + "# checks -Spelling\n", 2, "word it cannot read"},
        {"a bare key", header + "# checks spelling\n", 2, "word it cannot read"},
        {"a limit of nothing", header + "# checks max-characters=\n", 2, "not a number"},
        {"a limit of 0", header + "# checks max-percent=0\n", 2, "not a number"},
        {"a limit too large", header + "# checks max-characters=1000001\n", 2, "not a number"},
        {"a negative limit", header + "# checks max-characters=-4\n", 2, "not a number"},
        {"a setting of other letters", header + "# checks max-lines=\xC3\xA9\n", 2, "word it cannot read"},
        {"a dictionary of no tag", header + "# checks dictionary=\n", 2, "not a language tag"},
        {"a dictionary of none", header + "# checks dictionary=-\n", 2, "not a language tag"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            (void)review::readReviewFile(c.bytes);
            ADD_FAILURE() << "taken";
        } catch (const ReviewFileError& error) {
            EXPECT_EQ(error.line(), c.line);
            EXPECT_TRUE(error.reason().contains(QLatin1String(c.reason))) << error.message().toStdString();
        }
    }
}

// Files give one name to several entries, and an entry may have no name:
// the number tells them apart.
// A file large enough to be read in two halves at once: it comes back
// whole, and a fault in either half, or a name given in both, is told at
// its line of the whole file.
TEST(ReviewFile, ALargeFileIsReadInHalvesWithItsLinesNumberedWhole)
{
    ReviewFile file;
    file.language = {1234, QByteArray(32, '\x07')};
    constexpr int count = 120'000;
    for (int i = 0; i < count; ++i) {
        file.lines.push_back({QString::number(i + 1), QStringLiteral("FE.Entry.%1").arg(i),
            {static_cast<State>(1 + i % 3), i % 7 == 0 ? QStringLiteral("n\t%1").arg(i) : QString(),
                QStringLiteral("Source text number %1 with some words").arg(i)}});
    }
    const QByteArray bytes = review::writeReviewFile(file);
    ASSERT_GT(bytes.size(), 4 << 20) << "too small to be read in halves";
    EXPECT_EQ(review::readReviewFile(bytes), file);

    // Line k + 3 of the file holds file line k (after the two header lines).
    const auto refusedAt = [](const QByteArray& damaged) {
        try {
            (void)review::readReviewFile(damaged);
        } catch (const ReviewFileError& error) {
            return error.line();
        }
        return -1;
    };
    const auto lineStart = [&](const QByteArray& in, const int line) {
        qsizetype at = 0;
        for (int i = 1; i < line; ++i)
            at = in.indexOf('\n', at) + 1;
        return at;
    };
    for (const int damagedLine : {10, count - 5}) {
        SCOPED_TRACE(damagedLine);
        QByteArray badUtf8 = bytes;
        badUtf8[lineStart(bytes, damagedLine) + 1] = '\xC0';
        EXPECT_EQ(refusedAt(badUtf8), damagedLine);
        // A letter before the state's word: no state.
        QByteArray badState = bytes;
        const qsizetype nameTab = bytes.indexOf('\t', lineStart(bytes, damagedLine));
        badState.insert(bytes.indexOf('\t', nameTab + 1) + 1, "x");
        EXPECT_EQ(refusedAt(badState), damagedLine);
    }
    // The same entry near the start and near the end: told at the later.
    const QByteArray twice = bytes + "1\tFE.Entry.0\ttranslated\t-\t\n";
    EXPECT_EQ(refusedAt(twice), count + 3);
}

TEST(ReviewFile, OneNameForSeveralEntriesIsNoDuplicate)
{
    const QByteArray bytes("# Ludra review 1\n1\tFE.A\tapproved\t-\t\n2\tFE.A\ttranslated\t-\t\n3\t\t-\t-\tno name\n");
    const ReviewFile file = review::readReviewFile(bytes);
    ASSERT_EQ(file.lines.size(), 3u);
    EXPECT_EQ(file.lines[1].review.state, State::Translated);
    EXPECT_EQ(file.lines[2].name, QString());
}

TEST(ReviewFile, AnAbsurdLineLengthIsRefusedBeforeItIsDecoded)
{
    QByteArray bytes("# Ludra review 1\n1\tFE.A\t-\t=");
    bytes.append(QByteArray(review::longestReviewLine, 'x'));
    bytes.append("\t\n");
    try {
        (void)review::readReviewFile(bytes);
        ADD_FAILURE() << "taken";
    } catch (const ReviewFileError& error) {
        EXPECT_EQ(error.line(), 2);
    }
}

TEST(ReviewFile, TheReviewFileIsNoLanguageFileToTheGame)
{
    // The game takes lang*.xom; the review beside it ends otherwise.
    const QString path = review::reviewPathFor(QStringLiteral("/data/lang_de.xom"));
    EXPECT_EQ(path, QStringLiteral("/data/lang_de.xom.review"));
    EXPECT_FALSE(path.endsWith(QStringLiteral(".xom")));
}

} // namespace

namespace {

using review::DiffPart;
using Kind = review::DiffPart::Kind;

// The parts of a diff written with [-deleted-] and {+inserted+}.
QString shown(const std::vector<DiffPart>& parts)
{
    QString text;
    for (const DiffPart& part : parts) {
        if (part.kind == Kind::Same)
            text += part.text;
        else if (part.kind == Kind::Deleted)
            text += QStringLiteral("[-") + part.text + QStringLiteral("-]");
        else
            text += QStringLiteral("{+") + part.text + QStringLiteral("+}");
    }
    return text;
}

TEST(WordDiff, MarksDeletedAndInsertedWords)
{
    struct Case {
        const char* before;
        const char* after;
        const char* diff;
    };
    const Case cases[] = {
        {"", "", ""},
        {"Quit", "Quit", "Quit"},
        {"", "New game", "{+New game+}"},
        {"Old game", "", "[-Old game-]"},
        {"Quit to desktop", "Quit to main menu", "Quit to [-desktop-]{+main menu+}"},
        {"Press %s to jump.", "Press %s to jump!", "Press %s to jump[-.-]{+!+}"},
        {"Welcome back, hero", "Welcome, hero", "Welcome[- back-], hero"},
        {"a b c", "c b a", "[-a-]{+c+} b [-c-]{+a+}"},
        {"Grüße aus 日本", "Grüße aus 中国", "Grüße aus [-日本-]{+中国+}"},
        {"smile \xF0\x9F\x98\x80 now", "smile \xF0\x9F\x98\x81 now",
            "smile [-\xF0\x9F\x98\x80-]{+\xF0\x9F\x98\x81+} now"},
    };
    for (const Case& c : cases) {
        const QString before = QString::fromUtf8(c.before);
        const QString after = QString::fromUtf8(c.after);
        const std::vector<DiffPart> parts = review::wordDiff(before, after);
        EXPECT_EQ(shown(parts), QString::fromUtf8(c.diff)) << c.before << " -> " << c.after;
        // Either side comes back whole from its parts.
        QString old;
        QString now;
        for (const DiffPart& part : parts) {
            if (part.kind != Kind::Inserted)
                old += part.text;
            if (part.kind != Kind::Deleted)
                now += part.text;
        }
        EXPECT_EQ(old, before);
        EXPECT_EQ(now, after);
    }
}

TEST(WordDiff, LongTextsAreToldAsChangedWhole)
{
    const QString before = QStringLiteral("a ").repeated(3000);
    const QString after = QStringLiteral("b ").repeated(3000);
    const std::vector<DiffPart> parts = review::wordDiff(before, after);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], (DiffPart{Kind::Deleted, before}));
    EXPECT_EQ(parts[1], (DiffPart{Kind::Inserted, after}));
}

} // namespace
