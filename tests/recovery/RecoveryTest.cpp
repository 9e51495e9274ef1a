// Recovery through its public parts: a document's journal, written as a day
// of random steps and saves goes, replays onto the file on disk to the same
// entries, history and unsaved state; a journal cut short anywhere or
// damaged replays up to its last whole record; journals of one file never
// share a name, a clean end leaves none, and a folder that cannot be
// written turns recovery off without stopping edits or saves.

#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"
#include "recovery/DocumentJournal.h"
#include "recovery/JournalFolder.h"
#include "recovery/Replay.h"
#include "review/ReviewPairing.h"

#include "xom/LanguageFileReader.h"
#include "xom/WholeFile.h"

#include "support/RandomEntries.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

using document::Document;
using recovery::DocumentJournal;
using recovery::JournalFolder;
using testsupport::cellsOf;

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The document a new run makes of the file on disk and the review beside
// it.
void loadFromDisk(Document& document, const QString& path)
{
    const QByteArray bytes = xom::readWholeFile(path).bytes;
    xom::LoadResult loaded = xom::loadLanguageFile(bytes);
    ASSERT_TRUE(std::holds_alternative<xom::LoadedFile>(loaded));
    document.open(std::get<xom::LoadedFile>(std::move(loaded)), path);
    review::ReviewBeside beside = review::readReviewBeside(path, bytes);
    ASSERT_FALSE(beside.refusal) << beside.refusal->message().toStdString();
    if (beside.file)
        document.takeReviewFile(std::move(*beside.file));
}

// A file on disk, open in a document whose journal is kept in a folder of
// the test's own.
struct JournalledFile {
    explicit JournalledFile(const unsigned seed)
        : path(folder.filePath(QStringLiteral("lang_de.xom")))
        , random(seed)
    {
        document.open(testsupport::randomLoadedFile(random, 30), path);
        document.saveAs(path);
        journal = std::make_unique<DocumentJournal>(document, JournalFolder(folder.filePath(QStringLiteral("rec"))));
    }

    // One random step of a translator's day: edits of any text, marks,
    // Add, Move Down, Sort, an import with states, an update that drops what
    // the new reference lacks, undo, redo, and now and then a save.
    void randomStep()
    {
        const int row = 1 + static_cast<int>(random() % static_cast<unsigned>(document.entries().entryCount()));
        testsupport::TextMix mix;
        switch (random() % 13) {
        case 11: {
            // An entry's text and state, and a new entry with a note.
            const auto field
                = [](const QString& text) { return '"' + exchange::exchangeUtf8(text).replace('"', "\"\"") + '"'; };
            const QByteArray csv = "number,name,text,state,note\r\n" + field(document.entries().number(row - 1)) + ','
                                 + field(document.entries().name(row - 1).toString()) + ','
                                 + field(testsupport::randomText(random, 8, mix)) + ",needs review,\r\n,FE.Imported,"
                                 + field(testsupport::randomText(random, 8, mix)) + ",approved,"
                                 + field(testsupport::randomText(random, 8, mix)) + "\r\n";
            try {
                (void)document.importExchange(csv, exchange::ExchangeFormat::Csv, {});
            } catch (const exchange::ImportError&) {
                // A number that an earlier row holds too: the import names
                // that row, under another name.
            }
            break;
        }
        case 12: {
            // The game's next version: one source changed, one entry
            // renamed (so one added, one no longer there), the present
            // texts standing for the old version.
            const xom::EntryTable oldReference = document.entries();
            xom::EntryTable newReference = oldReference;
            newReference.setCell(row - 1, xom::TextColumn, testsupport::randomText(random, 8, mix));
            newReference.setCell(
                (row % newReference.entryCount()), xom::NameColumn, QStringLiteral("FE.Next%1").arg(random()));
            document::UpdateResult result
                = document.updateToReference(std::move(newReference), QStringLiteral("lang_en.xom"), &oldReference);
            if (random() % 2 == 0)
                document.dropRemovedEntries(result);
            break;
        }
        case 10: {
            // A state, a note and a snapshot of any text.
            const review::EntryReview review{static_cast<review::State>(random() % 4),
                testsupport::randomText(random, 6, mix), testsupport::randomText(random, 6, mix)};
            document.setEntryReviews({{row, document.entryReview(row), review}}, QStringLiteral("Review"));
            break;
        }
        case 0:
        case 1: {
            const int column = random() % 2 == 0 ? xom::TextColumn : xom::NameColumn;
            document.setCellTexts(
                {{row, column, document.entries().gridCell(row, column), testsupport::randomText(random, 12, mix)}},
                QStringLiteral("Edit"));
            break;
        }
        case 2:
            document.toggleMark(row);
            break;
        case 3:
            document.addEntry(testsupport::randomText(random, 8, mix), testsupport::randomText(random, 8, mix));
            break;
        case 4:
            document.moveDown();
            break;
        case 5:
            document.sortByName();
            break;
        case 6:
        case 7:
            document.undo();
            break;
        case 8:
            document.redo();
            break;
        default:
            if (random() % 3 == 0)
                document.saveAs(path);
            else
                document.undo();
            break;
        }
    }

    [[nodiscard]] recovery::ReadJournal journalSoFar() const
    {
        journal->waitUntilDurable();
        return recovery::readJournal(bytesOf(journal->journalPath()));
    }

    QTemporaryDir folder;
    QString path;
    std::mt19937 random;
    Document document;
    std::unique_ptr<DocumentJournal> journal;
};

// Every entry's review in grid order, as text.
QStringList reviewsOf(const Document& document)
{
    QStringList reviews;
    for (int row = 1; row < document.entries().gridRowCount(); ++row) {
        const review::EntryReview& kept = document.entryReview(row);
        reviews.append(QString::number(static_cast<int>(kept.state)) + u'|' + kept.note + u'|'
                       + kept.snapshot.value_or(QStringLiteral("(none)")));
    }
    return reviews;
}

// The recovered document against the one that died, through every step
// the recovered history can take back and make again.
void expectSameHistory(Document& died, Document& recovered)
{
    ASSERT_EQ(cellsOf(recovered.entries()), cellsOf(died.entries()));
    ASSERT_EQ(reviewsOf(recovered), reviewsOf(died));
    EXPECT_EQ(recovered.isModified(), died.isModified());
    const int back = recovered.history().index();
    for (int step = 0; step < back; ++step) {
        ASSERT_EQ(recovered.history().undoText(), died.history().undoText());
        recovered.undo();
        died.undo();
        ASSERT_EQ(cellsOf(recovered.entries()), cellsOf(died.entries())) << "after undo " << step + 1;
        ASSERT_EQ(reviewsOf(recovered), reviewsOf(died)) << "after undo " << step + 1;
        ASSERT_EQ(recovered.isModified(), died.isModified());
    }
    const int forward = recovered.history().count() - recovered.history().index();
    for (int step = 0; step < forward; ++step) {
        recovered.redo();
        died.redo();
        ASSERT_EQ(cellsOf(recovered.entries()), cellsOf(died.entries())) << "after redo " << step + 1;
    }
}

TEST(RecoveryTest, aDayOfStepsAndSavesReplaysOntoTheFileOnDisk)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        JournalledFile file(seed);
        for (int step = 0; step < 80; ++step)
            file.randomStep();
        if (!file.document.isModified())
            continue; // a save last: nothing to recover
        const recovery::ReadJournal journal = file.journalSoFar();
        ASSERT_TRUE(journal.recognised);
        EXPECT_EQ(journal.damagedBytes, 0);
        Document recovered;
        loadFromDisk(recovered, file.path);
        const recovery::ReplayOutcome outcome = recovery::replayJournal(recovered, journal);
        EXPECT_TRUE(outcome.complete()) << outcome.replayed << " of " << outcome.recorded;
        expectSameHistory(file.document, recovered);
    }
}

TEST(RecoveryTest, aJournalCutShortOrDamagedReplaysItsWholeRecords)
{
    JournalledFile file(5);
    for (int step = 0; step < 40; ++step) {
        file.document.setCellTexts(
            {{1 + step % 10, xom::TextColumn, file.document.entries().gridCell(1 + step % 10, xom::TextColumn),
                QStringLiteral("t%1").arg(step)}},
            QStringLiteral("Edit"));
    }
    file.journal->waitUntilDurable();
    const QByteArray whole = bytesOf(file.journal->journalPath());
    const recovery::ReadJournal all = recovery::readJournal(whole);
    ASSERT_EQ(all.changeCount(), 40);

    // The changes whose records end within a cut are the ones replayed.
    for (qsizetype cut = 0; cut <= whole.size(); cut += 7) {
        const recovery::ReadJournal read = recovery::readJournal(whole.left(cut));
        int wholeChanges = 0;
        for (const recovery::JournalRecord& record : all.records)
            wholeChanges += record.endOffset <= cut && record.kind == recovery::RecordKind::Push ? 1 : 0;
        ASSERT_EQ(read.changeCount(), wholeChanges) << "cut at " << cut;
        if (cut >= recovery::journalPreambleSize) {
            ASSERT_EQ(read.damagedBytes, cut - read.wholeBytes());
        }
        Document recovered;
        loadFromDisk(recovered, file.path);
        const recovery::ReplayOutcome outcome = recovery::replayJournal(recovered, read);
        ASSERT_EQ(outcome.replayed, wholeChanges);
        ASSERT_EQ(recovered.history().index(), wholeChanges);
    }

    // A byte changed inside a record ends the journal before that record.
    const recovery::JournalRecord& middle = all.records[all.records.size() / 2];
    QByteArray damaged = whole;
    damaged[middle.endOffset - 6] = static_cast<char>(damaged[middle.endOffset - 6] ^ 0x20);
    const recovery::ReadJournal read = recovery::readJournal(damaged);
    EXPECT_EQ(read.records.size(), all.records.size() / 2);
    EXPECT_EQ(read.damagedBytes, damaged.size() - all.records[all.records.size() / 2 - 1].endOffset);
}

// The record checksum is zlib's CRC-32: its check value, and a bit at a
// time for every length and alignment a slice of eight can meet.
TEST(RecoveryTest, theRecordChecksumIsZlibsCrc32)
{
    EXPECT_EQ(recovery::journalChecksum("123456789"), 0xCBF43926u);
    EXPECT_EQ(recovery::journalChecksum(""), 0u);
    const auto bitwise = [](const QByteArrayView bytes) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (const char byte : bytes) {
            crc ^= static_cast<std::uint8_t>(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
        return crc ^ 0xFFFFFFFFu;
    };
    std::mt19937 random(11);
    QByteArray bytes(64, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    for (qsizetype start = 0; start < 8; ++start) {
        for (qsizetype length = 0; start + length <= bytes.size(); ++length) {
            const QByteArrayView slice = QByteArrayView(bytes).sliced(start, length);
            ASSERT_EQ(recovery::journalChecksum(slice), bitwise(slice)) << start << " " << length;
        }
    }
}

TEST(RecoveryTest, aReplayStopsAtAChangeThatFindsOtherTexts)
{
    JournalledFile file(9);
    const QString before = file.document.entries().gridCell(2, xom::TextColumn);
    file.document.setCellTexts({{2, xom::TextColumn, before, QStringLiteral("first")}}, QStringLiteral("Edit"));
    file.document.setCellTexts(
        {{3, xom::TextColumn, file.document.entries().gridCell(3, xom::TextColumn), QStringLiteral("second")}},
        QStringLiteral("Edit"));
    const recovery::ReadJournal journal = file.journalSoFar();

    // Another run changed the file's entry 2 meanwhile.
    Document other;
    loadFromDisk(other, file.path);
    other.setCellTexts({{2, xom::TextColumn, before, QStringLiteral("theirs")}}, QStringLiteral("Edit"));
    other.saveAs(file.path);
    Document recovered;
    loadFromDisk(recovered, file.path);
    const recovery::ReplayOutcome outcome = recovery::replayJournal(recovered, journal);
    EXPECT_EQ(outcome.replayed, 0);
    EXPECT_FALSE(outcome.complete());
    EXPECT_EQ(recovered.entries().gridCell(2, xom::TextColumn), QStringLiteral("theirs"));
}

TEST(RecoveryTest, journalsOfOneFileAreApartAndACleanEndLeavesNone)
{
    JournalledFile first(3);
    Document second;
    loadFromDisk(second, first.path);
    DocumentJournal secondJournal(second, first.journal->folder());
    first.document.toggleMark(1);
    second.toggleMark(2);
    first.journal->waitUntilDurable();
    secondJournal.waitUntilDurable();
    ASSERT_FALSE(first.journal->journalPath().isEmpty());
    EXPECT_NE(first.journal->journalPath(), secondJournal.journalPath());
    // Both are held by running editors: neither is left behind.
    EXPECT_TRUE(first.journal->folder().leftJournals(first.path).empty());

    // A copy of one with no editor holding it is what a crash leaves.
    const QString left = first.journal->journalPath() + QStringLiteral(".copy.journal");
    ASSERT_TRUE(QFile::copy(first.journal->journalPath(), left));
    std::vector<recovery::LeftJournal> found = first.journal->folder().leftJournals(first.path);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().held.path(), left);
    EXPECT_EQ(found.front().read.changeCount(), 1);
    EXPECT_TRUE(found.front().lastWritten.isValid());
    found.front().held.remove();

    // A save empties the journal; the end removes it.
    first.document.saveAs(first.path);
    EXPECT_TRUE(first.journal->journalPath().isEmpty());
    second.toggleMark(2);
    secondJournal.end();
    const QDir folder(first.journal->folder().path());
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList()) << folder.path().toStdString();
}

TEST(RecoveryTest, aFolderThatCannotBeWrittenTurnsRecoveryOffButNotEditsOrSaves)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lang.xom"));
    const QString notAFolder = folder.filePath(QStringLiteral("file"));
    QFile blocker(notAFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    std::mt19937 random(4);
    Document document;
    document.open(testsupport::randomLoadedFile(random, 5), path);
    DocumentJournal journal(document, JournalFolder(notAFolder + QStringLiteral("/rec")));
    int off = 0;
    QObject::connect(&journal, &DocumentJournal::recoveryOff, [&off] { ++off; });
    EXPECT_TRUE(document.toggleMark(1));
    EXPECT_TRUE(document.toggleMark(2));
    EXPECT_EQ(off, 1);
    EXPECT_FALSE(journal.isOn());
    EXPECT_NO_THROW(document.saveAs(path));
    EXPECT_TRUE(journal.isOn()) << "a save tries again";
}

TEST(RecoveryTest, theFirstSaveOverAFileKeepsItsBytesAsABackup)
{
    struct Case {
        const char* what;
        bool keep;
        bool fileThere;
        bool backupExpected;
    };
    const Case cases[] = {
        {"kept", true, true, true},
        {"turned off", false, true, false},
        {"no file to keep", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("lang.xom"));
        const QByteArray old("the previous bytes");
        if (c.fileThere) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        std::mt19937 random(2);
        Document document;
        document.open(testsupport::randomLoadedFile(random, 5), path);
        document.setBackupBeforeFirstSave(c.keep);
        document.saveAs(path);
        const QString backup = path + QStringLiteral(".bak");
        EXPECT_EQ(QFile::exists(backup), c.backupExpected);
        if (c.backupExpected) {
            EXPECT_EQ(bytesOf(backup), old);
            // A later save keeps the first backup.
            document.toggleMark(1);
            document.setCellTexts(
                {{1, xom::TextColumn, document.entries().gridCell(1, xom::TextColumn), QStringLiteral("x")}},
                QStringLiteral("Edit"));
            document.saveAs(path);
            EXPECT_EQ(bytesOf(backup), old);
        }
    }
}

} // namespace
