// An import must bring only the translations of the entries named, exactly
// as written, with what their file says of their state, and refuse anything
// else by name: each case here is a
// way it once brought something else, run through ludra-lang as a user runs
// it, with the real clients where one took part.

#include "InputFiles.h"
#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

using namespace toolstest;

const QString XliffRoot = QStringLiteral(
    R"(<?xml version="1.0" encoding="UTF-8"?><xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2">)");

// Entries 1 .. 3, as the tests' language file holds them.
const std::vector<std::pair<QString, QString>> ThreeEntries{{QStringLiteral("FE.Start"), QStringLiteral("Start")},
    {QStringLiteral("FE.Quit"), QStringLiteral("Quit")}, {QStringLiteral("FE.New"), QStringLiteral("New game")}};

QString clientOnPath(const QString& name)
{
    // Qt's own tools stand beside qmake, off the path.
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {QStringLiteral("/usr/lib/qt6/bin")}) : found;
}

class ExchangeFaults : public testing::Test {
protected:
    void SetUp() override { writeFile(path("lang.xom"), testsupport::simpleFile(ThreeEntries).bytes()); }

    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

    // Imports edits (written to a file of that name) into lang.xom, giving
    // out.xom.
    [[nodiscard]] ProgramRun import(const QString& name, const QByteArray& edits, const QStringList& options = {}) const
    {
        writeFile(path(name), edits);
        QFile::remove(path(QStringLiteral("out.xom")));
        QStringList arguments{QStringLiteral("import")};
        arguments << options << path(QStringLiteral("lang.xom")) << path(name) << path(QStringLiteral("out.xom"));
        return runLang(arguments);
    }

    // The texts of out.xom in grid order, as dump writes them.
    [[nodiscard]] QByteArray imported() const { return runLang({QStringLiteral("dump"), path("out.xom")}).out; }

    QTemporaryDir m_dir;
};

QByteArray xliffUnits(const QString& units)
{
    return (XliffRoot + QStringLiteral("<file original=\"x\" datatype=\"plaintext\"><body>") + units
            + QStringLiteral("</body></file></xliff>"))
        .toUtf8();
}

// What a translator did not approve arrives needing review; a state the
// file names arrives as it is. --accept-fuzzy, once needed for the former,
// changes nothing.
TEST_F(ExchangeFaults, UnfinishedXliffTargetsArriveNeedingReview)
{
    struct Case {
        const char* unit;  // the attributes of trans-unit 2, then of its target
        const char* state; // entry 2's state in the review file beside out.xom
    };
    const Case cases[] = {
        {R"(<trans-unit id="2" resname="FE.Quit"><target state="new">X</target></trans-unit>)", "needs-review"},
        {R"(<trans-unit id="2" resname="FE.Quit"><target state="needs-translation">X</target></trans-unit>)",
            "needs-review"},
        {R"(<trans-unit id="2" resname="FE.Quit"><target state="needs-review-translation">X</target></trans-unit>)",
            "needs-review"},
        {R"(<trans-unit id="2" resname="FE.Quit" approved="no"><target>X</target></trans-unit>)", "needs-review"},
        {R"(<trans-unit id="2" resname="FE.Quit" translate="no"><target>X</target></trans-unit>)", "needs-review"},
        {R"(<trans-unit id="2" resname="FE.Quit"><target state="translated">X</target></trans-unit>)", "translated"},
        {R"(<trans-unit id="2" resname="FE.Quit" approved="yes"><target state="final">X</target></trans-unit>)",
            "approved"},
    };
    for (const Case& c : cases) {
        for (const QStringList& options : {QStringList(), QStringList{QStringLiteral("--accept-fuzzy")}}) {
            QFile::remove(path(QStringLiteral("out.xom.review")));
            const ProgramRun run = import(QStringLiteral("edits.xlf"), xliffUnits(QString::fromUtf8(c.unit)), options);
            ASSERT_EQ(run.exitCode, 0) << c.unit << run.err.toStdString();
            EXPECT_EQ(run.err, QByteArray("1 changed, 0 added, 0 unchanged, 2 not in the file, 1 states or notes "
                                          "changed\n"))
                << c.unit;
            EXPECT_TRUE(imported().contains(R"("text":"X")")) << c.unit;
            EXPECT_TRUE(readFile(path(QStringLiteral("out.xom.review")))
                            .contains(QByteArray("\n2\tFE.Quit\t") + c.state + '\t'))
                << c.unit << readFile(path(QStringLiteral("out.xom.review"))).toStdString();
        }
    }
}

// msgmerge against a new version gives a new entry a neighbour's
// translation, flagged fuzzy: it arrives as the entry's text only as one
// that needs review.
TEST_F(ExchangeFaults, MsgmergeGuessesArriveNeedingReview)
{
    const QString msgmerge = clientOnPath(QStringLiteral("msgmerge"));
    ASSERT_FALSE(msgmerge.isEmpty()) << "msgmerge is missing: run scripts/setup.sh";
    // The translation and the game's next version, which adds a text close
    // to entry 1's.
    writeFile(
        path("lang_de.xom"), testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Spiel starten")},
                                                         {QStringLiteral("FE.Quit"), QStringLiteral("Beenden")}})
                                 .bytes());
    writeFile(
        path("lang_en.xom"), testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Start the game")},
                                                         {QStringLiteral("FE.Quit"), QStringLiteral("Quit")}})
                                 .bytes());
    writeFile(path("lang_en2.xom"),
        testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Start the game")},
                                    {QStringLiteral("FE.Quit"), QStringLiteral("Quit")},
                                    {QStringLiteral("FE.Restart"), QStringLiteral("Start the game again")}})
            .bytes());
    ASSERT_EQ(runLang({"export", "--reference", path("lang_en.xom"), path("lang_de.xom"), path("de.po")}).exitCode, 0);
    ASSERT_EQ(runLang({"export", path("lang_en2.xom"), path("en2.pot")}).exitCode, 0);
    const ProgramRun merge = runProgram(msgmerge,
        {QStringLiteral("--no-wrap"), QStringLiteral("-o"), path("merged.po"), path("de.po"), path("en2.pot")});
    ASSERT_EQ(merge.exitCode, 0) << merge.err.toStdString();
    const QByteArray merged = readFile(path("merged.po"));
    ASSERT_TRUE(merged.contains("#, fuzzy\nmsgctxt \"3 FE.Restart\"")) << merged.toStdString();
    // The new entry goes into the translation as Add would add it: import
    // it into a copy of the German file with a third entry.
    writeFile(path("lang.xom"),
        testsupport::simpleFile({{QStringLiteral("FE.Start"), QStringLiteral("Spiel starten")},
                                    {QStringLiteral("FE.Quit"), QStringLiteral("Beenden")},
                                    {QStringLiteral("FE.Restart"), QStringLiteral("Start the game again")}})
            .bytes());

    const ProgramRun run = runLang({"import", path("lang.xom"), path("merged.po"), path("out.xom")});

    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(", 1 states or notes changed")) << run.err.toStdString();
    EXPECT_TRUE(imported().contains(R"("name":"FE.Restart","text":"Spiel starten")")) << imported().toStdString();
    EXPECT_TRUE(readFile(path(QStringLiteral("out.xom.review"))).contains("\n3\tFE.Restart\tneeds-review\t"))
        << readFile(path(QStringLiteral("out.xom.review"))).toStdString();
}

// Only a unit's own target is its text: a suggestion is not, and a second
// target is refused where it stands.
TEST_F(ExchangeFaults, OnlyTheUnitsOwnTargetCountsAndOnlyOnce)
{
    const ProgramRun suggestion = import(QStringLiteral("edits.xlf"),
        xliffUnits(QStringLiteral(R"(<trans-unit id="1" resname="FE.Start"><target>Mine</target>)"
                                  R"(<alt-trans><target>Suggested</target></alt-trans></trans-unit>)")));
    ASSERT_EQ(suggestion.exitCode, 0) << suggestion.err.toStdString();
    EXPECT_TRUE(imported().contains(R"("text":"Mine")")) << imported().toStdString();

    const ProgramRun twice = import(QStringLiteral("edits.xlf"),
        xliffUnits(QStringLiteral("<trans-unit id=\"1\" resname=\"FE.Start\">\n<target>A</target>\n<target>B</target>"
                                  "</trans-unit>")));
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains(":3: a second <target> in one trans-unit (the first on line 2)"))
        << twice.err.toStdString();
}

// Documents that are not XLIFF 1.2, and XML that would have to guess, are
// refused by name; nothing is written.
TEST_F(ExchangeFaults, OtherXmlIsRefusedByName)
{
    struct Case {
        const char* what;
        QByteArray document;
        const char* said;
    };
    const QByteArray unit = R"(<trans-unit id="1" resname="FE.Start"><target>Mine</target></trans-unit>)";
    const Case cases[] = {
        {"a Qt TS file",
            R"(<?xml version="1.0"?><TS version="2.1"><context><message><source>Start</source>)"
            R"(<translation>Mine</translation></message></context></TS>)",
            "not an XLIFF document: the root element is <TS>"},
        {"XLIFF 2.0",
            R"(<xliff version="2.0" xmlns="urn:oasis:names:tc:xliff:document:2.0"><file id="f"><unit id="1">)"
            R"(<segment><source>Start</source><target>Mine</target></segment></unit></file></xliff>)",
            "XLIFF 2 is not read: export XLIFF 1.2"},
        {"no namespace", R"(<xliff version="1.2"><file><body>)" + unit + "</body></file></xliff>",
            "is not in the XLIFF 1.2 namespace"},
        {"another version",
            R"(<xliff version="1.1" xmlns="urn:oasis:names:tc:xliff:document:1.2"><file><body>)" + unit
                + "</body></file></xliff>",
            R"(XLIFF version "1.1" is not 1.2)"},
        {"a target in another namespace",
            xliffUnits(QStringLiteral(R"(<trans-unit id="1" resname="FE.Start" xmlns:o="urn:other">)"
                                      R"(<o:target>Mine</o:target></trans-unit>)")),
            R"(a <o:target> in the namespace "urn:other" is no XLIFF 1.2 target)"},
        {"an entity declared",
            R"(<?xml version="1.0"?><!DOCTYPE xliff [<!ENTITY xxe SYSTEM "file:///etc/passwd">]>)"
                + xliffUnits(QStringLiteral("<trans-unit id=\"1\" resname=\"FE.Start\"><target>A&xxe;B"
                                            "</target></trans-unit>")),
            "the DOCTYPE declares entities"},
        {"an entity never declared",
            xliffUnits(
                QStringLiteral(R"(<trans-unit id="1" resname="FE.Start"><target>A&xxe;B</target></trans-unit>)")),
            "the entity &xxe; is not defined"},
        {"nesting beyond xmllint's bound",
            xliffUnits(QString(300, u'.').replace(u'.', QStringLiteral("<group>"))
                       + QString(300, u'.').replace(u'.', QStringLiteral("</group>"))),
            "elements nested more than 256 deep"},
        {"markup in a target",
            xliffUnits(QStringLiteral(R"(<trans-unit id="1" resname="FE.Start"><target>a <g id="1">)"
                                      R"(b</g></target></trans-unit>)")),
            "markup inside a target: <g> (inline elements are not read)"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = import(QStringLiteral("edits.xlf"), c.document);
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_TRUE(run.err.contains(c.said)) << c.what << ": " << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.xom"))) << c.what;
    }
}

// A message quotes the file briefly and escapes what cannot be shown, and
// names the fault that is there.
TEST_F(ExchangeFaults, MessagesSayWhatIsWrongBriefly)
{
    struct Case {
        const char* what;
        QString name;
        QByteArray bytes;
        const char* said;
    };
    QByteArray longKeyword(100000, 'k');
    longKeyword += QByteArray("\0\x01\xFF", 3);
    const Case cases[] = {
        {"a long line of PO", QStringLiteral("edits.po"), longKeyword + " \"x\"\n",
            ":1: unknown keyword "
            "\"kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk\u2026\"\n"},
        {"PO lines that end in CR alone", QStringLiteral("edits.po"),
            "msgctxt \"1 FE.Start\"\rmsgid \"x\"\rmsgstr \"y\"\r", ":1: the lines end in a carriage return alone"},
        {"CSV in UTF-32", QStringLiteral("edits.csv"), QByteArray("\xFF\xFE\0\0n\0\0\0", 8),
            ":1: UTF-32 text is not read"},
        {"CSV with two byte-order marks", QStringLiteral("edits.csv"), "\xEF\xBB\xBF\xEF\xBB\xBFnumber,name,text\n",
            ":1: a second byte-order mark after the first"},
        {"a name that breaks a line", QStringLiteral("edits.csv"), "number,name,text\n2,\"FE.Qu\nit\",x\n",
            ":2: the name \"FE.Qu\\u000ait\" breaks a line or holds a tab"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = import(c.name, c.bytes);
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.said)))
            << c.what << ": " << run.err.left(300).toStdString();
        EXPECT_LT(run.err.size(), 400) << c.what;
    }
}

// Texts arrive exactly as written: U+2028 and U+2029 are characters, only
// CR, LF and CR LF break lines; renames are counted.
TEST_F(ExchangeFaults, TextsArriveAsWrittenAndRenamesAreCounted)
{
    const std::pair<QString, QByteArray> files[] = {
        {QStringLiteral("edits.csv"), "number,name,text\n1,FE.Begin,\"a\xE2\x80\xA8"
                                      "b\xE2\x80\xA9"
                                      "c\nd\"\n"},
        {QStringLiteral("edits.po"), "msgctxt \"1 FE.Begin\"\nmsgid \"x\"\nmsgstr \"a\xE2\x80\xA8"
                                     "b\xE2\x80\xA9"
                                     "c\\nd\"\n"},
        {QStringLiteral("edits.xlf"), xliffUnits(QStringLiteral("<trans-unit id=\"1\" resname=\"FE.Begin\"><target>"
                                                                "a\u2028b\u2029c\nd</target></trans-unit>"))},
    };
    for (const auto& [name, bytes] : files) {
        const ProgramRun run = import(name, bytes);
        ASSERT_EQ(run.exitCode, 0) << name.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.err, QByteArray("1 changed (1 renamed), 0 added, 0 unchanged, 2 not in the file\n"));
        EXPECT_TRUE(imported().contains(R"("name":"FE.Begin","text":"a\u2028b\u2029c\u000D\u000Ad")"))
            << name.toStdString() << imported().toStdString();
    }
}

// An entry with an empty source has no msgid "" (gettext's header): the
// export passes lconvert and msgmerge and imports back to the same bytes.
TEST_F(ExchangeFaults, AnEmptySourceIsNoHeader)
{
    const QString lconvert = clientOnPath(QStringLiteral("lconvert"));
    const QString msgmerge = clientOnPath(QStringLiteral("msgmerge"));
    ASSERT_FALSE(lconvert.isEmpty()) << "lconvert is missing: run scripts/setup.sh";
    ASSERT_FALSE(msgmerge.isEmpty()) << "msgmerge is missing: run scripts/setup.sh";
    writeFile(path("lang.xom"), testsupport::simpleFile({{QStringLiteral("FE.Empty"), QString()},
                                                            {QStringLiteral("FE.Quit"), QStringLiteral("Quit")}})
                                    .bytes());
    ASSERT_EQ(runLang({"resave", path("lang.xom"), path("resaved.xom")}).exitCode, 0);
    ASSERT_EQ(runLang({"export", path("lang.xom"), path("lang.po")}).exitCode, 0);
    const QByteArray po = readFile(path("lang.po"));
    EXPECT_EQ(po.count("msgid \"\"\n"), 1) << po.toStdString();
    EXPECT_TRUE(po.contains("#. The source text is empty.\nmsgctxt \"1 FE.Empty\"\nmsgid \"(empty)\"\nmsgstr \"\"\n"))
        << po.toStdString();

    const ProgramRun converted
        = runProgram(lconvert, {QStringLiteral("-i"), path("lang.po"), QStringLiteral("-o"), path("lang.ts")});
    EXPECT_EQ(converted.exitCode, 0) << converted.err.toStdString();
    const ProgramRun merged
        = runProgram(msgmerge, {QStringLiteral("-o"), path("merged.po"), path("lang.po"), path("lang.po")});
    ASSERT_EQ(merged.exitCode, 0) << merged.err.toStdString();
    ASSERT_EQ(runLang({"import", path("lang.xom"), path("merged.po"), path("out.xom")}).exitCode, 0);
    EXPECT_EQ(readFile(path("out.xom")), readFile(path("resaved.xom")));
}

// A lone surrogate, which UTF-8 cannot carry, leaves PO as CSV writes it
// and comes back: export and import agree.
TEST_F(ExchangeFaults, PoCarriesALoneSurrogateBothWays)
{
    writeFile(path("lang.xom"), testsupport::simpleFile({{QStringLiteral("FE.Lone"), utf16(u"x\xD800y")}}).bytes());
    ASSERT_EQ(runLang({"resave", path("lang.xom"), path("resaved.xom")}).exitCode, 0);
    const ProgramRun exported = runLang({"export", path("lang.xom"), path("lang.po")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(readFile(path("lang.po")).contains("msgstr \"x\xED\xA0\x80y\"\n"));
    const ProgramRun run = runLang({"import", path("lang.xom"), path("lang.po"), path("out.xom")});
    EXPECT_EQ(run.err, QByteArray("0 changed, 0 added, 1 unchanged, 0 not in the file\n"));
    EXPECT_EQ(readFile(path("out.xom")), readFile(path("resaved.xom")));
}

// XLIFF names its languages: by the options, else by the files' names, and
// "und" only when nothing says.
TEST_F(ExchangeFaults, XliffNamesItsLanguages)
{
    writeFile(path("lang_de.xom"), testsupport::simpleFile(ThreeEntries).bytes());
    writeFile(path("lang_pt_BR.xom"), testsupport::simpleFile(ThreeEntries).bytes());
    const auto fileElement = [&](const QStringList& arguments) {
        EXPECT_EQ(runLang(arguments).exitCode, 0);
        const QByteArray xliff = readFile(path("out.xlf"));
        const qsizetype start = xliff.indexOf("<file ");
        return xliff.mid(start, xliff.indexOf('>', start) - start);
    };
    EXPECT_TRUE(fileElement({"export", "--reference", path("lang_pt_BR.xom"), path("lang_de.xom"), path("out.xlf")})
                    .contains(R"(source-language="pt-BR" target-language="de")"));
    EXPECT_TRUE(
        fileElement({"export", "--source-language", "en", "--target-language", "fr", path("lang.xom"), path("out.xlf")})
            .contains(R"(source-language="en" target-language="fr")"));
    EXPECT_TRUE(fileElement({"export", path("lang.xom"), path("out.xlf")})
                    .contains(R"(source-language="und" target-language="und")"));
}

// The exports of the nasty texts, byte for byte as reviewed once by hand
// beside what gettext's msgcat and xmllint write of them: gettext's escapes
// (\t, \", \\, \r, split after \n), XML's (&amp; &lt; &gt;, &#13; for CR).
TEST_F(ExchangeFaults, ExportsAreTheReviewedBytes)
{
    writeFile(path("lang_nasty.xom"), testsupport::simpleFile(nastyEntries()).bytes());
    for (const char* extension : {"csv", "po", "xlf"}) {
        const QString out = path(QStringLiteral("lang_nasty.") + QLatin1String(extension));
        ASSERT_EQ(runLang({"export", path("lang_nasty.xom"), out}).exitCode, 0);
        const QByteArray golden = readFile(QStringLiteral(LUDRA_GOLDEN_DIR "/lang_nasty.") + QLatin1String(extension));
        ASSERT_FALSE(golden.isEmpty()) << extension;
        EXPECT_EQ(readFile(out), golden) << extension;
    }
}

} // namespace
