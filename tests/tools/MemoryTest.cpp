// ludra-lang memory and pretranslate: a game's official translation put into
// the memory, carried through TMX into another memory, and a new version of
// the game pre-translated from it; the calls that are refused and why.

#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

using namespace toolstest;
using namespace Qt::StringLiterals;

class MemoryCommands : public testing::Test {
protected:
    void SetUp() override
    {
        QDir(m_dir.path()).mkpath(u"official"_s);
        QDir(m_dir.path()).mkpath(u"next"_s);
        writeFile(path("lang_en.xom"),
            testsupport::simpleFile({{u"FE.Start"_s, u"Start the game"_s}, {u"FE.Quit"_s, u"Quit to desktop"_s},
                                        {u"FE.Lives"_s, u"You have 3 lives left."_s}, {u"FE.Credits"_s, u"Credits"_s}})
                .bytes());
        writeFile(path("official/lang_de.xom"),
            testsupport::simpleFile({{u"FE.Start"_s, u"Spiel starten"_s}, {u"FE.Quit"_s, u"Zurück zum Desktop"_s},
                                        {u"FE.Lives"_s, u"Noch 3 Leben."_s}, {u"FE.Credits"_s, u"Credits"_s}})
                .bytes());
        // The next version: one text new, one changed, the rest as before;
        // its German file starts as a copy of the English one.
        const auto next
            = testsupport::simpleFile({{u"FE.Start"_s, u"Start the game"_s}, {u"FE.Quit"_s, u"Quit to the desktop"_s},
                {u"FE.Lives"_s, u"You have 5 lives left."_s}, {u"FE.Options"_s, u"Options"_s}});
        writeFile(path("next/lang_en.xom"), next.bytes());
        writeFile(path("next/lang_de.xom"), next.bytes());
    }

    [[nodiscard]] QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    [[nodiscard]] ProgramRun memory(QStringList arguments, const char* file = "memory.ludra-tm") const
    {
        arguments.prepend(u"memory"_s);
        return runLang(arguments << u"--memory"_s << path(file));
    }

    QTemporaryDir m_dir;
};

TEST_F(MemoryCommands, AnOfficialTranslationCarriedToTheNextVersion)
{
    // "Credits" is the same in both languages: untranslated, no unit.
    const ProgramRun added = memory({u"add"_s, path("official/lang_de.xom"), u"--reference"_s, path("lang_en.xom")});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_TRUE(added.err.startsWith("3 units added, 0 updated (")) << added.err.toStdString();

    // Through TMX into a second memory, read by the same reader.
    const ProgramRun exported = memory({u"export"_s, path("memory.tmx")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.err, "3 units written\n");
    const ProgramRun imported = memory({u"import"_s, path("memory.tmx")}, "second.ludra-tm");
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.startsWith("3 units added, 0 updated (")) << imported.err.toStdString();

    const ProgramRun filled
        = runLang({u"pretranslate"_s, path("next/lang_de.xom"), u"--reference"_s, path("next/lang_en.xom"),
            path("next/out_de.xom"), u"--memory"_s, path("second.ludra-tm"), u"--report"_s, u"-"_s});
    ASSERT_EQ(filled.exitCode, 0) << filled.err.toStdString();
    // "Quit to the desktop" keeps 3 of 4 words (n 4, d 1: 75); "You have 5
    // lives left." only changed its number (98).
    EXPECT_EQ(filled.err, "1 exact (needing review), 2 near (needing review), 1 without a match\n");
    EXPECT_EQ(filled.out, "number\tname\tscore\toutcome\n1\tFE.Start\t100\texact\n2\tFE.Quit\t75\tnear\n"
                          "3\tFE.Lives\t98\tnear\n4\tFE.Options\t-\tno match\n");
    const ProgramRun csv = runLang({u"export"_s, path("next/out_de.xom"), u"-"_s, u"--format"_s, u"csv"_s});
    EXPECT_TRUE(csv.out.contains("\"FE.Quit\",\"Zurück zum Desktop\"")) << csv.out.toStdString();
    EXPECT_TRUE(csv.out.contains("\"FE.Lives\",\"Noch 3 Leben.\""));
    EXPECT_TRUE(readFile(path("next/out_de.xom.review")).contains("\tFE.Quit\tneeds-review\t=Quit to the desktop\t"));
}

// Files whose names tell no language: the languages given once are kept in
// the review file written, and the next command finds them there.
TEST_F(MemoryCommands, LanguagesGivenOnceAreKeptInTheReviewFile)
{
    writeFile(path("source.xom"), readFile(path("lang_en.xom")));
    writeFile(path("strings.xom"), readFile(path("lang_en.xom")));
    ASSERT_EQ(memory({u"add"_s, path("official/lang_de.xom"), u"--reference"_s, path("lang_en.xom")}).exitCode, 0);
    const ProgramRun filled
        = runLang({u"pretranslate"_s, path("strings.xom"), path("strings_de.xom"), u"--reference"_s, path("source.xom"),
            u"--source-language"_s, u"EN"_s, u"--target-language"_s, u"de"_s, u"--memory"_s, path("memory.ludra-tm")});
    ASSERT_EQ(filled.exitCode, 0) << filled.err.toStdString();
    EXPECT_EQ(filled.err, "3 exact (needing review), 1 without a match\n");
    EXPECT_TRUE(readFile(path("strings_de.xom.review")).contains("\n# languages en de\n"));
    // Added without naming the languages again (the entries pre-translated
    // need review, so they give no unit yet); without the review file's
    // languages the same call is a usage error.
    const ProgramRun added = memory({u"add"_s, path("strings_de.xom"), u"--reference"_s, path("source.xom")});
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_TRUE(added.err.startsWith("0 units added, 0 updated")) << added.err.toStdString();
    const ProgramRun unnamed = memory({u"add"_s, path("strings.xom"), u"--reference"_s, path("source.xom")});
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_TRUE(unnamed.err.contains("give --source-language")) << unnamed.err.toStdString();
}

TEST_F(MemoryCommands, RefusedCallsSayWhy)
{
    writeFile(path("lang.xom"), readFile(path("lang_en.xom")));
    writeFile(path("bad.tmx"), "<tmx version=\"1.4\"><body><tu><tuv><seg>x</seg></tuv></tu></body></tmx>");
    writeFile(path("not-a-memory.ludra-tm"), "just text\n");
    struct Refused {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const std::vector<Refused> refused{
        {{u"memory"_s, u"forget"_s, path("lang_en.xom")}, 2, "'forget' is no memory action"},
        {{u"memory"_s, u"add"_s, path("official/lang_de.xom")}, 2, "--reference REF is needed"},
        {{u"memory"_s, u"add"_s, path("official/lang_de.xom"), u"--reference"_s, path("lang.xom")}, 2,
            "give --source-language"},
        {{u"memory"_s, u"add"_s, path("official/lang_de.xom"), u"--reference"_s, path("lang_en.xom"),
             u"--target-language"_s, u"d e"_s},
            2, "'d e' is no language tag"},
        {{u"memory"_s, u"import"_s, path("bad.tmx")}, 1, "bad.tmx: line 1: "},
        {{u"pretranslate"_s, path("next/lang_de.xom"), path("out.xom"), u"--reference"_s, path("lang_en.xom"),
             u"--min-score"_s, u"0"_s},
            2, "--min-score takes a number from 1 to 100"},
        {{u"pretranslate"_s, path("next/lang_de.xom"), path("out.xom"), u"--reference"_s, path("lang_en.xom"),
             u"--exact-as"_s, u"final"_s},
            2, "--exact-as takes translated or needs-review"},
    };
    for (const Refused& call : refused) {
        QStringList arguments = call.arguments;
        const ProgramRun run = runLang(arguments << u"--memory"_s << path("memory.ludra-tm"));
        EXPECT_EQ(run.exitCode, call.exitCode) << call.says;
        EXPECT_TRUE(run.err.contains(call.says)) << run.err.toStdString();
    }
    const ProgramRun damaged = memory({u"export"_s, path("x.tmx")}, "not-a-memory.ludra-tm");
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains("not-a-memory.ludra-tm cannot be used: file is not a database"))
        << damaged.err.toStdString();
}

} // namespace
