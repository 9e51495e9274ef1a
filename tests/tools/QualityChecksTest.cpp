// check with the text checks: a German translation with faults planted in
// it, reported with their details, chosen with --checks or by the review
// file, listed with --list-checks, and the safe ones fixed with --fix.
#include "ProgramRun.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace {

using namespace toolstest;

struct Planted {
    const char16_t* name;
    const char16_t* english;
    const char16_t* german;
    // The report's line for the entry, without number and name; empty when
    // it passes.
    const char* reported;
};

const Planted planted[] = {
    {u"FE.Fine", u"Start the game.", u"Spiel starten.", ""},
    {u"FE.Tag", u"Press <b>Enter</b> to go on.", u"Drücke <b>Enter um weiterzumachen.", "tags differ (missing </b>)"},
    {u"FE.TagCase", u"<B>Warning</B>", u"<b>Warnung</b>", ""},
    {u"FE.Number", u"You found 12 coins.", u"Du hast 15 Münzen gefunden.", "numbers differ (missing 12; extra 15)"},
    {u"FE.ArabicDigits", u"Level 12", u"Stufe ١٢", ""},
    {u"FE.Ending", u"Are you sure?", u"Bist du sicher.", "ending punctuation differs (“?” → “.”)"},
    {u"FE.Doubled", u"Open the door", u"Öffne die die Tür", ""},
    {u"FE.DoubledNoun", u"Close the door", u"Schließe die Tür Tür", "doubled word (“Tür Tür”)"},
    {u"FE.Invisible", u"Load game", u"Spiel\u200B laden", "invisible characters (U+200B at 5)"},
    {u"FE.Placeholder", u"%d lives left", u"Noch Leben", "placeholders differ (missing %d)"},
    {u"FE.Edge", u"Save", u" Speichern", "whitespace differs"},
};

class PlantedFaults : public testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::pair<QString, QString>> english;
        std::vector<std::pair<QString, QString>> german;
        for (const Planted& entry : planted) {
            english.emplace_back(QString::fromUtf16(entry.name), QString::fromUtf16(entry.english));
            german.emplace_back(QString::fromUtf16(entry.name), QString::fromUtf16(entry.german));
        }
        writeFile(reference, testsupport::simpleFile(english).bytes());
        writeFile(translation, testsupport::simpleFile(german).bytes());
    }

    [[nodiscard]] ProgramRun check(QStringList more = {}) const
    {
        return runLang(
            QStringList{QStringLiteral("check"), translation, QStringLiteral("--reference"), reference} + more);
    }

    // The report's lines as planted says them, for the entries kept.
    [[nodiscard]] static QByteArray expected(const std::function<bool(const Planted&)>& keep, const int failing)
    {
        QByteArray out;
        int number = 0;
        for (const Planted& entry : planted) {
            ++number;
            if (*entry.reported && keep(entry))
                out += QByteArray::number(number) + '\t' + QString::fromUtf16(entry.name).toUtf8() + '\t'
                     + entry.reported + '\n';
        }
        return out + "11 entries: 0 untranslated, " + QByteArray::number(failing) + " with warnings\n";
    }

    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("lang_en.xom"));
    const QString translation = dir.filePath(QStringLiteral("lang_de.xom"));
};

TEST_F(PlantedFaults, EachIsReportedWithWhatItFound)
{
    const ProgramRun run = check();
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), expected([](const Planted&) { return true; }, 7).toStdString());

    // JSON names each check by its key, with severity and detail.
    const ProgramRun json = check({QStringLiteral("--json")});
    EXPECT_TRUE(json.out.contains(
        R"({"number":2,"name":"FE.Tag","checks":["tags differ"],"findings":[{"check":"tags","severity":"critical","detail":"missing </b>"}]})"))
        << json.out.toStdString();
    EXPECT_TRUE(json.out.contains(
        R"("findings":[{"check":"invisible-characters","severity":"warning","detail":"U+200B at 5"}])"));
}

TEST_F(PlantedFaults, ChecksCanBeChosen)
{
    // Exactly those asked for.
    const ProgramRun some = check({QStringLiteral("--checks"), QStringLiteral("tags,numbers")});
    EXPECT_EQ(some.exitCode, 3);
    EXPECT_EQ(some.out.toStdString(), expected(
                                          [](const Planted& entry) {
                                              return QByteArray(entry.reported).startsWith("tags")
                                                  || QByteArray(entry.reported).startsWith("numbers");
                                          },
                                          2)
                                          .toStdString());
    const ProgramRun wrong = check({QStringLiteral("--checks"), QStringLiteral("tags,grammar")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains("'grammar' is no check")) << wrong.err.toStdString();

    // The review file's choices: the doubled word off, a length limit on.
    writeFile(translation + QStringLiteral(".review"),
        "# Ludra review 1\n# checks -doubled-word +length max-characters=30\n");
    const ProgramRun chosen = check();
    EXPECT_FALSE(chosen.out.contains("doubled word")) << chosen.out.toStdString();
    EXPECT_TRUE(chosen.out.contains("2\tFE.Tag\ttags differ (missing </b>), too long (34 characters, at most 30)\n"))
        << chosen.out.toStdString();
}

TEST_F(PlantedFaults, ListChecksNeedsNoFile)
{
    const ProgramRun run = runLang({QStringLiteral("check"), QStringLiteral("--list-checks")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_GE(lines.size(), 25);
    EXPECT_EQ(lines.front(), "untranslated\twarning\ton\tuntranslated\tThe text is still the reference text.");
    EXPECT_TRUE(run.out.contains("\nlength\tcritical\toff\ttoo long\t"));
    EXPECT_TRUE(lines.back().startsWith("spelling\tstyle\ton\tspelling\t"));
}

TEST_F(PlantedFaults, TheSafeFixesAreMadeOnRequest)
{
    const QString fixedPath = dir.filePath(QStringLiteral("fixed_de.xom"));
    const ProgramRun run = check({QStringLiteral("--fix"), fixedPath});
    EXPECT_TRUE(run.err.contains("2 entries fixed")) << run.err.toStdString();
    // The invisible character and the edge whitespace are gone; the rest
    // is the translator's to mend.
    EXPECT_EQ(run.out.toStdString(), expected(
                                         [](const Planted& entry) {
                                             return QString::fromUtf16(entry.name) != QStringLiteral("FE.Invisible")
                                                 && QString::fromUtf16(entry.name) != QStringLiteral("FE.Edge");
                                         },
                                         5)
                                         .toStdString());
    const ProgramRun again = runLang({QStringLiteral("check"), fixedPath, QStringLiteral("--reference"), reference});
    EXPECT_EQ(again.out, run.out);
    // The file checked was left as it was.
    EXPECT_EQ(check().out.toStdString(), expected([](const Planted&) { return true; }, 7).toStdString());
}

// Spelling by the dictionary of the file's language: a word the reference
// has (a name) is never unknown; a language without a dictionary is said
// when spelling is asked for by name.
TEST(CheckSpelling, ListsUnknownWordsByTheFilesLanguage)
{
    if (!QFile::exists(QStringLiteral("/usr/share/hunspell/de_DE.dic")))
        GTEST_SKIP() << "needs Debian's hunspell-de-de";
    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("lang_en.xom"));
    const QString german = dir.filePath(QStringLiteral("lang_de.xom"));
    const QString french = dir.filePath(QStringLiteral("lang_fr.xom"));
    writeFile(reference, testsupport::simpleFile({{utf16(u"FE.Saved"), utf16(u"Zorvek saved the game")},
                                                     {utf16(u"FE.Quit"), utf16(u"Quit")}})
                             .bytes());
    writeFile(german, testsupport::simpleFile({{utf16(u"FE.Saved"), utf16(u"Zorvek hat das Spiell gespeichret")},
                                                  {utf16(u"FE.Quit"), utf16(u"Beenden")}})
                          .bytes());
    writeFile(french, testsupport::simpleFile({{utf16(u"FE.Saved"), utf16(u"Zorvek a sauvgardé la partie")},
                                                  {utf16(u"FE.Quit"), utf16(u"Quitter")}})
                          .bytes());

    const ProgramRun run = runLang({QStringLiteral("check"), german, QStringLiteral("--reference"), reference});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "1\tFE.Saved\tspelling (Spiell, gespeichret)\n"
                                     "2 entries: 0 untranslated, 1 with warnings\n");
    const ProgramRun json = runLang(
        {QStringLiteral("check"), german, QStringLiteral("--reference"), reference, QStringLiteral("--json")});
    EXPECT_TRUE(
        json.out.contains(R"("findings":[{"check":"spelling","severity":"style","detail":"Spiell, gespeichret"}])"))
        << json.out.toStdString();
    // The fixed file, written under a name that tells no language, is still
    // spelled as the file checked.
    const ProgramRun fixed = runLang({QStringLiteral("check"), german, QStringLiteral("--reference"), reference,
        QStringLiteral("--fix"), dir.filePath(QStringLiteral("fixed.xom"))});
    EXPECT_EQ(fixed.out.toStdString(), run.out.toStdString());
    const ProgramRun off = runLang({QStringLiteral("check"), german, QStringLiteral("--reference"), reference,
        QStringLiteral("--checks"), QStringLiteral("tags")});
    EXPECT_EQ(off.exitCode, 0) << off.out.toStdString();

    // No French dictionary here: nothing found, and said when asked for.
    const ProgramRun none = runLang({QStringLiteral("check"), french, QStringLiteral("--reference"), reference,
        QStringLiteral("--checks"), QStringLiteral("spelling")});
    EXPECT_EQ(none.exitCode, 0) << none.out.toStdString();
    if (!QFile::exists(QStringLiteral("/usr/share/hunspell/fr_FR.dic"))) {
        EXPECT_TRUE(none.err.contains("spelling not checked: no spelling dictionary for fr is installed"))
            << none.err.toStdString();
    }
}

} // namespace
