#include "xom/LanguageFileReader.h"

#include "support/FileBuilder.h"
#include "support/FuzzChecks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

// Files that fuzzing once found troublesome, replayed through the same
// checks the fuzz targets make.
TEST(HostileFiles, RegressionFilesPassTheFuzzChecks)
{
    const QDir dir(QStringLiteral(LUDRA_REGRESSIONS_DIR));
    const QStringList files = dir.entryList(QDir::Files);
    // A wrong path or a lost folder would otherwise pass without a check.
    ASSERT_FALSE(files.isEmpty()) << LUDRA_REGRESSIONS_DIR;
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        const auto fail = [&](const char* what) { ADD_FAILURE() << name.toStdString() << ": " << what; };
        testsupport::checkLoad(bytes, fail);
        testsupport::checkRoundTrip(bytes, fail);
    }
}

// The header and type table of a file with nothing after them.
QByteArray headerOnly(const std::int32_t stringResources, const std::int32_t dataBanks)
{
    testsupport::RawFile file;
    file.types = testsupport::standardTypes(stringResources, dataBanks);
    return file.bytes();
}

// These must end as fast as any file of their size; the test's time limit
// only catches a hang.
TEST(HostileFiles, MegabytesOfContainerMagicsEndQuickly)
{
    QByteArray bytes = headerOnly(1'000'000, 1);
    bytes += QByteArray("CTNR").repeated(1'000'000);
    const auto result = xom::loadLanguageFile(bytes);
    EXPECT_TRUE(std::holds_alternative<xom::LoadError>(result));

    // The same with counts that the file could hold: every container is
    // walked once.
    QByteArray small = headerOnly(300'000, 1);
    small += QByteArray("CTNR").repeated(400'000);
    const auto smallResult = xom::loadLanguageFile(small);
    EXPECT_TRUE(std::holds_alternative<xom::LoadError>(smallResult));
}

TEST(HostileFiles, DataBankClaimingTwoHundredMillionEntries)
{
    testsupport::RawFile file = testsupport::simpleFile({{QStringLiteral("n"), QStringLiteral("t")}});
    file.containers.back() = QByteArray("CTNR") + QByteArray(6, '\0') + testsupport::varintBytes((1u << 28) - 1)
                           + QByteArray(4'000'000, '\x01');
    const auto result = xom::loadLanguageFile(file.bytes());
    ASSERT_TRUE(std::holds_alternative<xom::LoadError>(result));
    EXPECT_EQ(std::get<xom::LoadError>(result).kind, xom::LoadError::Kind::BadLanguageFile);
}

TEST(HostileFiles, OpaqueTypeWithAHugeCountOverManySmallContainers)
{
    testsupport::RawFile file = testsupport::simpleFile({{QStringLiteral("n"), QStringLiteral("t")}});
    file.types[0].instanceCount = 0x7FFFFFFF;
    std::vector<QByteArray> containers(200'000, QByteArray("CTNRxx"));
    containers.insert(containers.end(), file.containers.begin(), file.containers.end());
    file.containers = std::move(containers);
    const auto result = xom::loadLanguageFile(file.bytes());
    // The opaque type swallows every container, the data bank included.
    EXPECT_TRUE(std::holds_alternative<xom::LoadError>(result));
}

} // namespace
