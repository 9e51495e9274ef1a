// ludra-lang update: version 1 → version 2 of an English file carried into a
// German translation, with the review files beside the language files read
// and written as the editor reads and writes them.

#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace toolstest;

class UpdateCommand : public testing::Test {
protected:
    void SetUp() override
    {
        writeFile(
            path("en_v1.xom"), testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Start")},
                                                           {QStringLiteral("FE.Quit"), QStringLiteral("Quit")},
                                                           {QStringLiteral("FE.Help"), QStringLiteral("Help")},
                                                           {QStringLiteral("FE.Old"), QStringLiteral("Old mode")}})
                                   .bytes());
        writeFile(
            path("en_v2.xom"), testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Start")},
                                                           {QStringLiteral("FE.Quit"), QStringLiteral("Quit game")},
                                                           {QStringLiteral("FE.Help"), QStringLiteral("Help & tips")},
                                                           {QStringLiteral("FE.New"), QStringLiteral("Credits")}})
                                   .bytes());
        writeFile(
            path("de.xom"), testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Starten")},
                                                        {QStringLiteral("FE.Quit"), QStringLiteral("Beenden")},
                                                        {QStringLiteral("FE.Help"), QStringLiteral("Help")},
                                                        {QStringLiteral("FE.Old"), QStringLiteral("Alter Modus")}})
                                .bytes());
    }

    [[nodiscard]] QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
};

TEST_F(UpdateCommand, CarriesTheTranslationAndWritesItsReviewBeside)
{
    const ProgramRun run = runLang({QStringLiteral("update"), path("de.xom"), path("en_v2.xom"), path("de_v2.xom"),
        QStringLiteral("--old-reference"), path("en_v1.xom"), QStringLiteral("--report"), path("report.tsv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err,
        "1 added, 1 source changed (now needing review), 1 untranslated following the new source, 1 unchanged, "
        "1 no longer in the reference (kept)\n");
    EXPECT_EQ(readFile(path("report.tsv")), "number\tname\toutcome\n"
                                            "1\tFE.Start\tunchanged\n"
                                            "2\tFE.Quit\tsource changed\n"
                                            "3\tFE.Help\tuntranslated, follows the new source\n"
                                            "4\tFE.Old\tno longer in the reference\n"
                                            "5\tFE.New\tadded\n");

    // The translation keeps its texts but the untranslated one, and gains
    // the new entry; the review beside it says what needs review and what
    // the source was.
    const ProgramRun exported = runLang({QStringLiteral("export"), path("de_v2.xom"), QStringLiteral("-"),
        QStringLiteral("--format"), QStringLiteral("csv")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.contains("\"2\",\"FE.Quit\",\"Beenden\""));
    EXPECT_TRUE(exported.out.contains("\"3\",\"FE.Help\",\"Help & tips\""));
    EXPECT_TRUE(exported.out.contains("\"4\",\"FE.Old\",\"Alter Modus\""));
    EXPECT_TRUE(exported.out.contains("\"5\",\"FE.New\",\"Credits\""));
    const QByteArray review = readFile(path("de_v2.xom.review"));
    EXPECT_TRUE(review.endsWith("\n2\tFE.Quit\tneeds-review\t=Quit\t\n")) << review.toStdString();

    const ProgramRun info = runLang({QStringLiteral("info"), path("de_v2.xom")});
    EXPECT_TRUE(info.out.endsWith("de_v2.xom.review: 1 needing review, 0 translated, 0 approved, 0 with notes\n"))
        << info.out.toStdString();

    // Updated again from what it wrote, the review is read back: the entry
    // still needs review, and without an old reference nothing is guessed.
    const ProgramRun again
        = runLang({QStringLiteral("update"), path("de_v2.xom"), path("en_v2.xom"), path("de_v3.xom")});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.err, "1 source changed (now needing review), 3 without an earlier source to compare, "
                         "1 no longer in the reference (kept)\n");
    EXPECT_EQ(readFile(path("de_v3.xom.review")).mid(readFile(path("de_v3.xom.review")).indexOf("\n2\t")),
        "\n2\tFE.Quit\tneeds-review\t=Quit\t\n");
}

// --drop-removed: the entry the new reference lacks is gone from the file
// written, the entry after it takes its number, and the report lists it.
TEST_F(UpdateCommand, DropRemovedLeavesOutWhatTheNewReferenceLacks)
{
    writeFile(path("de.xom"), testsupport::simpleFile({{QStringLiteral("FE.Old"), QStringLiteral("Alter Modus")},
                                                          {QStringLiteral("FE.Start"), QStringLiteral("Starten")}})
                                  .bytes());
    const ProgramRun run = runLang({QStringLiteral("update"), path("de.xom"), path("en_v2.xom"), path("de_v2.xom"),
        QStringLiteral("--drop-removed"), QStringLiteral("--report"), QStringLiteral("-")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "3 added, 1 without an earlier source to compare, 1 no longer in the reference (dropped)\n");
    EXPECT_EQ(run.out, "number\tname\toutcome\n"
                       "1\tFE.Start\tno earlier source\n"
                       "2\tFE.Quit\tadded\n"
                       "3\tFE.Help\tadded\n"
                       "4\tFE.New\tadded\n"
                       "1\tFE.Old\tdropped, no longer in the reference\n");
    const ProgramRun exported = runLang({QStringLiteral("export"), path("de_v2.xom"), QStringLiteral("-"),
        QStringLiteral("--format"), QStringLiteral("csv")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.contains("\"1\",\"FE.Start\",\"Starten\""));
    EXPECT_FALSE(exported.out.contains("FE.Old"));
}

TEST_F(UpdateCommand, ADamagedReviewFileStopsItAndNothingIsWritten)
{
    writeFile(path("de.xom.review"), "# Ludra review 1\n2\tFE.Quit\tsomething\t-\t\n");
    const ProgramRun run = runLang({QStringLiteral("update"), path("de.xom"), path("en_v2.xom"), path("de_v2.xom")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("de.xom.review: line ")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("de_v2.xom")));
    EXPECT_FALSE(QFile::exists(path("de_v2.xom.review")));
}

} // namespace
