// The document through its public operations: every sequence of steps
// undoes to the loaded bytes and redoes to the same bytes, the unsaved state
// follows what a save would write, a refused import changes nothing, and the
// views hear of every change in an order they can follow.

#include "document/Document.h"

#include "exchange/ImportError.h"

#include "support/RandomEntries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using document::Document;
using testsupport::cellsOf;

xom::LoadedFile randomFile(const unsigned seed, const int count = 40)
{
    std::mt19937 random(seed);
    return testsupport::randomLoadedFile(random, count);
}

// What a view keeps of the document: its row count, told after rows come
// and go, and whether every reordering it was warned of ended.
struct FollowingView {
    explicit FollowingView(Document& document)
        : rows(document.entries().entryCount())
    {
        QObject::connect(&document, &Document::rowCountChanged, [this, &document] {
            rows = document.entries().entryCount();
            ++rowChanges;
        });
        QObject::connect(&document, &Document::aboutToReorder, [this] { ++openReorders; });
        QObject::connect(&document, &Document::reordered, [this](const xom::RowOrder& order, bool) {
            --openReorders;
            lastOrderSize = static_cast<int>(order.size());
        });
        QObject::connect(&document, &Document::aboutToReset, [this] { ++openResets; });
        QObject::connect(&document, &Document::reset, [this, &document] {
            --openResets;
            rows = document.entries().entryCount();
        });
    }
    int rows;
    int rowChanges = 0;
    int openReorders = 0;
    int openResets = 0;
    int lastOrderSize = 0;
};

using Operation = std::function<void(Document&)>;

const Operation edit = [](Document& d) {
    d.setCellTexts(
        {{3, xom::TextColumn, d.entries().text(2).toString(), QStringLiteral("Neu\r\nText")}}, QStringLiteral("Edit"));
};
const Operation rename = [](Document& d) {
    d.setCellTexts(
        {{5, xom::NameColumn, d.entries().name(4).toString(), QStringLiteral("FE.Renamed")}}, QStringLiteral("Rename"));
};
const Operation markThree = [](Document& d) {
    d.toggleMark(2);
    d.toggleMark(7);
    d.toggleMark(11);
};
const Operation add = [](Document& d) { d.addEntry(QStringLiteral("FE.Added"), QStringLiteral("Added text")); };
const Operation moveDown = [](Document& d) { d.moveDown(); };
const Operation sort = [](Document& d) { d.sortByName(); };
const Operation replaceAll = [](Document& d) {
    d.replaceAll(xom::TableSearch({QStringLiteral("a"), text::MatchMode::Contains, false}, xom::LookIn::Both),
        QStringLiteral("[A]"));
};
const Operation import = [](Document& d) {
    const QString number = d.entries().number(0);
    const QByteArray csv
        = QStringLiteral("number,name,text\r\n%1,FE.Imported,Imported\r\n,FE.New,New text\r\n").arg(number).toUtf8();
    (void)d.importExchange(csv, exchange::ExchangeFormat::Csv, {});
};

struct Script {
    const char* name;
    std::vector<Operation> operations;
    // Whether the entries then differ from the file as a save writes them.
    bool modified;
};

// Each script on several random files: undo to the start gives the loaded
// bytes back, redo to the end the same bytes as the first run, and the views
// were told of every row added or removed and every reordering.
TEST(Document, EveryScriptUndoesToTheLoadedBytesAndRedoesToTheSame)
{
    const std::vector<Script> scripts = {
        {"edit", {edit}, true},
        {"rename", {rename}, true},
        {"marks only", {markThree}, false},
        {"marks taken off again", {markThree, markThree}, false},
        {"add", {add}, true},
        {"add twice then sort", {add, add, sort}, true},
        {"marks then move down", {markThree, moveDown}, true},
        {"replace all", {replaceAll}, true},
        {"import", {import}, true},
        {"the whole day", {edit, add, markThree, moveDown, sort, replaceAll, import, rename, add}, true},
    };
    for (const Script& script : scripts) {
        for (const unsigned seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(testing::Message() << script.name << ", seed " << seed);
            Document document;
            const FollowingView view(document);
            document.open(randomFile(seed), QStringLiteral("lang_test.xom"));
            const QByteArray loaded = document.image();
            const QStringList loadedCells = cellsOf(document.entries());

            for (const Operation& operation : script.operations)
                operation(document);
            EXPECT_EQ(document.isModified(), script.modified);
            const QByteArray changed = document.image();
            const QStringList changedCells = cellsOf(document.entries());
            EXPECT_EQ(view.rows, document.entries().entryCount());

            const int steps = document.history().index();
            for (int step = 0; step < steps; ++step)
                document.undo();
            EXPECT_FALSE(document.history().canUndo());
            EXPECT_FALSE(document.isModified());
            EXPECT_EQ(cellsOf(document.entries()), loadedCells);
            EXPECT_EQ(document.image(), loaded);
            EXPECT_EQ(view.rows, document.entries().entryCount());

            for (int step = 0; step < steps; ++step)
                document.redo();
            EXPECT_EQ(document.isModified(), script.modified);
            EXPECT_EQ(cellsOf(document.entries()), changedCells);
            EXPECT_EQ(document.image(), changed);
            EXPECT_EQ(view.rows, document.entries().entryCount());
            EXPECT_EQ(view.openReorders, 0);
            EXPECT_EQ(view.openResets, 0);
        }
    }
}

// The unsaved state is the saved content's, not the history's: a save in
// the middle of the history makes that point the unchanged one, and a step
// that drops the saved point from the redo end leaves the file changed for
// good.
TEST(Document, UnsavedStateFollowsTheSavedContent)
{
    const QString path = QDir::temp().filePath(QStringLiteral("ludra_document_test.xom"));
    Document document;
    EXPECT_FALSE(document.isModified()); // nothing loaded: nothing to lose
    document.open(randomFile(7), path);
    edit(document);
    add(document);
    document.saveAs(path);
    EXPECT_FALSE(document.isModified());
    document.undo();
    EXPECT_TRUE(document.isModified());
    document.redo();
    EXPECT_FALSE(document.isModified());
    document.undo();
    document.undo();
    markThree(document); // drops the saved point; marks alone change nothing else
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.history().undoText(), QStringLiteral("Toggle Mark"));
    QFile::remove(path);
}

// A refused file changes nothing, wherever its refusal comes: after edits,
// after an Add, or at the first record.
TEST(Document, RefusedImportChangesNothing)
{
    const std::vector<std::pair<const char*, QString>> refused = {
        {"unknown number after an edit and an add",
            QStringLiteral("number,name,text\r\n%1,FE.X,changed\r\n,FE.New,new\r\n999999,FE.Y,y\r\n")},
        {"number given twice", QStringLiteral("number,name,text\r\n%1,FE.X,a\r\n%1,FE.X,b\r\n")},
        {"new name breaks a line", QStringLiteral("number,name,text\r\n,\"FE.\nBroken\",t\r\n")},
        {"no header", QStringLiteral("%1,FE.X,a\r\n")},
    };
    for (const auto& [name, csv] : refused) {
        SCOPED_TRACE(name);
        Document document;
        const FollowingView view(document);
        document.open(randomFile(11), QStringLiteral("lang_test.xom"));
        edit(document);
        const QByteArray before = document.image();
        const QStringList cellsBefore = cellsOf(document.entries());
        const QByteArray bytes
            = (csv.contains(QStringLiteral("%1")) ? csv.arg(document.entries().number(0)) : csv).toUtf8();
        EXPECT_THROW((void)document.importExchange(bytes, exchange::ExchangeFormat::Csv, {}), exchange::ImportError);
        EXPECT_EQ(cellsOf(document.entries()), cellsBefore);
        EXPECT_EQ(document.image(), before);
        EXPECT_EQ(document.history().count(), 1);
        EXPECT_EQ(view.rows, document.entries().entryCount());
    }
}

// Without a history (the command line) the operations give the same bytes
// and keep no step.
TEST(Document, WithoutHistoryTheSameBytes)
{
    const std::vector<Operation> day = {edit, add, markThree, moveDown, sort, replaceAll, import};
    Document kept;
    Document notKept(Document::History::NotKept);
    kept.open(randomFile(5), QStringLiteral("a.xom"));
    notKept.open(randomFile(5), QStringLiteral("a.xom"));
    for (const Operation& operation : day) {
        operation(kept);
        operation(notKept);
    }
    EXPECT_EQ(notKept.history().count(), 0);
    EXPECT_EQ(kept.image(), notKept.image());
}

} // namespace
