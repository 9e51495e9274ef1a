#include "InputFiles.h"
#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

using namespace toolstest;

struct Client {
    QString program;
    QStringList arguments; // the file's path is appended
};

struct FormatCase {
    std::string name;
    QString extension;
    Client check;              // a real client that must accept what export writes
    QString controlText;       // a text with control codes, when the format carries them
    QByteArray editedMessages; // appended to the export: edits entry 2, keeps entry 1
};

QString client(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

class TranslationFormat : public testing::TestWithParam<FormatCase> {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(client(GetParam().check.program).isEmpty())
            << GetParam().check.program.toStdString() << " is missing: run scripts/setup.sh";
        auto entries = nastyEntries();
        if (!GetParam().controlText.isNull())
            entries.emplace_back(QStringLiteral("FE.Control"), GetParam().controlText);
        writeFile(path("lang_in.xom"), testsupport::simpleFile(entries).bytes());
        ASSERT_EQ(runLang({QStringLiteral("resave"), path("lang_in.xom"), path("lang_resaved.xom")}).exitCode, 0);
        m_count = static_cast<int>(entries.size());
    }

    [[nodiscard]] QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    [[nodiscard]] QString exported() const { return path("lang_in") + GetParam().extension; }

    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_P(TranslationFormat, ExportIsAcceptedByTheClientAndImportsBackExactly)
{
    const ProgramRun exportRun = runLang({QStringLiteral("export"), path("lang_in.xom"), exported()});
    ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err.toStdString();
    const ProgramRun check
        = runProgram(client(GetParam().check.program), QStringList(GetParam().check.arguments) << exported());
    const ProgramRun importRun = runLang({QStringLiteral("import"), path("lang_in.xom"), exported(), path("out.xom")});

    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_FALSE(check.err.contains("error")) << check.err.toStdString();
    EXPECT_EQ(importRun.exitCode, 0) << importRun.err.toStdString();
    EXPECT_EQ(
        importRun.err, QStringLiteral("0 changed, 0 added, %1 unchanged, 0 not in the file\n").arg(m_count).toUtf8());
    EXPECT_EQ(readFile(path("out.xom")), readFile(path("lang_resaved.xom")));
}

TEST_P(TranslationFormat, EmptyTranslationKeepsTheTextAndAnEditGetsCrLf)
{
    const ProgramRun exportRun = runLang({QStringLiteral("export"), path("lang_in.xom"), exported()});
    ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err.toStdString();
    QByteArray edited = readFile(exported());
    // Both formats end their last unit with a line; the edits follow it
    // inside the document.
    const qsizetype end = GetParam().extension == u".xlf" ? edited.indexOf("</body>") : edited.size();
    edited.insert(end, GetParam().editedMessages);
    writeFile(path("edited") + GetParam().extension, edited);
    const QString editedPath = path("edited") + GetParam().extension;

    // The units of entries 1 and 2 come twice now: refused, nothing written.
    const ProgramRun twice = runLang({QStringLiteral("import"), path("lang_in.xom"), editedPath, path("out.xom")});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains("given again")) << twice.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.xom")));

    // Only the edits.
    QByteArray onlyEdits = GetParam().extension == u".xlf"
                             ? "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>\n"
                                   + GetParam().editedMessages + "</body></file></xliff>\n"
                             : GetParam().editedMessages;
    writeFile(editedPath, onlyEdits);
    const ProgramRun run = runLang({QStringLiteral("import"), path("lang_in.xom"), editedPath, path("out.xom")});
    const ProgramRun dump = runLang({QStringLiteral("dump"), path("out.xom")});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The PO's translator comment "kept" is entry 1's note now.
    const QString notes = GetParam().extension == u".po" ? QStringLiteral(", 1 states or notes changed") : QString();
    EXPECT_EQ(run.err,
        QStringLiteral("1 changed, 0 added, 1 unchanged, %1 not in the file%2\n").arg(m_count - 2).arg(notes).toUtf8());
    EXPECT_TRUE(dump.out.contains(R"({"number":1,"name":"FE.CrLf","text":"first\u000D\u000Asecond"})"))
        << dump.out.toStdString();
    EXPECT_TRUE(dump.out.contains(R"({"number":2,"name":"FE.Tab","text":"new\u000D\u000Atext"})"))
        << dump.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tools, TranslationFormat,
    testing::Values(
        FormatCase{"Po", QStringLiteral(".po"),
            {QStringLiteral("msgfmt"), {QStringLiteral("--check"), QStringLiteral("-o"), QStringLiteral("/dev/null")}},
            utf16(u"bell\x0007 esc\x001B del\x007F"),
            "\n# kept\nmsgctxt \"1 FE.CrLf\"\nmsgid \"first\\r\\n\"\n\"second\"\nmsgstr \"\"\n\n"
            "#, c-format\nmsgctxt \"2 FE.Tab\"\nmsgid \"a\\tb\"\nmsgstr \"new\\n\"\n\"text\"\n"},
        FormatCase{"Xliff", QStringLiteral(".xlf"), {QStringLiteral("xmllint"), {QStringLiteral("--noout")}}, QString(),
            "<trans-unit id=\"1\" resname=\"FE.CrLf\"><source>first</source><target/></trans-unit>\n"
            "<trans-unit id=\"2\" resname=\"FE.Tab\"><target>new\r\ntext</target></trans-unit>\n"}),
    [](const testing::TestParamInfo<FormatCase>& row) { return row.param.name; });

TEST(Po, PassedThroughMsgcatImportsBackToTheSameBytes)
{
    ASSERT_FALSE(client(QStringLiteral("msgcat")).isEmpty()) << "msgcat is missing: run scripts/setup.sh";
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString po = dir.filePath(QStringLiteral("lang_in.po"));
    const QString catted = dir.filePath(QStringLiteral("catted.po"));
    auto entries = nastyEntries();
    entries.emplace_back(QStringLiteral("FE.Control"), utf16(u"\x0001\x0007\x0008\x000B\x000C\x001B\x007F"));
    entries.emplace_back(QStringLiteral("FE.Long"), QString(200, u'w') + u' ' + QString(100, u'\u00E9'));
    writeFile(in, testsupport::simpleFile(entries).bytes());

    ASSERT_EQ(runLang({QStringLiteral("export"), in, po}).exitCode, 0);
    const ProgramRun cat = runProgram(client(QStringLiteral("msgcat")), {po, QStringLiteral("-o"), catted});
    ASSERT_EQ(cat.exitCode, 0) << cat.err.toStdString();
    const ProgramRun direct = runLang({QStringLiteral("import"), in, po, QStringLiteral("-")});
    const ProgramRun throughMsgcat = runLang({QStringLiteral("import"), in, catted, QStringLiteral("-")});

    EXPECT_NE(readFile(catted), readFile(po)); // msgcat wrapped and re-escaped it
    EXPECT_EQ(throughMsgcat.exitCode, 0) << throughMsgcat.err.toStdString();
    EXPECT_EQ(throughMsgcat.out, direct.out);
    EXPECT_EQ(throughMsgcat.err,
        QStringLiteral("0 changed, 0 added, %1 unchanged, 0 not in the file\n").arg(entries.size()).toUtf8());
}

} // namespace
