#include "ProgramRun.h"

#include "support/FileBuilder.h"
#include "xom/LanguageFileReader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

using namespace toolstest;

using NameTexts = std::vector<std::pair<QString, QString>>;

// Entry 2 holds CR LF, entry 3 a lone LF: what a spreadsheet gives back as
// LF must leave both as they are.
NameTexts baseEntries()
{
    return {
        {utf16(u"FE.A"), utf16(u"Alpha")}, {utf16(u"FE.B"), utf16(u"one\r\ntwo")}, {utf16(u"FE.C"), utf16(u"x\ny")}};
}

QByteArray utf16Bytes(const QString& text, const bool bigEndian)
{
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const auto high = static_cast<char>(c.unicode() >> 8);
        const auto low = static_cast<char>(c.unicode() & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// A CSV as a spreadsheet saves it, and the entries (numbers 1, 2, 3, then
// added ones, in grid order) that importing it gives.
struct SpreadsheetCase {
    std::string name;
    QByteArray csv;
    NameTexts entries;
    QByteArray summary;
};

NameTexts changed(NameTexts entries, const std::size_t index, const QString& name, const QString& text)
{
    entries[index] = {name, text};
    return entries;
}

NameTexts added(NameTexts entries, const QString& name, const QString& text)
{
    entries.emplace_back(name, text);
    return entries;
}

class SpreadsheetImport : public testing::TestWithParam<SpreadsheetCase> { };

TEST_P(SpreadsheetImport, GivesTheEntriesAndTheSummary)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString csv = dir.filePath(QStringLiteral("edits.csv"));
    const QString out = dir.filePath(QStringLiteral("lang_out.xom"));
    const QString resaved = dir.filePath(QStringLiteral("lang_resaved.xom"));
    writeFile(in, testsupport::simpleFile(baseEntries()).bytes());
    writeFile(csv, GetParam().csv);

    const ProgramRun run = runLang({QStringLiteral("import"), in, csv, out});

    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, GetParam().summary + '\n');
    const xom::LoadResult loaded = xom::loadLanguageFile(readFile(out));
    ASSERT_TRUE(std::holds_alternative<xom::LoadedFile>(loaded));
    NameTexts entries;
    int number = 0;
    for (const xom::Entry& entry : std::get<xom::LoadedFile>(loaded).entries.entries()) {
        EXPECT_EQ(entry.number, QString::number(++number));
        entries.emplace_back(entry.name, entry.text);
    }
    EXPECT_EQ(entries, GetParam().entries);
    if (GetParam().summary.startsWith("0 changed, 0 added")) {
        ASSERT_EQ(runLang({QStringLiteral("resave"), in, resaved}).exitCode, 0);
        EXPECT_EQ(readFile(out), readFile(resaved));
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, SpreadsheetImport,
    testing::Values(SpreadsheetCase{"LineFeedsForCrLfAreUnchanged",
                        "number,name,text\n1,FE.A,Alpha\n2,FE.B,\"one\ntwo\"\n3,FE.C,\"x\ny\"\n", baseEntries(),
                        "0 changed, 0 added, 3 unchanged, 0 not in the file"},
        SpreadsheetCase{"OtherLineBreakFormsAreUnchanged",
            "number,name,text\r\n2,FE.B,\"one\rtwo\"\r\n3,FE.C,\"x\r\ny\"\r\n", baseEntries(),
            "0 changed, 0 added, 2 unchanged, 1 not in the file"},
        SpreadsheetCase{"ChangedTextGetsCrLf", "number,name,text\n3,FE.C,\"x\nz\rw\"\n",
            changed(baseEntries(), 2, utf16(u"FE.C"), utf16(u"x\r\nz\r\nw")),
            "1 changed, 0 added, 0 unchanged, 2 not in the file"},
        SpreadsheetCase{"NewTextGetsCrLf", "number,name,text\n,FE.N,\"a\nb\"\n",
            added(baseEntries(), utf16(u"FE.N"), utf16(u"a\r\nb")),
            "0 changed, 1 added, 0 unchanged, 3 not in the file"},
        SpreadsheetCase{"RenameKeepsTheTextAsItIs", "number,name,text\n3,FE.C2,\"x\r\ny\"\n",
            changed(baseEntries(), 2, utf16(u"FE.C2"), utf16(u"x\ny")),
            "1 changed (1 renamed), 0 added, 0 unchanged, 2 not in the file"},
        SpreadsheetCase{"TrailingEmptyColumns",
            "number,name,text,,\r\n1,FE.A,Beta,,\r\n,FE.N,n,\r\n2,FE.B,\"one\ntwo\"\r\n",
            added(changed(baseEntries(), 0, utf16(u"FE.A"), utf16(u"Beta")), utf16(u"FE.N"), utf16(u"n")),
            "1 changed, 1 added, 1 unchanged, 1 not in the file"},
        SpreadsheetCase{"ReferenceColumnIsIgnored",
            "number,name,text,reference,\n1,FE.A,Alpha2,Alpha\n2,FE.B,\"one\ntwo\",one two,\n3,FE.C,\"x\ny\"\n",
            changed(baseEntries(), 0, utf16(u"FE.A"), utf16(u"Alpha2")),
            "1 changed, 0 added, 2 unchanged, 0 not in the file"},
        SpreadsheetCase{"Semicolons", "\"number\";\"name\";\"text\"\r\n\"1\";\"FE.A\";\"a;b, c\"\r\n",
            changed(baseEntries(), 0, utf16(u"FE.A"), utf16(u"a;b, c")),
            "1 changed, 0 added, 0 unchanged, 2 not in the file"},
        SpreadsheetCase{"Tabs", "number\tname\ttext\n1\tFE.A\t\"a\tb\"\n",
            changed(baseEntries(), 0, utf16(u"FE.A"), utf16(u"a\tb")),
            "1 changed, 0 added, 0 unchanged, 2 not in the file"},
        SpreadsheetCase{"Utf16LittleEndianTabs",
            utf16Bytes(utf16(u"number\tname\ttext\r\n1\tFE.A\t\"\u00C4 \U0001F600\"\r\n"), false),
            changed(baseEntries(), 0, utf16(u"FE.A"), utf16(u"\u00C4 \U0001F600")),
            "1 changed, 0 added, 0 unchanged, 2 not in the file"},
        SpreadsheetCase{"Utf16BigEndianCommas", utf16Bytes(utf16(u"number,name,text\n,FE.\u0416,\"\xDC00\"\n"), true),
            added(baseEntries(), utf16(u"FE.\u0416"), utf16(u"\xDC00")),
            "0 changed, 1 added, 0 unchanged, 3 not in the file"}),
    [](const testing::TestParamInfo<SpreadsheetCase>& row) { return row.param.name; });

// A dry run writes no file, not even the report, which it shows on
// standard output instead; the summary counts entries, not records.
TEST(ImportReport, DryRunWritesNothingAndShowsTheReport)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString csv = dir.filePath(QStringLiteral("edits.csv"));
    const QString out = dir.filePath(QStringLiteral("lang_out.xom"));
    const QString report = dir.filePath(QStringLiteral("report.csv"));
    writeFile(in, testsupport::simpleFile(baseEntries()).bytes());
    writeFile(csv, "number,name,text\n2,FE.B,\"one\ntwo\"\n3,FE.C,\"x\nz\"\n1,FE.A1,Alpha\n,FE.N,\"=1+1\"\n");

    const ProgramRun toFile = runLang(
        {QStringLiteral("import"), QStringLiteral("--dry-run"), in, csv, out, QStringLiteral("--report"), report});
    const ProgramRun dryRun = runLang({QStringLiteral("import"), QStringLiteral("--dry-run"), in, csv, out,
        QStringLiteral("--report"), QStringLiteral("-")});
    const bool writtenByDryRun = QFile::exists(out) || QFile::exists(report);
    const ProgramRun wet = runLang({QStringLiteral("import"), in, csv, out, QStringLiteral("--report"), report});

    EXPECT_EQ(toFile.exitCode, 2);
    EXPECT_TRUE(toFile.err.contains("--report -")) << toFile.err.toStdString();
    EXPECT_EQ(dryRun.exitCode, 0) << dryRun.err.toStdString();
    EXPECT_EQ(dryRun.err, QByteArray("2 changed (1 renamed), 1 added, 1 unchanged, 0 not in the file\n"));
    const QByteArray expectedReport("\xEF\xBB\xBF"
                                    "\"number\",\"name\",\"old text\",\"new text\"\r\n"
                                    "\"3\",\"FE.C\",\"x\ny\",\"x\r\nz\"\r\n"
                                    "\"1\",\"FE.A1\",\"Alpha\",\"Alpha\"\r\n"
                                    "\"4\",\"FE.N\",\"\",\"=1+1\"\r\n");
    EXPECT_EQ(dryRun.out, expectedReport);
    EXPECT_FALSE(writtenByDryRun);
    EXPECT_EQ(wet.exitCode, 0);
    EXPECT_EQ(wet.err, dryRun.err);
    EXPECT_EQ(readFile(report), expectedReport);
    EXPECT_FALSE(readFile(out).isEmpty());
}

TEST(StandardStreams, DashReadsStandardInputAndWritesStandardOutput)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString csvFile = dir.filePath(QStringLiteral("lang_in.csv"));
    const QString outFile = dir.filePath(QStringLiteral("lang_out.xom"));
    const QByteArray xom = testsupport::simpleFile(baseEntries()).bytes();
    writeFile(in, xom);
    const QByteArray edits("number,name,text\n1,FE.A,Omega\n");
    writeFile(csvFile, edits);

    const ProgramRun exported
        = runLangWithInput({QStringLiteral("export"), QStringLiteral("-"), QStringLiteral("-")}, xom);
    const ProgramRun imported
        = runLangWithInput({QStringLiteral("import"), in, QStringLiteral("-"), QStringLiteral("-")}, edits);
    ASSERT_EQ(runLang({QStringLiteral("import"), in, csvFile, outFile}).exitCode, 0);
    const ProgramRun twice
        = runLangWithInput({QStringLiteral("import"), QStringLiteral("-"), QStringLiteral("-"), outFile}, xom);

    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    ASSERT_EQ(runLang({QStringLiteral("export"), in, csvFile}).exitCode, 0);
    EXPECT_EQ(exported.out, readFile(csvFile));
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, readFile(outFile));
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_EQ(twice.err, QByteArray("ludra-lang: Cannot read standard input twice\n"));
}

} // namespace
