#include "ProgramRun.h"

#include "xom/LanguageFileReader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

QString committed(const char* name)
{
    return QStringLiteral(LUDRA_SAMPLES_DIR "/") + QString::fromUtf8(name);
}

// The generator fixes its own text environment: the user's locale makes no
// difference to the sample's bytes.
class SampleGenerator : public testing::TestWithParam<const char*> { };

TEST_P(SampleGenerator, RemakesTheCommittedSampleByteForByte)
{
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QString::fromUtf8(GetParam()));

    const ProgramRun run = runProgram(QStringLiteral(LUDRA_MAKE_SAMPLE_PATH), {dir.path()}, environment);

    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("lang_sample.xom"))), readFile(committed("lang_sample.xom")));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("lang_sample.csv"))), readFile(committed("lang_sample.csv")));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("lang_sample_de.xom"))), readFile(committed("lang_sample_de.xom")));
}

INSTANTIATE_TEST_SUITE_P(Locales, SampleGenerator, testing::Values("en_US.UTF-8", "ru_RU.UTF-8", "ja_JP.UTF-8"));

TEST(Sample, OpensInTheEditor)
{
    const xom::LoadResult result = xom::loadLanguageFile(readFile(committed("lang_sample.xom")));

    ASSERT_TRUE(std::holds_alternative<xom::LoadedFile>(result));
    const auto& file = std::get<xom::LoadedFile>(result);
    EXPECT_EQ(file.entries.entryCount(), 12);
    // String resources are walked before the data bank, and the two other
    // types have no containers.
    const std::vector<xom::XTypeCont>& types = file.model.TypeTable;
    ASSERT_EQ(types.size(), 4u);
    EXPECT_EQ(types[0].name, "XContainer");
    EXPECT_EQ(types[0].instanceCount, 0);
    EXPECT_EQ(types[1].name, "XResourceDetails");
    EXPECT_EQ(types[1].instanceCount, 0);
    EXPECT_EQ(types[2].name, "XStringResourceDetails");
    EXPECT_EQ(types[2].instanceCount, 12);
    EXPECT_EQ(types[3].name, "XDataBank");
    EXPECT_EQ(types[3].instanceCount, 1);
}

// The README's example of the checks, on the two samples as shipped.
TEST(Sample, TranslationBesideTheSampleShowsWhatTheChecksFind)
{
    const ProgramRun run = runLang({QStringLiteral("check"), committed("lang_sample_de.xom"),
        QStringLiteral("--reference"), committed("lang_sample.xom")});

    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out), QStringLiteral("2\tFE.Menu.Continue\tmissing reference\n"
                                                         "3\tFE.Menu.Options\tuntranslated\n"
                                                         "13 entries: 1 untranslated, 1 with warnings\n"));
}

TEST(Sample, CsvRoundTripGivesTheSampleBack)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("lang_sample.csv"));
    const QString xom = dir.filePath(QStringLiteral("lang_sample.xom"));

    EXPECT_EQ(runLang({QStringLiteral("export"), committed("lang_sample.xom"), csv}).exitCode, 0);
    EXPECT_EQ(readFile(csv), readFile(committed("lang_sample.csv")));
    EXPECT_EQ(runLang({QStringLiteral("import"), committed("lang_sample.xom"), csv, xom}).exitCode, 0);
    EXPECT_EQ(readFile(xom), readFile(committed("lang_sample.xom")));
}

} // namespace
