// Review states through ludra-lang's export and import, against the real
// clients: gettext takes the PO with its fuzzy flags, previous msgids and
// translator comments, and lists as fuzzy exactly the entries that need
// review; xmllint takes the XLIFF with its states and notes; each format,
// exported and imported back, leaves the review file as it was.

#include "ProgramRun.h"

#include "review/ReviewFile.h"
#include "review/ReviewPairing.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <set>
#include <utility>
#include <vector>

namespace {

using namespace toolstest;
using review::State;

// The entries, their reference texts (empty: none) and their reviews.
struct Reviewed {
    QString name;
    QString text;
    QString reference;
    review::EntryReview review;
    bool wantsReview; // needs review, or its source changed
};

const std::vector<Reviewed>& reviewedEntries()
{
    static const std::vector<Reviewed> entries{
        {QStringLiteral("FE.Plain"), QStringLiteral("Start"), QStringLiteral("Start"), {}, false},
        {QStringLiteral("FE.Noted"), QStringLiteral("Quit"), QStringLiteral("Quit"),
            {State::Unset, QStringLiteral("a \"note\"\twith <&>\r\nand \U0001F600"), std::nullopt}, false},
        {QStringLiteral("FE.Needs"), QStringLiteral("Neu\r\nSpiel"), QStringLiteral("New\r\ngame"),
            {State::NeedsReview, QStringLiteral("check\nthis"), QStringLiteral("New\r\ngame")}, true},
        {QStringLiteral("FE.Changed"), QStringLiteral("Laden"), QStringLiteral("Load game"),
            {State::Translated, QString(), QStringLiteral("Load\r\n\"old\"")}, true},
        {QStringLiteral("FE.Approved"), QStringLiteral("Optionen"), QStringLiteral("Options"),
            {State::Approved, QStringLiteral("#, fuzzy"), QStringLiteral("Options")}, false},
        {QStringLiteral("FE.ApprovedChanged"), QStringLiteral("Hilfe"), QStringLiteral("Help me"),
            {State::Approved, QString(), QStringLiteral("Help")}, true},
        {QStringLiteral("FE.Own"), QStringLiteral("Eigen"), QString(),
            {State::Translated, QStringLiteral("no reference"), QStringLiteral("gone")}, false},
    };
    return entries;
}

QString client(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

class ExchangeStatesTools : public testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::pair<QString, QString>> entries;
        std::vector<std::pair<QString, QString>> reference;
        review::ReviewFile kept;
        int number = 1;
        for (const Reviewed& entry : reviewedEntries()) {
            entries.emplace_back(entry.name, entry.text);
            if (!entry.reference.isEmpty())
                reference.emplace_back(entry.name, entry.reference);
            if (entry.review.keepsAnything())
                kept.lines.push_back({QString::number(number), entry.name, entry.review});
            ++number;
        }
        const QByteArray bytes = testsupport::simpleFile(entries).bytes();
        writeFile(path("lang_de.xom"), bytes);
        writeFile(path("lang_en.xom"), testsupport::simpleFile(reference).bytes());
        kept.language = review::fingerprintOf(bytes);
        m_review = review::writeReviewFile(kept);
        writeFile(path("lang_de.xom.review"), m_review);
    }

    [[nodiscard]] QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    [[nodiscard]] ProgramRun exportTo(const char* name, const QStringList& options = {}) const
    {
        return runLang(QStringList{QStringLiteral("export"), QStringLiteral("--reference"), path("lang_en.xom")}
                       << options << path("lang_de.xom") << path(name));
    }

    QTemporaryDir m_dir;
    QByteArray m_review;
};

// The review file's lines after its header, which names the language
// file's bytes.
QByteArray reviewLines(const QByteArray& file)
{
    return file.sliced(file.indexOf('\n', file.indexOf('\n') + 1) + 1);
}

TEST_F(ExchangeStatesTools, GettextTakesThePoAndListsAsFuzzyExactlyTheEntriesThatWantReview)
{
    ASSERT_FALSE(client(QStringLiteral("msgattrib")).isEmpty()) << "gettext is missing: run scripts/setup.sh";
    const ProgramRun exported = exportTo("de.po");
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QByteArray po = readFile(path("de.po"));

    const ProgramRun check = runProgram(client(QStringLiteral("msgfmt")),
        {QStringLiteral("--check"), QStringLiteral("-o"), QStringLiteral("/dev/null"), path("de.po")});
    const ProgramRun fuzzy = runProgram(client(QStringLiteral("msgattrib")),
        {QStringLiteral("--only-fuzzy"), QStringLiteral("--no-wrap"), path("de.po")});

    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_FALSE(check.err.contains("error")) << check.err.toStdString();
    ASSERT_EQ(fuzzy.exitCode, 0) << fuzzy.err.toStdString();
    std::set<QString> listed;
    static const QRegularExpression context(
        QStringLiteral("^msgctxt \"[0-9]+ ([^\"]*)\"$"), QRegularExpression::MultilineOption);
    for (auto match = context.globalMatch(QString::fromUtf8(fuzzy.out)); match.hasNext();)
        listed.insert(match.next().captured(1));
    std::set<QString> wanted;
    for (const Reviewed& entry : reviewedEntries()) {
        if (entry.wantsReview)
            wanted.insert(entry.name);
    }
    EXPECT_EQ(listed, wanted) << fuzzy.out.toStdString();
    // Notes as translator comments, the source accepted against as the
    // previous msgid.
    EXPECT_TRUE(po.contains("# a \"note\"\twith <&>\n# and \xF0\x9F\x98\x80\nmsgctxt \"2 FE.Noted\""))
        << po.toStdString();
    EXPECT_TRUE(po.contains("#, fuzzy\n#| msgid \"\"\n#| \"Load\\r\\n\"\n#| \"\\\"old\\\"\"\nmsgctxt \"4 FE.Changed\""))
        << po.toStdString();
}

TEST_F(ExchangeStatesTools, XmllintTakesTheXliffWithItsStatesAndNotes)
{
    ASSERT_FALSE(client(QStringLiteral("xmllint")).isEmpty()) << "xmllint is missing: run scripts/setup.sh";
    const ProgramRun exported = exportTo("de.xlf");
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QByteArray xliff = readFile(path("de.xlf"));

    const ProgramRun check = runProgram(client(QStringLiteral("xmllint")), {QStringLiteral("--noout"), path("de.xlf")});

    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.err.isEmpty()) << check.err.toStdString();
    EXPECT_EQ(xliff.count("<target state=\"needs-review-translation\">"), 3) << xliff.toStdString();
    EXPECT_EQ(xliff.count("<target state=\"final\">"), 1);
    EXPECT_EQ(xliff.count("<target state=\"translated\">"), 1);
    EXPECT_TRUE(xliff.contains("<note>a \"note\"\twith &lt;&amp;&gt;&#13;\nand \xF0\x9F\x98\x80</note>"))
        << xliff.toStdString();
}

TEST_F(ExchangeStatesTools, CsvHasStateAndNoteColumnsOnlyWhenAsked)
{
    ASSERT_EQ(exportTo("plain.csv").exitCode, 0);
    const ProgramRun withStates = exportTo("states.csv", {QStringLiteral("--states")});
    ASSERT_EQ(withStates.exitCode, 0) << withStates.err.toStdString();

    EXPECT_TRUE(readFile(path("plain.csv")).startsWith("\xEF\xBB\xBF\"number\",\"name\",\"text\",\"reference\"\r\n"));
    const QByteArray csv = readFile(path("states.csv"));
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF\"number\",\"name\",\"text\",\"reference\",\"state\",\"note\"\r\n"));
    EXPECT_TRUE(csv.contains("\"4\",\"FE.Changed\",\"Laden\",\"Load game\",\"needs review\",\"\"\r\n"))
        << csv.toStdString();
    EXPECT_TRUE(csv.contains("\"5\",\"FE.Approved\",\"Optionen\",\"Options\",\"approved\",\"#, fuzzy\"\r\n"));
}

TEST_F(ExchangeStatesTools, EachFormatExportedAndImportedBackLeavesTheReviewAsItWas)
{
    for (const char* name : {"back.csv", "back.po", "back.xlf"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(exportTo(name, {QStringLiteral("--states")}).exitCode, 0);
        const ProgramRun run = runLang({QStringLiteral("import"), QStringLiteral("--reference"), path("lang_en.xom"),
            path("lang_de.xom"), path(name), path("out.xom")});

        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("0 changed, 0 added, %1 unchanged, 0 not in the file\n")
                               .arg(reviewedEntries().size())
                               .toUtf8());
        EXPECT_EQ(reviewLines(readFile(path("out.xom.review"))), reviewLines(m_review));
    }
}

TEST_F(ExchangeStatesTools, AFuzzyMessageImportsItsTextAsNeedingReview)
{
    writeFile(path("edit.po"), "# look again\n#, fuzzy\nmsgctxt \"1 FE.Plain\"\nmsgid \"Start\"\nmsgstr \"Los\"\n");
    const ProgramRun run = runLang({QStringLiteral("import"), path("lang_de.xom"), path("edit.po"), path("out.xom")});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QByteArray("1 changed, 0 added, 0 unchanged, 6 not in the file, 1 states or notes changed\n"));
    EXPECT_TRUE(readFile(path("out.xom.review")).contains("\n1\tFE.Plain\tneeds-review\t-\tlook again\n"))
        << readFile(path("out.xom.review")).toStdString();
}

} // namespace
