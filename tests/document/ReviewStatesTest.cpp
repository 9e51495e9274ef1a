// The review kept beside the file, through the document: each entry's
// review follows it through Sort, Move Down, Add and import, undo and redo;
// a save writes it beside the file, sorted by number and paired with the
// file's bytes, and the next open takes it back entry by entry, keeping
// aside what names no entry; a save that fails writes neither file.

#include "document/Document.h"

#include "exchange/ExchangeFormat.h"
#include "review/ReviewPairing.h"
#include "xom/LanguageFileReader.h"
#include "xom/WholeFile.h"

#include "support/RandomEntries.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace {

using document::Document;
using review::EntryReview;
using review::State;

// Every entry's review by its name (the random files' names are unique).
std::map<QString, EntryReview> reviewsByName(const Document& document)
{
    std::map<QString, EntryReview> reviews;
    for (int row = 0; row < document.entries().entryCount(); ++row) {
        const EntryReview& kept = document.entryReview(row + 1);
        if (kept.keepsAnything())
            reviews[document.entries().name(row).toString()] = kept;
    }
    return reviews;
}

void setReview(Document& document, const int gridRow, const EntryReview& review)
{
    document.setEntryReviews({{gridRow, document.entryReview(gridRow), review}}, QStringLiteral("Approve"));
}

xom::LoadedFile uniqueNames(const unsigned seed, const int count)
{
    std::mt19937 random(seed);
    xom::LoadedFile file = testsupport::randomLoadedFile(random, count);
    for (int row = 0; row < file.entries.entryCount(); ++row)
        file.entries.setCell(row, xom::NameColumn, QStringLiteral("FE.Unique%1").arg(row));
    return file;
}

TEST(ReviewStates, FollowTheirEntriesThroughEveryOperationAndItsUndo)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        Document document;
        document.open(uniqueNames(seed, 30), QStringLiteral("lang_de.xom"));
        std::mt19937 random(seed);
        std::map<QString, EntryReview> expected;
        const State states[] = {State::NeedsReview, State::Translated, State::Approved};
        for (int step = 0; step < 40; ++step) {
            const int row = 1 + static_cast<int>(random() % static_cast<unsigned>(document.entries().entryCount()));
            switch (random() % 6) {
            case 0:
            case 1: {
                EntryReview review{states[random() % 3], QStringLiteral("note %1").arg(step), std::nullopt};
                if (random() % 2 == 0)
                    review.snapshot = QStringLiteral("source %1\t\n").arg(step);
                setReview(document, row, review);
                expected[document.entries().name(row - 1).toString()] = review;
                break;
            }
            case 2:
                document.sortByName();
                break;
            case 3:
                document.toggleMark(row);
                document.moveDown();
                break;
            case 4:
                document.addEntry(QStringLiteral("FE.Added%1").arg(step), QStringLiteral("new"));
                break;
            default: {
                // An import of one new entry and one changed text.
                const QByteArray csv = QStringLiteral("number,name,text\r\n,FE.Imported%1,i\r\n%2,%3,changed\r\n")
                                           .arg(step)
                                           .arg(document.entries().number(row - 1))
                                           .arg(document.entries().name(row - 1))
                                           .toUtf8();
                document.importExchange(csv, exchange::ExchangeFormat::Csv, {});
                break;
            }
            }
            ASSERT_EQ(reviewsByName(document), expected) << "after step " << step;
        }
        const std::map<QString, EntryReview> made = reviewsByName(document);
        const int done = document.history().index();
        for (int step = 0; step < done; ++step)
            document.undo();
        EXPECT_TRUE(reviewsByName(document).empty());
        EXPECT_FALSE(document.isModified());
        for (int step = 0; step < done; ++step)
            document.redo();
        EXPECT_EQ(reviewsByName(document), made);
    }
}

TEST(ReviewStates, ASaveWritesThemBesideTheFileAndTheNextOpenTakesThemBack)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lang_de.xom"));
    Document document;
    document.open(uniqueNames(4, 20), path);
    setReview(document, 7, {State::Approved, QStringLiteral("ok"), QStringLiteral("Quit")});
    setReview(document, 2, {State::NeedsReview, QString(), std::nullopt});
    setReview(document, 15, {State::Translated, QString(), QString()});
    EXPECT_TRUE(document.isModified());
    std::vector<int> numbers{document.entries().number(1).toInt(), document.entries().number(6).toInt(),
        document.entries().number(14).toInt()};
    std::sort(numbers.begin(), numbers.end());
    document.sortByName();
    document.saveAs(path);

    const xom::WholeFile saved = xom::readWholeFile(path);
    review::ReviewBeside beside = review::readReviewBeside(path, saved.bytes);
    ASSERT_TRUE(beside.file) << beside.refusal->message().toStdString();
    EXPECT_TRUE(beside.pairs);
    ASSERT_EQ(beside.file->lines.size(), 3u);
    // In the order of the numbers, whatever the grid's order.
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(beside.file->lines[i].number, QString::number(numbers[i]));

    // An entry the file no longer has is kept aside and written back.
    beside.file->lines.push_back({QStringLiteral("99"), QStringLiteral("FE.Gone"), {State::Approved, {}, {}}});
    Document reopened;
    reopened.open(std::get<xom::LoadedFile>(xom::loadLanguageFile(saved.bytes)), path);
    EXPECT_EQ(reopened.takeReviewFile(*beside.file), 1);
    EXPECT_EQ(reviewsByName(reopened), reviewsByName(document));
    EXPECT_FALSE(reopened.isModified());
    reopened.setEntryReviews({{3, reopened.entryReview(3), {State::Approved, {}, {}}}}, QStringLiteral("Approve"));
    reopened.saveAs(path);
    const review::ReviewBeside again = review::readReviewBeside(path, xom::readWholeFile(path).bytes);
    ASSERT_TRUE(again.file);
    EXPECT_EQ(again.file->lines.size(), 5u);
    EXPECT_EQ(again.file->lines.back().name, QStringLiteral("FE.Gone"));

    // The language file replaced without its review (a crash between the
    // two renames): the review no longer pairs.
    Document other;
    other.open(uniqueNames(5, 3), path);
    other.saveAs(path);
    EXPECT_FALSE(review::readReviewBeside(path, xom::readWholeFile(path).bytes).pairs);
}

TEST(ReviewStates, ASaveThatFailsWritesNeitherFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("no-such-folder/lang_de.xom"));
    Document document;
    document.open(uniqueNames(6, 5), path);
    setReview(document, 1, {State::Approved, {}, {}});
    EXPECT_THROW(document.saveAs(path), text::EditorError);
    EXPECT_FALSE(QFile::exists(review::reviewPathFor(path)));
    EXPECT_TRUE(document.isModified());
}

} // namespace

namespace {

// A reference whose entry FE.Unique1 reads text.
xom::EntryTable referenceWith(const Document& document, const QString& text)
{
    xom::EntryTable reference = document.entries();
    reference.setCell(1, xom::TextColumn, text);
    return reference;
}

TEST(ReviewStates, ANewSourceTextAsksForReviewUntilAcceptedAgain)
{
    Document document;
    document.open(uniqueNames(7, 6), QStringLiteral("lang_de.xom"));
    EXPECT_FALSE(document.sourceChanged(2)) << "no reference";
    document.openReference(referenceWith(document, QStringLiteral("Quit to desktop")), QStringLiteral("lang_en.xom"));
    EXPECT_FALSE(document.sourceChanged(2)) << "no snapshot yet";

    ASSERT_TRUE(document.toggleApproved(2));
    EXPECT_EQ(document.entryReview(2).state, State::Approved);
    EXPECT_EQ(document.entryReview(2).snapshot, std::optional<QString>(QStringLiteral("Quit to desktop")));
    EXPECT_FALSE(document.sourceChanged(2));

    // The game's next version changes the source.
    document.openReference(referenceWith(document, QStringLiteral("Quit to main menu")), QStringLiteral("lang_en.xom"));
    EXPECT_TRUE(document.sourceChanged(2));
    EXPECT_TRUE(document.wantsReview(2));

    // Accepting the text again takes the new source as its snapshot.
    ASSERT_TRUE(document.acceptText(2, document.entries().gridCell(2, xom::TextColumn)));
    EXPECT_EQ(document.entryReview(2).state, State::Translated);
    EXPECT_FALSE(document.sourceChanged(2));
    document.undo();
    EXPECT_TRUE(document.sourceChanged(2));
}

} // namespace
