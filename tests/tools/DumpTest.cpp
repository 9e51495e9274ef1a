#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

TEST(Dump, KnownFileGivesExactAsciiJson)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang_test.xom"));
    // The data bank lists entry 5 before entry 4: the dump follows grid order.
    writeFile(path, testsupport::simpleFile(
                        {
                            {utf16(u"FE.Cup"), utf16(u"Cup \U0001F3C6")},
                            {utf16(u"FE.Lone"), utf16(u"a\xD800"
                                                      u"b")},
                            {utf16(u"FE.Lines"), utf16(u"one\r\ntwo")},
                            {utf16(u"FE.Space"), utf16(u"1\u00A0000")},
                            {utf16(u"FE.Bell"), utf16(u"\x07 say \"hi\" \\ bye\x7F")},
                        },
                        {1, 2, 3, 5, 4})
                        .bytes());

    const ProgramRun run = runLang({QStringLiteral("dump"), path});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray());
    EXPECT_EQ(run.out, QByteArray(R"({"types":[
{"name":"XContainer","instanceCount":0},
{"name":"XResourceDetails","instanceCount":0},
{"name":"XStringResourceDetails","instanceCount":5},
{"name":"XDataBank","instanceCount":1}
],"entries":[
{"number":1,"name":"FE.Cup","text":"Cup \uD83C\uDFC6"},
{"number":2,"name":"FE.Lone","text":"a\uD800b"},
{"number":3,"name":"FE.Lines","text":"one\u000D\u000Atwo"},
{"number":5,"name":"FE.Bell","text":"\u0007 say \"hi\" \\ bye\u007F"},
{"number":4,"name":"FE.Space","text":"1\u00A0000"}
]}
)"));
}

TEST(Dump, TypeNameBytesAndEmptyGrid)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang_test.xom"));
    testsupport::RawFile file;
    file.types = testsupport::standardTypes(0);
    file.types[0].name = QByteArray("X\"\\\xE9\x01", 5);
    file.strings = {"Kept"};
    file.containers = {testsupport::dataBankContainer({})};
    writeFile(path, file.bytes());

    const ProgramRun run = runLang({QStringLiteral("dump"), path});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(R"({"types":[
{"name":"X\"\\\u00E9\u0001","instanceCount":0},)"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("],\"entries\":[]}\n")) << run.out.toStdString();
}

} // namespace
