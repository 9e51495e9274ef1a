#include "InputFiles.h"
#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

TEST(Export, KnownFileGivesExactCsvEveryFieldQuoted)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString out = dir.filePath(QStringLiteral("lang_in.csv"));
    writeFile(in, testsupport::simpleFile(
                      {{utf16(u"FE.Plain"), utf16(u"Hello")}, {utf16(u"FE.Comma"), utf16(u"a, b")},
                          {utf16(u"FE.Quote"), utf16(u"say \"hi\"")}, {utf16(u"FE.Lines"), utf16(u"one\r\ntwo\nthree")},
                          {utf16(u"FE.Cup"), utf16(u"Cup \U0001F3C6")}, {utf16(u"FE.Lone"), utf16(u"x\xD800")},
                          {utf16(u"FE.Zeros"), utf16(u"00123")}, {utf16(u"FE.Formula"), utf16(u"=SUM(A1)")},
                          {utf16(u"FE.Phone"), utf16(u"+49")}, {utf16(u"FE.Spaces"), utf16(u" a;b\tc ")}},
                      {1, 2, 3, 4, 6, 5, 7, 8, 9, 10})
                      .bytes());

    const ProgramRun run = runLang({QStringLiteral("export"), in, out});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(out), QByteArray("\xEF\xBB\xBF"
                                        "\"number\",\"name\",\"text\"\r\n"
                                        "\"1\",\"FE.Plain\",\"Hello\"\r\n"
                                        "\"2\",\"FE.Comma\",\"a, b\"\r\n"
                                        "\"3\",\"FE.Quote\",\"say \"\"hi\"\"\"\r\n"
                                        "\"4\",\"FE.Lines\",\"one\r\ntwo\nthree\"\r\n"
                                        "\"6\",\"FE.Lone\",\"x\xED\xA0\x80\"\r\n"
                                        "\"5\",\"FE.Cup\",\"Cup \xF0\x9F\x8F\x86\"\r\n"
                                        "\"7\",\"FE.Zeros\",\"00123\"\r\n"
                                        "\"8\",\"FE.Formula\",\"=SUM(A1)\"\r\n"
                                        "\"9\",\"FE.Phone\",\"+49\"\r\n"
                                        "\"10\",\"FE.Spaces\",\" a;b\tc \"\r\n"));
}

class RoundTrip : public testing::TestWithParam<InputFile> { };

TEST_P(RoundTrip, ExportThenImportUnchangedGivesResave)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString csv = dir.filePath(QStringLiteral("lang_in.csv"));
    const QString imported = dir.filePath(QStringLiteral("lang_imported.xom"));
    const QString resaved = dir.filePath(QStringLiteral("lang_resaved.xom"));
    writeFile(in, GetParam().bytes);

    EXPECT_EQ(runLang({QStringLiteral("export"), in, csv}).exitCode, 0);
    const ProgramRun run = runLang({QStringLiteral("import"), in, csv, imported});
    EXPECT_EQ(runLang({QStringLiteral("resave"), in, resaved}).exitCode, 0);

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(imported), readFile(resaved));
}

INSTANTIATE_TEST_SUITE_P(Files, RoundTrip, testing::ValuesIn(inputFiles()),
    [](const testing::TestParamInfo<InputFile>& row) { return row.param.name; });

// One edit CSV as different tools save it.
struct EditedCsv {
    std::string name;
    QByteArray csv;
    QByteArray newTextJson; // the added entry's text in the dump
};

class Import : public testing::TestWithParam<EditedCsv> { };

TEST_P(Import, EditedCsvGivesExpectedDump)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang_en.xom"));
    const QString csv = dir.filePath(QStringLiteral("edits.csv"));
    writeFile(path, testsupport::simpleFile({{utf16(u"FE.A"), utf16(u"Alpha")}, {utf16(u"FE.B"), utf16(u"Beta")},
                                                {utf16(u"FE.C"), utf16(u"Gamma")}},
                        {3, 1, 2})
                        .bytes());
    writeFile(csv, GetParam().csv);

    // In place: OUT may be IN.
    const ProgramRun run = runLang({QStringLiteral("import"), path, csv, path});
    const ProgramRun dump = runLang({QStringLiteral("dump"), path});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dump.out, R"({"types":[
{"name":"XContainer","instanceCount":0},
{"name":"XResourceDetails","instanceCount":0},
{"name":"XStringResourceDetails","instanceCount":4},
{"name":"XDataBank","instanceCount":1}
],"entries":[
{"number":3,"name":"FE.C.renamed","text":"Gamma"},
{"number":1,"name":"FE.A","text":"Alpha"},
{"number":2,"name":"FE.B","text":"Beta, \"edited\""},
{"number":4,"name":"FE.New","text":)"
                            + GetParam().newTextJson + "}\n]}\n");
}

INSTANTIATE_TEST_SUITE_P(Tools, Import,
    testing::Values(EditedCsv{"ExportStyle",
                        "\xEF\xBB\xBFnumber,name,text\r\n2,FE.B,\"Beta, \"\"edited\"\"\"\r\n"
                        ",FE.New,\"first line\r\nsecond line\"\r\n3,FE.C.renamed,Gamma\r\n",
                        R"("first line\u000D\u000Asecond line")"},
        EditedCsv{"LfWithoutBom",
            "number,name,text\n2,FE.B,\"Beta, \"\"edited\"\"\"\n"
            ",FE.New,\"first line\nsecond line\"\n3,FE.C.renamed,Gamma\n",
            R"("first line\u000D\u000Asecond line")"},
        EditedCsv{"QuotedEverywhereNoFinalLineEndEmptyLines",
            "\"number\",\"name\",\"text\"\r\n\r\n\"2\",\"FE.B\",\"Beta, \"\"edited\"\"\"\r\n"
            "\"\",\"FE.New\",\"draft\"\r\n\r\n\"4\",FE.New,\"\"\r\n\"3\",\"FE.C.renamed\",\"Gamma\"",
            R"("")"}),
    [](const testing::TestParamInfo<EditedCsv>& row) { return row.param.name; });

} // namespace
