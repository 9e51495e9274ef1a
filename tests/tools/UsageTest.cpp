#include "ProgramRun.h"

#include <gtest/gtest.h>

namespace {

using namespace toolstest;

struct HelpCase {
    QStringList arguments;
    QByteArray firstLine;
};

class Help : public testing::TestWithParam<HelpCase> { };

TEST_P(Help, GoesToStandardOutputWithExitZero)
{
    const ProgramRun run = runLang(GetParam().arguments);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray());
    EXPECT_TRUE(run.out.startsWith(GetParam().firstLine + '\n')) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Example: ") || GetParam().arguments.size() == 1) << run.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tools, Help,
    testing::Values(HelpCase{{"--help"}, "Usage: ludra-lang COMMAND [--help] OPERAND..."},
        HelpCase{{"-h"}, "Usage: ludra-lang COMMAND [--help] OPERAND..."},
        HelpCase{{"info", "--help"}, "Usage: ludra-lang info FILE"},
        HelpCase{{"dump", "-h"}, "Usage: ludra-lang dump FILE"},
        HelpCase{{"resave", "--help"}, "Usage: ludra-lang resave IN OUT"},
        HelpCase{{"sort", "in.xom", "--help"}, "Usage: ludra-lang sort IN OUT"},
        HelpCase{{"export", "--help"}, "Usage: ludra-lang export [OPTION]... IN OUT"},
        HelpCase{{"import", "--help"}, "Usage: ludra-lang import [OPTION]... IN.xom IN OUT.xom"},
        HelpCase{{"check", "--help"}, "Usage: ludra-lang check [OPTION]... FILE"},
        HelpCase{{"replace", "--help"}, "Usage: ludra-lang replace [OPTION]... IN OUT"}));

TEST(Usage, VersionGoesToStandardOutput)
{
    const ProgramRun run = runLang({QStringLiteral("--version")});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("ludra-lang " LUDRA_VERSION "\n"));
    EXPECT_EQ(run.err, QByteArray());
}

TEST(Usage, OperandsAfterDoubleDashAreFileNames)
{
    const ProgramRun run = runLang({QStringLiteral("dump"), QStringLiteral("--"), QStringLiteral("--help")});

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QByteArray("ludra-lang: Cannot open file --help\n"));
}

} // namespace
