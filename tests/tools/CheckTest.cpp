#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

// A translation beside its reference with one entry of each kind: right,
// untranslated, empty, without reference, a lost placeholder and line break.
class CheckFiles : public testing::Test {
protected:
    void SetUp() override
    {
        writeFile(reference,
            testsupport::simpleFile(
                {{utf16(u"FE.Ok"), utf16(u"Start")}, {utf16(u"FE.Same"), utf16(u"Options")},
                    {utf16(u"FE.Empty"), utf16(u"Quit")}, {utf16(u"FE.Score"), utf16(u"%d points\nwell done")},
                    {utf16(u"FE.Ok"), utf16(u"a later duplicate")}})
                .bytes());
        writeFile(translation,
            testsupport::simpleFile({{utf16(u"FE.Ok"), utf16(u"Démarrer")}, {utf16(u"FE.Same"), utf16(u"Options")},
                                        {utf16(u"FE.Empty"), QString()}, {utf16(u"FE.New"), utf16(u"Neu")},
                                        {utf16(u"FE.Score"), utf16(u"points, bravo")}})
                .bytes());
    }

    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("lang_en.xom"));
    const QString translation = dir.filePath(QStringLiteral("lang_fr.xom"));
};

TEST_F(CheckFiles, ListsFailingEntriesAndExitsThree)
{
    const ProgramRun run = runLang({QStringLiteral("check"), translation, QStringLiteral("--reference"), reference});

    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), std::string("2\tFE.Same\tuntranslated\n"
                                                 "3\tFE.Empty\tempty\n"
                                                 "4\tFE.New\tmissing reference\n"
                                                 "5\tFE.Score\tplaceholders differ (missing %d), line breaks differ\n"
                                                 "5 entries: 1 untranslated, 3 with warnings\n"));
}

TEST_F(CheckFiles, WritesJson)
{
    const ProgramRun run = runLang(
        {QStringLiteral("check"), QStringLiteral("--json"), QStringLiteral("--reference=") + reference, translation});

    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), std::string(R"({"failing":[
{"number":2,"name":"FE.Same","checks":["untranslated"],"findings":[{"check":"untranslated","severity":"warning","detail":""}]},
{"number":3,"name":"FE.Empty","checks":["empty"],"findings":[{"check":"empty","severity":"critical","detail":""}]},
{"number":4,"name":"FE.New","checks":["missing reference"],"findings":[{"check":"missing-reference","severity":"warning","detail":""}]},
{"number":5,"name":"FE.Score","checks":["placeholders differ","line breaks differ"],"findings":[{"check":"placeholders","severity":"critical","detail":"missing %d"},{"check":"line-breaks","severity":"warning","detail":""}]}
],"reviewed":[],"entries":5,"untranslated":1,"withWarnings":3,"needsReview":0,"translated":0,"approved":0,"sourceChanged":0}
)"));
}

// The review file beside the translation: an approved entry whose source
// changed since, one that needs review with a note.
TEST_F(CheckFiles, ReportsStatesAndChangedSources)
{
    writeFile(translation + QStringLiteral(".review"),
        "# Ludra review 1\n"
        "# language-file 0 0000000000000000000000000000000000000000000000000000000000000000\n"
        "1\tFE.Ok\tapproved\t=Begin\t\n"
        "3\tFE.Empty\tneeds-review\t-\tto do \"soon\"\n");
    const ProgramRun plain = runLang({QStringLiteral("check"), translation, QStringLiteral("--reference"), reference});
    EXPECT_EQ(plain.exitCode, 3) << plain.err.toStdString();
    EXPECT_EQ(plain.out, QByteArray("1\tFE.Ok\tsource changed\n"
                                    "2\tFE.Same\tuntranslated\n"
                                    "3\tFE.Empty\tempty\n"
                                    "4\tFE.New\tmissing reference\n"
                                    "5\tFE.Score\tplaceholders differ (missing %d), line breaks differ\n"
                                    "5 entries: 1 untranslated, 3 with warnings\n"
                                    "states: 1 needing review, 0 translated, 1 approved; 1 source changed\n"));
    // The review file was saved with other bytes: said, and checked anyway.
    EXPECT_TRUE(plain.err.contains("may be older than the texts")) << plain.err.toStdString();

    const ProgramRun json = runLang(
        {QStringLiteral("check"), translation, QStringLiteral("--reference"), reference, QStringLiteral("--json")});
    EXPECT_TRUE(json.out.contains(R"("reviewed":[
{"number":1,"name":"FE.Ok","state":"approved","sourceChanged":true,"note":""},
{"number":3,"name":"FE.Empty","state":"needs-review","sourceChanged":false,"note":"to do \"soon\""}
],)")) << json.out.toStdString();
    EXPECT_TRUE(json.out.endsWith(R"("needsReview":1,"translated":0,"approved":1,"sourceChanged":1}
)"));
}

// The same source translated otherwise, and one translation for two
// sources: each entry names the others by number.
TEST(Check, NamesTheEntriesAConsistencyCheckIsAbout)
{
    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("lang_en.xom"));
    const QString translation = dir.filePath(QStringLiteral("lang_de.xom"));
    writeFile(reference,
        testsupport::simpleFile({{utf16(u"FE.Save"), utf16(u"Save")}, {utf16(u"FE.SaveAgain"), utf16(u"Save")},
                                    {utf16(u"FE.Store"), utf16(u"Store")}})
            .bytes());
    writeFile(translation,
        testsupport::simpleFile({{utf16(u"FE.Save"), utf16(u"Speichern")}, {utf16(u"FE.SaveAgain"), utf16(u"Sichern")},
                                    {utf16(u"FE.Store"), utf16(u"Sichern")}})
            .bytes());
    const ProgramRun run = runLang({QStringLiteral("check"), translation, QStringLiteral("--reference"), reference});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("1\tFE.Save\tinconsistent translation (#2)\n"
                                  "2\tFE.SaveAgain\tinconsistent translation (#1), reused translation (#3)\n"
                                  "3\tFE.Store\treused translation (#2)\n"
                                  "3 entries: 0 untranslated, 3 with warnings\n"));
}

TEST(Check, NothingFailingExitsZero)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lang_blank.xom"));
    // An empty text beside an empty reference fails nothing.
    writeFile(file, testsupport::simpleFile({{utf16(u"FE.Blank"), QString()}}).bytes());

    const ProgramRun plain = runLang({QStringLiteral("check"), file, QStringLiteral("--reference"), file});
    const ProgramRun json
        = runLang({QStringLiteral("check"), file, QStringLiteral("--reference"), file, QStringLiteral("--json")});

    EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out, QByteArray("1 entries: 0 untranslated, 0 with warnings\n"));
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, QByteArray("{\"failing\":[],\"reviewed\":[],\"entries\":1,\"untranslated\":0,"
                                   "\"withWarnings\":0,\"needsReview\":0,\"translated\":0,\"approved\":0,"
                                   "\"sourceChanged\":0}\n"));
}

TEST_F(CheckFiles, FileAndUsageErrors)
{
    const QString missing = dir.filePath(QStringLiteral("nothing.xom"));
    const ProgramRun noReference = runLang({QStringLiteral("check"), translation});
    const ProgramRun noValue = runLang({QStringLiteral("check"), translation, QStringLiteral("--reference")});
    const ProgramRun flagValue = runLang(
        {QStringLiteral("check"), translation, QStringLiteral("--json=yes"), QStringLiteral("--reference"), reference});
    const ProgramRun badReference
        = runLang({QStringLiteral("check"), translation, QStringLiteral("--reference"), missing});

    EXPECT_EQ(noReference.exitCode, 2);
    EXPECT_TRUE(noReference.err.startsWith("ludra-lang: check needs --reference REF\n"))
        << noReference.err.toStdString();
    EXPECT_EQ(noValue.exitCode, 2);
    EXPECT_EQ(flagValue.exitCode, 2);
    EXPECT_EQ(badReference.exitCode, 1);
    EXPECT_EQ(badReference.err, "ludra-lang: Cannot open file " + missing.toUtf8() + '\n');
    EXPECT_EQ(badReference.out, QByteArray());
}

TEST_F(CheckFiles, ExportAddsTheReferenceColumnAndImportIgnoresIt)
{
    const QString csv = dir.filePath(QStringLiteral("lang_fr.csv"));
    const QString imported = dir.filePath(QStringLiteral("lang_imported.xom"));
    const QString resaved = dir.filePath(QStringLiteral("lang_resaved.xom"));

    const ProgramRun run
        = runLang({QStringLiteral("export"), QStringLiteral("--reference"), reference, translation, csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(csv), QByteArray("\xEF\xBB\xBF"
                                        "\"number\",\"name\",\"text\",\"reference\"\r\n"
                                        "\"1\",\"FE.Ok\",\"D\xC3\xA9marrer\",\"Start\"\r\n"
                                        "\"2\",\"FE.Same\",\"Options\",\"Options\"\r\n"
                                        "\"3\",\"FE.Empty\",\"\",\"Quit\"\r\n"
                                        "\"4\",\"FE.New\",\"Neu\",\"\"\r\n"
                                        "\"5\",\"FE.Score\",\"points, bravo\",\"%d points\nwell done\"\r\n"));
    EXPECT_EQ(runLang({QStringLiteral("import"), translation, csv, imported}).exitCode, 0);
    EXPECT_EQ(runLang({QStringLiteral("resave"), translation, resaved}).exitCode, 0);
    EXPECT_EQ(readFile(imported), readFile(resaved));
}

// In PO and XLIFF the reference text is the message's source and the text its
// translation; an entry the reference lacks keeps its own text as source.
// Importing such a file changes nothing.
TEST_F(CheckFiles, ExportPutsTheReferenceAsSourceInPoAndXliff)
{
    const QString resaved = dir.filePath(QStringLiteral("lang_resaved.xom"));
    ASSERT_EQ(runLang({QStringLiteral("resave"), translation, resaved}).exitCode, 0);
    struct Expected {
        const char* fileName;
        QByteArray translated;
        QByteArray unmatched;
    };
    const Expected formats[] = {
        {"lang_fr.po", "msgid \"Start\"\nmsgstr \"D\xC3\xA9marrer\"\n", "msgid \"Neu\"\nmsgstr \"Neu\"\n"},
        {"lang_fr.xlf", "<source>Start</source>", "<source>Neu</source>"},
    };
    for (const Expected& format : formats) {
        SCOPED_TRACE(format.fileName);
        const QString exported = dir.filePath(QString::fromLatin1(format.fileName));
        const QString imported = exported + QStringLiteral(".xom");

        const ProgramRun run
            = runLang({QStringLiteral("export"), QStringLiteral("--reference"), reference, translation, exported});

        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QByteArray bytes = readFile(exported);
        EXPECT_TRUE(bytes.contains(format.translated)) << bytes.toStdString();
        EXPECT_TRUE(bytes.contains(format.unmatched)) << bytes.toStdString();
        EXPECT_EQ(runLang({QStringLiteral("import"), translation, exported, imported}).exitCode, 0);
        EXPECT_EQ(readFile(imported), readFile(resaved));
    }
}

} // namespace
