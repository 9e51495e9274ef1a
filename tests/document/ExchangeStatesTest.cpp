// Review states and notes through the exchange formats, bytes in and states
// out: a file exported and imported unchanged changes no state and no text,
// in every format, whatever the notes and snapshots hold; what each format
// says of a state arrives as that state; an import's states are one undo
// step with its texts; a state word CSV does not know is refused at its
// line.

#include "document/Document.h"

#include "exchange/ExchangeExport.h"
#include "exchange/ImportError.h"
#include "xom/LanguageFileReader.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

namespace {

using document::Document;
using exchange::ExchangeFormat;
using review::EntryReview;
using review::State;

xom::LoadedFile loaded(const std::vector<std::pair<QString, QString>>& entries)
{
    xom::LoadResult result = xom::loadLanguageFile(testsupport::simpleFile(entries).bytes());
    return std::get<xom::LoadedFile>(std::move(result));
}

std::vector<EntryReview> reviewsOf(const Document& document)
{
    std::vector<EntryReview> reviews;
    for (int row = 1; row < document.entries().gridRowCount(); ++row)
        reviews.push_back(document.entryReview(row));
    return reviews;
}

QStringList textsOf(const Document& document)
{
    QStringList texts;
    for (int row = 0; row < document.entries().entryCount(); ++row)
        texts.append(document.entries().name(row).toString() + u'=' + document.entries().text(row).toString());
    return texts;
}

// Texts that each format has to escape, split or keep apart.
const QString Hostile[] = {
    QStringLiteral("tab\there"),
    QStringLiteral("CR LF\r\nand LF\nand CR\rend"),
    QStringLiteral("\"quoted\" 'single' \\backslash"),
    QStringLiteral("<&> &amp; ]]> <note>"),
    QStringLiteral("non-BMP \U0001F600 \U00020000"),
    QStringLiteral("  blanks around \t"),
    QStringLiteral("#, fuzzy\n#| msgid \"x\"\n#~ old"),
    QStringLiteral("\n\nempty lines\n\n"),
};

constexpr int EntryCount = 9;

// Nine entries against a reference: one in every state, with and without a
// note, a snapshot that is the reference's text, one that no longer is (the
// source changed), and an entry the reference lacks.
struct ReviewedDocument {
    ReviewedDocument(const bool withReference, const int hostile)
    {
        const QString& odd = Hostile[hostile % std::size(Hostile)];
        const QString& other = Hostile[(hostile + 3) % std::size(Hostile)];
        std::vector<std::pair<QString, QString>> entries;
        std::vector<std::pair<QString, QString>> reference;
        for (int i = 0; i < EntryCount; ++i) {
            entries.emplace_back(QStringLiteral("FE.Entry%1").arg(i), QStringLiteral("Text %1\r\n").arg(i) + other);
            if (i != 8)
                reference.emplace_back(QStringLiteral("FE.Entry%1").arg(i), QStringLiteral("Source %1 ").arg(i) + odd);
        }
        document.open(loaded(entries), QStringLiteral("lang_de.xom"));
        if (withReference)
            document.openReference(loaded(reference).entries, QStringLiteral("lang_en.xom"));
        const QString source = reference[2].second;
        const EntryReview reviews[EntryCount] = {
            {State::Unset, QString(), std::nullopt},
            {State::Unset, odd, std::nullopt},
            {State::NeedsReview, other, source},
            {State::Translated, QString(), reference[3].second},
            {State::Translated, odd, odd + QStringLiteral("old source")},
            {State::Approved, other, reference[5].second},
            {State::Approved, QString(), odd},
            {State::NeedsReview, QString(), std::nullopt},
            {State::Translated, odd, odd},
        };
        std::vector<document::ReviewChange> changes;
        for (int row = 1; row <= EntryCount; ++row)
            changes.push_back({row, EntryReview{}, reviews[row - 1]});
        document.setEntryReviews(std::move(changes), QStringLiteral("Review"));
    }

    Document document;
};

struct FormatCase {
    const char* name;
    ExchangeFormat format;
};

class ExchangeStates : public testing::TestWithParam<FormatCase> { };

TEST_P(ExchangeStates, AFileExportedAndImportedUnchangedChangesNoStateAndNoText)
{
    for (const bool withReference : {true, false}) {
        for (int hostile = 0; hostile < static_cast<int>(std::size(Hostile)); ++hostile) {
            SCOPED_TRACE(testing::Message() << "reference " << withReference << ", text " << hostile);
            ReviewedDocument reviewed(withReference, hostile);
            Document& document = reviewed.document;
            const std::vector<EntryReview> reviews = reviewsOf(document);
            const QStringList texts = textsOf(document);
            const int steps = document.history().index();

            const QByteArray bytes = document.exportAs(GetParam().format,
                exchange::exportContextOf(QStringLiteral("lang_de.xom"), QStringLiteral("lang_en.xom")));
            const exchange::ImportOutcome outcome = document.importExchange(bytes, GetParam().format, {});

            EXPECT_EQ(exchange::summaryLine(outcome.summary),
                QStringLiteral("0 changed, 0 added, %1 unchanged, 0 not in the file").arg(EntryCount))
                << bytes.toStdString();
            EXPECT_EQ(reviewsOf(document), reviews) << bytes.toStdString();
            EXPECT_EQ(textsOf(document), texts);
            EXPECT_EQ(document.history().index(), steps);
        }
    }
}

TEST_P(ExchangeStates, AnImportIsOneStepThatUndoTakesBackWithItsStates)
{
    ReviewedDocument reviewed(true, 1);
    Document& document = reviewed.document;
    // Entry 1 edited to need review with a note, entry 7 approved again,
    // entry 8 reviewed, and in CSV a new entry.
    const std::vector<EntryReview> before = reviewsOf(document);
    const QStringList textsBefore = textsOf(document);
    const int steps = document.history().index();
    QByteArray edits;
    switch (GetParam().format) {
    case ExchangeFormat::Csv:
        edits = "number,name,text,note,state\r\n"
                "1,FE.Entry0,edited,\"a new\nnote\",Needs-Review\r\n"
                "7,FE.Entry6,Text 6,,approved\r\n"
                "8,FE.Entry7,Text 7,,Translated\r\n"
                ",FE.New,added,hello,approved\r\n";
        break;
    case ExchangeFormat::Po:
        edits = "# a new\n# note\n#, fuzzy\nmsgctxt \"1 FE.Entry0\"\nmsgid \"x\"\nmsgstr \"edited\"\n\n"
                "msgctxt \"8 FE.Entry7\"\nmsgid \"x\"\nmsgstr \"Text 7\"\n";
        break;
    case ExchangeFormat::Xliff:
        edits = "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>\n"
                "<trans-unit id=\"1\" resname=\"FE.Entry0\"><target state=\"needs-review-l10n\">edited</target>"
                "<note>a new</note><note>note</note></trans-unit>\n"
                "<trans-unit id=\"7\" resname=\"FE.Entry6\"><target state=\"signed-off\"/></trans-unit>\n"
                "<trans-unit id=\"8\" resname=\"FE.Entry7\"><target state=\"translated\"/></trans-unit>\n"
                "</body></file></xliff>\n";
        break;
    }
    const exchange::ImportOutcome outcome = document.importExchange(edits, GetParam().format, {});
    const std::vector<EntryReview> after = reviewsOf(document);
    const QStringList textsAfter = textsOf(document);

    EXPECT_EQ(document.history().index(), steps + 1);
    EXPECT_EQ(document.history().undoText(), QStringLiteral("Import"));
    EXPECT_EQ(document.entries().text(0), QStringLiteral("edited"));
    EXPECT_EQ(document.entryReview(1).state, State::NeedsReview);
    EXPECT_EQ(document.entryReview(1).note, QStringLiteral("a new\nnote"));
    // Entry 8 needed review: the file takes it as translated, against the
    // reference now.
    EXPECT_EQ(document.entryReview(8).state, State::Translated);
    EXPECT_EQ(document.entryReview(8).snapshot, QString(QStringLiteral("Source 7 ") + Hostile[1]));
    if (GetParam().format != ExchangeFormat::Po) {
        // Entry 7's approval was of a source that changed since: taken
        // again, it is of the source now.
        EXPECT_EQ(document.entryReview(7).state, State::Approved);
        EXPECT_FALSE(document.sourceChanged(7));
    }
    if (GetParam().format == ExchangeFormat::Csv) {
        EXPECT_EQ(document.entries().entryCount(), EntryCount + 1);
        EXPECT_EQ(document.entryReview(EntryCount + 1).note, QStringLiteral("hello"));
    }
    EXPECT_GT(outcome.summary.reviewsChanged, 0);
    EXPECT_TRUE(exchange::summaryLine(outcome.summary)
                    .endsWith(QStringLiteral(", %1 states or notes changed").arg(outcome.summary.reviewsChanged)));

    document.undo();
    EXPECT_EQ(reviewsOf(document), before);
    EXPECT_EQ(textsOf(document), textsBefore);
    document.redo();
    EXPECT_EQ(reviewsOf(document), after);
    EXPECT_EQ(textsOf(document), textsAfter);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExchangeStates,
    testing::Values(FormatCase{"Csv", ExchangeFormat::Csv}, FormatCase{"Po", ExchangeFormat::Po},
        FormatCase{"Xliff", ExchangeFormat::Xliff}),
    [](const testing::TestParamInfo<FormatCase>& row) { return std::string(row.param.name); });

// What one record of each format says, against the state entry 1 had.
struct SaidCase {
    const char* what;
    ExchangeFormat format;
    State before;
    QByteArray record; // the file, entry 1's record its only one
    State after;
    QString note;
};

const QByteArray XliffHead("<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>");

QByteArray xliff(const QByteArray& unit)
{
    return XliffHead + unit + "</body></file></xliff>";
}

TEST(ExchangeStatesSaid, EachFormatsWordForAStateArrivesAsThatState)
{
    const SaidCase cases[] = {
        {"fuzzy", ExchangeFormat::Po, State::Unset, "#, fuzzy\nmsgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n",
            State::NeedsReview, QString()},
        {"fuzzy among flags", ExchangeFormat::Po, State::Approved,
            "#, c-format, fuzzy\nmsgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n", State::NeedsReview, QString()},
        {"fuzzy, empty msgstr", ExchangeFormat::Po, State::Translated,
            "#, fuzzy\nmsgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"\"\n", State::NeedsReview, QString()},
        {"not fuzzy", ExchangeFormat::Po, State::NeedsReview, "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n",
            State::Translated, QString()},
        {"not fuzzy, approved", ExchangeFormat::Po, State::Approved, "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n",
            State::Approved, QString()},
        {"not fuzzy, unset", ExchangeFormat::Po, State::Unset, "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n",
            State::Unset, QString()},
        {"translator comments", ExchangeFormat::Po, State::Unset,
            "#  two spaces\n#\n#. extracted\n#: ref.c:1\n#| msgid \"old\"\n#tight\nmsgctxt \"1 FE.A\"\nmsgid "
            "\"a\"\nmsgstr \"b\"\n",
            State::Unset, QStringLiteral(" two spaces\n\ntight")},
        {"comments of an obsolete message", ExchangeFormat::Po, State::Unset,
            "# old note\n#, fuzzy\n#~ msgctxt \"9 FE.Old\"\n#~ msgid \"a\"\n#~ msgstr \"b\"\n\nmsgctxt \"1 "
            "FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n",
            State::Unset, QString()},
        {"needs-review-adaptation", ExchangeFormat::Xliff, State::Approved,
            xliff("<trans-unit id=\"1\" resname=\"FE.A\"><target state=\"needs-review-adaptation\">b</target>"
                  "</trans-unit>"),
            State::NeedsReview, QString()},
        {"new with a text", ExchangeFormat::Xliff, State::Translated,
            xliff("<trans-unit id=\"1\" resname=\"FE.A\"><target state=\"new\">b</target></trans-unit>"),
            State::NeedsReview, QString()},
        {"new without a text", ExchangeFormat::Xliff, State::Translated,
            xliff("<trans-unit id=\"1\" resname=\"FE.A\"><target state=\"new\"/></trans-unit>"), State::Translated,
            QString()},
        {"translated", ExchangeFormat::Xliff, State::NeedsReview,
            xliff("<trans-unit id=\"1\" resname=\"FE.A\"><target state=\"translated\">b</target></trans-unit>"),
            State::Translated, QString()},
        {"signed-off", ExchangeFormat::Xliff, State::Unset,
            xliff("<trans-unit id=\"1\" resname=\"FE.A\"><target state=\"signed-off\">b</target></trans-unit>"),
            State::Approved, QString()},
        {"no state", ExchangeFormat::Xliff, State::Approved,
            xliff("<trans-unit id=\"1\" resname=\"FE.A\"><target>b</target><note>x &lt;&amp;&gt;&#13;\ny</note>"
                  "<alt-trans><target>c</target><note>not this</note></alt-trans></trans-unit>"),
            State::Approved, QStringLiteral("x <&>\r\ny")},
        {"state words in any case", ExchangeFormat::Csv, State::Unset,
            "number,name,text,state\r\n1,FE.A,b,Needs Review\r\n", State::NeedsReview, QString()},
        {"empty state", ExchangeFormat::Csv, State::Approved, "number,name,text,state,note\r\n1,FE.A,b\r\n",
            State::Unset, QString()},
        {"no state column", ExchangeFormat::Csv, State::Approved, "number,name,text,reference\r\n1,FE.A,b,a\r\n",
            State::Approved, QString()},
        {"note first", ExchangeFormat::Csv, State::Unset,
            "number,name,text,note,reference,state\r\n1,FE.A,b,\"tab\tand \"\"quotes\"\"\",a,approved\r\n",
            State::Approved, QStringLiteral("tab\tand \"quotes\"")},
    };
    for (const SaidCase& c : cases) {
        SCOPED_TRACE(c.what);
        Document document;
        document.open(loaded({{QStringLiteral("FE.A"), QStringLiteral("a")}}), QStringLiteral("lang_de.xom"));
        document.setEntryReviews({{1, EntryReview{}, EntryReview{c.before, QString(), std::nullopt}}}, {});
        (void)document.importExchange(c.record, c.format, {});
        EXPECT_EQ(document.entryReview(1).state, c.after);
        EXPECT_EQ(document.entryReview(1).note, c.note);
    }
}

// An entry whose source changed since its translation was accepted is
// exported as needing review; the file saying so leaves it as it is, the
// file saying it is done accepts it against the source now.
TEST(ExchangeStatesSaid, AChangedSourceStaysUntilTheFileSaysTheTranslationIsDone)
{
    const struct {
        const char* what;
        QByteArray record;
        bool sourceChangedAfter;
    } cases[] = {
        {"fuzzy", "#, fuzzy\nmsgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n", true},
        {"not fuzzy", "msgctxt \"1 FE.A\"\nmsgid \"a\"\nmsgstr \"b\"\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Document document;
        document.open(loaded({{QStringLiteral("FE.A"), QStringLiteral("b")}}), QStringLiteral("lang_de.xom"));
        document.openReference(
            loaded({{QStringLiteral("FE.A"), QStringLiteral("new source")}}).entries, QStringLiteral("lang_en.xom"));
        document.setEntryReviews(
            {{1, EntryReview{}, EntryReview{State::Approved, QString(), QStringLiteral("old source")}}}, {});
        ASSERT_TRUE(document.sourceChanged(1));
        const QByteArray po = document.exportAs(ExchangeFormat::Po, {});
        EXPECT_TRUE(po.contains("#, fuzzy\n#| msgid \"old source\"\nmsgctxt \"1 FE.A\"\nmsgid \"new source\"\n"))
            << po.toStdString();

        (void)document.importExchange(c.record, ExchangeFormat::Po, {});

        EXPECT_EQ(document.sourceChanged(1), c.sourceChangedAfter);
        EXPECT_EQ(document.entryReview(1).state, c.sourceChangedAfter ? State::Approved : State::Translated);
    }
}

TEST(ExchangeStatesSaid, AnUnknownCsvStateIsRefusedAtItsLineAndChangesNothing)
{
    Document document;
    document.open(
        loaded({{QStringLiteral("FE.A"), QStringLiteral("a")}, {QStringLiteral("FE.B"), QStringLiteral("b")}}),
        QStringLiteral("lang_de.xom"));
    const QByteArray csv = "number,name,text,state\r\n1,FE.A,changed,approved\r\n2,FE.B,b,done\r\n";
    try {
        (void)document.importExchange(csv, ExchangeFormat::Csv, {});
        FAIL() << "an unknown state was taken";
    } catch (const exchange::ImportError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_TRUE(error.reason().contains(QStringLiteral("unknown state \"done\""))) << error.what();
    }
    EXPECT_EQ(document.entries().text(0), QStringLiteral("a"));
    EXPECT_EQ(document.entryReview(1), EntryReview{});
    EXPECT_EQ(document.history().index(), 0);
}

// A fuzzy PO message's previous msgid, as gettext's msgmerge keeps it, is
// the source the translation was made from: it becomes the snapshot, and
// with the reference open the entry's source shows as changed from it. A
// previous msgid that continues over lines, a previous msgctxt read past,
// and a message that is not fuzzy, whose previous msgid says nothing.
TEST(ExchangeStatesPo, APreviousMsgidIsTheSourceTheTranslationWasMadeFrom)
{
    Document document;
    document.open(loaded({{QStringLiteral("FE.Quit"), QStringLiteral("Beenden")},
                      {QStringLiteral("FE.Start"), QStringLiteral("Starten")}}),
        QStringLiteral("lang_de.xom"));
    document.openReference(loaded({{QStringLiteral("FE.Quit"), QStringLiteral("Quit the game")},
                                      {QStringLiteral("FE.Start"), QStringLiteral("Start")}})
                               .entries,
        QStringLiteral("lang_en.xom"));
    const QByteArray po = "#, fuzzy\n"
                          "#| msgctxt \"1 FE.Old\"\n"
                          "#| msgid \"Quit \"\n"
                          "#| \"to desktop\"\n"
                          "msgctxt \"1 FE.Quit\"\n"
                          "msgid \"Quit the game\"\n"
                          "msgstr \"Beenden\"\n"
                          "\n"
                          "#| msgid \"Begin\"\n"
                          "msgctxt \"2 FE.Start\"\n"
                          "msgid \"Start\"\n"
                          "msgstr \"Starten\"\n";
    (void)document.importExchange(po, exchange::ExchangeFormat::Po, {});
    EXPECT_EQ(document.entryReview(1).state, State::NeedsReview);
    EXPECT_EQ(document.entryReview(1).snapshot, std::optional<QString>(QStringLiteral("Quit to desktop")));
    EXPECT_TRUE(document.sourceChanged(1));
    EXPECT_EQ(document.entryReview(2).snapshot, std::nullopt);
    document.undo();
    EXPECT_EQ(document.entryReview(1), EntryReview{});
}

} // namespace
