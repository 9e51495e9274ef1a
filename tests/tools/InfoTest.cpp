#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

TEST(Info, KnownFileGivesTypesAndCounts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang_test.xom"));
    testsupport::RawFile file
        = testsupport::simpleFile({{utf16(u"FE.A"), utf16(u"a")}, {utf16(u"FE.B"), utf16(u"b")}}, {2, 1});
    file.types[1].name = "Other\\\x01";
    writeFile(path, file.bytes());

    const ProgramRun run = runLang({QStringLiteral("info"), path});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray());
    EXPECT_EQ(run.out, QByteArray("Type table:\n"
                                  "  #  name                      instances  kind\n"
                                  "  0  XContainer                        0  1\n"
                                  "  1  Other\\x5C\\x01                     0  0\n"
                                  "  2  XStringResourceDetails            2  4\n"
                                  "  3  XDataBank                         1  3\n"
                                  "Strings: 5\n"
                                  "String resources: 2\n"
                                  "Entries: 2\n"))
        << run.out.toStdString();
}

} // namespace
