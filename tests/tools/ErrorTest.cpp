#include "ProgramRun.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {

using namespace toolstest;

const QByteArray Previous("previous contents");

// A folder with good and broken inputs, and out.xom and out.csv holding
// Previous, which no failed command may touch.
class ErrorFolder {
public:
    ErrorFolder()
    {
        write("good.xom",
            testsupport::simpleFile({{utf16(u"FE.A"), utf16(u"a")}, {utf16(u"FE.B"), utf16(u"two\r\nlines")}}).bytes());
        testsupport::RawFile badTypeCount = testsupport::simpleFile({{utf16(u"FE.A"), utf16(u"a")}});
        badTypeCount.typeCount = 3;
        write("bad.xom", badTypeCount.bytes());
        testsupport::RawFile badIndex;
        badIndex.types = testsupport::standardTypes(1);
        badIndex.strings = {"text", "name"};
        badIndex.containers = {testsupport::stringResourceContainer(99, 2), testsupport::dataBankContainer({1})};
        write("badindex.xom", badIndex.bytes());
        testsupport::RawFile noStrings;
        noStrings.types = testsupport::standardTypes(0);
        noStrings.containers = {testsupport::dataBankContainer({})};
        write("nostrings.xom", noStrings.bytes());
        // What PO (UTF-8) and XLIFF (XML 1.0) cannot carry.
        write("lone.xom", testsupport::simpleFile({{utf16(u"FE.Lone"), utf16(u"x\xD800")}}).bytes());
        write("control.xom",
            testsupport::simpleFile({{utf16(u"FE.A"), utf16(u"a")}, {utf16(u"FE.Bell"), utf16(u"ding\x0007")}})
                .bytes());
        write("out.xom", Previous);
        write("out.csv", Previous);
    }

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QStringList listing() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }

    void write(const char* name, const QByteArray& bytes) const
    {
        writeFile(m_dir.filePath(QString::fromUtf8(name)), bytes);
    }

private:
    QTemporaryDir m_dir;
};

struct ErrorCase {
    std::string name;
    QStringList arguments; // "@" stands for the folder
    QByteArray csv;        // written to edits.csv when not empty
    int exitCode;
    QString message; // on standard error, "@" standing for the folder
};

class Errors : public testing::TestWithParam<ErrorCase> { };

TEST_P(Errors, ExitCodeMessageAndNothingWritten)
{
    const ErrorFolder folder;
    if (!GetParam().csv.isNull())
        folder.write("edits.csv", GetParam().csv);
    const QStringList before = folder.listing();
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings(QStringLiteral("@"), folder.path());

    const ProgramRun run = runLang(arguments);

    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_EQ(run.out, QByteArray());
    const QString message = QString(GetParam().message).replace(u'@', folder.path());
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(message)) << run.err.toStdString();
    EXPECT_EQ(folder.listing(), before);
    EXPECT_EQ(readFile(folder.path() + QStringLiteral("/out.xom")), Previous);
    EXPECT_EQ(readFile(folder.path() + QStringLiteral("/out.csv")), Previous);
}

QStringList args(std::initializer_list<const char*> list)
{
    QStringList result;
    for (const char* a : list)
        result += QString::fromUtf8(a);
    return result;
}

QStringList importEdits()
{
    return args({"import", "@/good.xom", "@/edits.csv", "@/out.xom"});
}

QStringList importPo()
{
    return args({"import", "--format", "po", "@/good.xom", "@/edits.csv", "@/out.xom"});
}

QStringList importXliff()
{
    return args({"import", "--format=xliff", "@/good.xom", "@/edits.csv", "@/out.xom"});
}

INSTANTIATE_TEST_SUITE_P(Tools, Errors,
    testing::Values(ErrorCase{"MissingInput", args({"resave", "@/missing.xom", "@/out.xom"}), {}, 1,
                        "ludra-lang: Cannot open file @/missing.xom\n"},
        ErrorCase{"FolderAsInput", args({"export", "@", "@/out.csv"}), {}, 1, "Cannot open file @\n"},
        ErrorCase{"BadLanguageFile", args({"sort", "@/bad.xom", "@/out.xom"}), {}, 1,
            "ludra-lang: @/bad.xom: Bad Language File: the file has 3 types, not 4 (at byte 24)\n"},
        ErrorCase{"StringIndexOnLoad", args({"export", "@/badindex.xom", "@/out.csv"}), {}, 1,
            "@/badindex.xom: List index out of bounds (99)\n"},
        // A file that no save could write is refused when it is read.
        ErrorCase{"NoKeptString", args({"resave", "@/nostrings.xom", "@/out.xom"}), {}, 1,
            "@/nostrings.xom: Bad Language File: the string table holds no string for a save to keep"},
        ErrorCase{"MissingFolder", args({"resave", "@/good.xom", "@/missing/out.xom"}), {}, 1,
            "ludra-lang: Cannot create file @/missing/out.xom\n"},
        ErrorCase{"MissingCsv", importEdits(), QByteArray(), 1, "Cannot open file @/edits.csv\n"},
        ErrorCase{
            "EmptyCsv", importEdits(), QByteArray(""), 1, "@/edits.csv:1: missing header line \"number,name,text\"\n"},
        ErrorCase{"NoHeader", importEdits(), "1,FE.A,x\r\n", 1, "@/edits.csv:1: missing header line"},
        ErrorCase{"NumberMatchesNoEntry", importEdits(), "number,name,text\r\n1,FE.A,x\r\n\r\n3,FE.C,y\r\n", 1,
            "@/edits.csv:4: no entry numbered \"3\"\n"},
        ErrorCase{"TwoFields", importEdits(), "number,name,text\n1,FE.A\n", 1,
            "@/edits.csv:2: expected 3 fields (number,name,text), found 2\n"},
        ErrorCase{"FourFields", importEdits(), "number,name,text\n1,FE.A,x,y\n", 1,
            "@/edits.csv:2: expected 3 fields (number,name,text), found 4\n"},
        ErrorCase{"FiveFieldsWithReference", importEdits(), "number,name,text,reference\n1,FE.A,x,y,z\n", 1,
            "@/edits.csv:2: expected 4 fields (number,name,text,reference), found 5\n"},
        ErrorCase{"NulByte", importEdits(), QByteArray("number,name,text\r\n1,FE.A,\"a\r\nb\0c\"\r\n", 35), 1,
            "@/edits.csv:2: NUL byte in a field\n"},
        ErrorCase{"NulByteInUtf16", importEdits(), QByteArray("\xFF\xFEn\0u\0m\0b\0e\0r\0,\0\0\0", 18), 1,
            "@/edits.csv:1: NUL byte in a field\n"},
        ErrorCase{"OddUtf16", importEdits(), QByteArray("\xFE\xFF\0n\0\n\0", 7), 1,
            "@/edits.csv:2: UTF-16 text ends in half a character\n"},
        ErrorCase{"SameNumberTwice", importEdits(), "number;name;text\n1;FE.A;x\n\n2;FE.B;y\n1;FE.A;z\n", 1,
            "@/edits.csv:5: number \"1\" given again (first on line 2)\n"},
        ErrorCase{"SameNumberTwiceInDryRun", args({"import", "--dry-run", "@/good.xom", "@/edits.csv", "@/out.xom"}),
            "number,name,text\n2,FE.B,y\n2,FE.B,z\n", 1, "@/edits.csv:3: number \"2\" given again (first on line 2)\n"},
        ErrorCase{"PoWithoutContext", importPo(), "msgid \"\"\nmsgstr \"\"\n\nmsgid \"a\"\nmsgstr \"b\"\n", 1,
            "@/edits.csv:4: message without msgctxt \"NUMBER NAME\"\n"},
        ErrorCase{"PoContextWithoutNumber", importPo(), "msgctxt \"FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n", 1,
            "@/edits.csv:1: msgctxt is not \"NUMBER NAME\"\n"},
        ErrorCase{"PoPlural", importPo(), "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\n", 1,
            "@/edits.csv:3: plural messages do not belong to entries\n"},
        ErrorCase{"PoUnknownEscape", importPo(), "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"\\q\"\n", 1,
            "@/edits.csv:3: unknown escape \\q\n"},
        ErrorCase{"PoNul", importPo(), "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"a\\0b\"\n", 1,
            "@/edits.csv:1: NUL in a string\n"},
        ErrorCase{"PoLatin1", importPo(), "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", 1,
            "@/edits.csv:1: charset ISO-8859-1 is not UTF-8\n"},
        ErrorCase{"PoSameNumberTwice", importPo(),
            "msgctxt \"2 FE.B\"\nmsgid \"a\"\nmsgstr \"b\"\n\n# again\nmsgctxt \"2 FE.B\"\nmsgid \"a\"\nmsgstr \"c\"\n",
            1, "@/edits.csv:6: number \"2\" given again (first on line 1)\n"},
        ErrorCase{"PoNoEntry", importPo(), "msgctxt \"7 FE.G\"\nmsgid \"a\"\nmsgstr \"b\"\n", 1,
            "@/edits.csv:1: no entry numbered \"7\"\n"},
        ErrorCase{"XliffMalformed", importXliff(),
            "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file>\n</xliff>\n", 1,
            "@/edits.csv:3: </xliff> closes <file>\n"},
        ErrorCase{"XliffMarkupInTarget", importXliff(),
            "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>\n<trans-unit id=\"1\" "
            "resname=\"FE.A\">\n<target>a <g id=\"1\">b</g></target>"
            "</trans-unit></body></file></xliff>",
            1, "@/edits.csv:3: markup inside a target: <g> (inline elements are not read)\n"},
        ErrorCase{"XliffIdNotANumber", importXliff(),
            "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>\n<trans-unit "
            "id=\"x1\" resname=\"FE.A\"><target>a</target></trans-unit>"
            "</body></file></xliff>",
            1, "@/edits.csv:2: trans-unit id \"x1\" is not an entry number\n"},
        ErrorCase{"XliffSameIdTwice", importXliff(),
            "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>\n<trans-unit id=\"1\" "
            "resname=\"FE.A\"/>\n"
            "<trans-unit id=\"1\" resname=\"FE.A\"/></body></file></xliff>",
            1, "@/edits.csv:3: number \"1\" given again (first on line 2)\n"},
        ErrorCase{"XliffControlCharacter", args({"export", "--format=xliff", "@/control.xom", "@/out.csv"}), {}, 1,
            "ludra-lang: entry 2: character U+0007 cannot be written in XLIFF (XML 1.0)\n"},
        ErrorCase{"XliffLoneSurrogate", args({"export", "@/lone.xom", "@/out.xlf"}), {}, 1,
            "ludra-lang: entry 1: character U+D800 cannot be written in XLIFF (XML 1.0)\n"},
        ErrorCase{"UnknownFormat", args({"export", "--format", "docx", "@/good.xom", "@/out.csv"}), {}, 2,
            "ludra-lang: unknown format 'docx' (csv, po or xliff)\n"},
        ErrorCase{"FormatWithoutValue", args({"export", "@/good.xom", "@/out.csv", "--format"}), {}, 2,
            "ludra-lang: option '--format' needs a value csv|po|xliff\n"},
        ErrorCase{"ImportUnknownFormat", args({"import", "--format=docx", "@/good.xom", "@/edits.csv", "@/out.xom"}),
            "number,name,text\r\n", 2, "ludra-lang: unknown format 'docx' (csv, po or xliff)\n"},
        // The format is read first: it is the one error told of.
        ErrorCase{"UnknownFormatBeforeDryRun",
            args({"import", "--format", "CSV", "--dry-run", "--report", "@/out.csv", "@/good.xom", "@/edits.csv",
                "@/out.xom"}),
            "number,name,text\r\n", 2, "ludra-lang: unknown format 'CSV' (csv, po or xliff)\n"},
        ErrorCase{"ExportUnknownFormatBeforeLoading", args({"export", "--format=", "@/missing.xom", "@/out.po"}), {}, 2,
            "ludra-lang: unknown format '' (csv, po or xliff)\n"},
        ErrorCase{"DryRunWithValue", args({"import", "--dry-run=yes", "@/good.xom", "@/edits.csv", "@/out.xom"}), {}, 2,
            "ludra-lang: option '--dry-run' takes no value\n"},
        ErrorCase{"QuoteLeftOpen", importEdits(), "number,name,text\r\n1,FE.A,\"never\r\nclosed\r\n", 1,
            "@/edits.csv:2: quoted field without its closing quote\n"},
        ErrorCase{"AfterClosingQuote", importEdits(),
            "number,name,text\r\n1,FE.A,\"two\r\nlines\"\r\n2,\"FE.B\"x,y\r\n", 1,
            "@/edits.csv:4: unexpected character after a closing quote\n"},
        ErrorCase{"QuoteInUnquotedField", importEdits(), "number,name,text\r\n1,FE.A,say \"hi\"\r\n", 1,
            "@/edits.csv:2: quote inside an unquoted field\n"},
        ErrorCase{"LoneCarriageReturn", importEdits(), "number,name,text\r1,FE.A,x\r", 1,
            "@/edits.csv:1: carriage return without a line feed outside quotes\n"},
        ErrorCase{"NotUtf8", importEdits(), "number,name,text\r\n1,FE.A,caf\xE9\r\n", 1,
            "@/edits.csv:2: field is not UTF-8\n"},
        ErrorCase{"UnknownCommand", args({"convert", "@/good.xom", "@/out.xom"}), {}, 2,
            "ludra-lang: unknown command 'convert'\nUsage: ludra-lang COMMAND"},
        ErrorCase{"TooFewOperands", args({"import", "@/good.xom", "@/out.xom"}), {}, 2,
            "ludra-lang: import takes 3 operands, got 2\nUsage: ludra-lang import [OPTION]... IN.xom IN OUT.xom\n"},
        ErrorCase{"TooManyOperands", args({"dump", "@/good.xom", "@/out.xom"}), {}, 2,
            "ludra-lang: dump takes 1 operand, got 2\n"},
        ErrorCase{"UnknownOption", args({"resave", "--force", "@/good.xom", "@/out.xom"}), {}, 2,
            "ludra-lang: unknown option '--force'\nUsage: ludra-lang resave IN OUT\n"},
        ErrorCase{"NoCommand", {}, {}, 2, "ludra-lang: no command given\nUsage: ludra-lang COMMAND"}),
    [](const testing::TestParamInfo<ErrorCase>& row) { return row.param.name; });

TEST(Errors, WriteCutShortIsStreamWriteErrorAndKeepsThePreviousFile)
{
    const ErrorFolder folder;
    folder.write("large.xom", testsupport::syntheticFileBytes(5000));
    const QStringList before = folder.listing();

    // A file size limit stops the save's write part way.
    const ProgramRun run = runProgram(QStringLiteral(LUDRA_LANG_PATH),
        {QStringLiteral("resave"), folder.path() + QStringLiteral("/large.xom"),
            folder.path() + QStringLiteral("/out.xom")},
        QProcessEnvironment::systemEnvironment(), [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{16384, 16384};
            setrlimit(RLIMIT_FSIZE, &limit);
        });

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QByteArray("ludra-lang: Stream write error\n"));
    EXPECT_EQ(folder.listing(), before);
    EXPECT_EQ(readFile(folder.path() + QStringLiteral("/out.xom")), Previous);
}

} // namespace
