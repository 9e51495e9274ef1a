// Writes the fuzzers' seed corpus: small valid files made by the editor's
// own writer, a few hand-laid variants of the layout, and files whose type
// tables are named and ordered in other ways; and in csv/, po/ and xliff/
// the exports of random entries numbered as the import fuzzers' base file
// numbers them, in the three exchange formats, with and without states;
// and in tmx/ translation memories; and in spelling/ personal word lists.
#include "document/Document.h"
#include "exchange/CsvWriter.h"
#include "exchange/PoFile.h"
#include "exchange/XliffFile.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "memory/TmxFile.h"
#include "recovery/DocumentJournal.h"
#include "review/ReviewFile.h"
#include "spelling/PersonalWords.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <random>

namespace {

bool writeSeed(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Exports of the import fuzzers' base file with texts of every kind: random
// entries under the base file's numbers, some of them new (no number).
bool writeExchangeSeeds(const QDir& dir, std::mt19937& random)
{
    testsupport::TextMix mix;
    mix.controlCodes = false; // XLIFF cannot carry them
    mix.loneSurrogates = false;
    bool ok = true;
    for (const char* folder : {"csv", "po", "xliff"})
        ok &= QDir().mkpath(dir.filePath(QLatin1String(folder)));
    exchange::ExportContext context;
    context.project = QStringLiteral("lang_fuzz.xom");
    context.generator = QStringLiteral("make_fuzz_seeds");
    for (int i = 0; i < 6; ++i) {
        const xom::EntryTable entries = testsupport::randomEntries(random, 4 * i, mix);
        ok &= writeSeed(dir, QStringLiteral("csv/export%1.csv").arg(i), exchange::csvOfEntries(entries));
        ok &= writeSeed(dir, QStringLiteral("po/export%1.po").arg(i), exchange::poOfEntries(entries, context));
        ok &= writeSeed(dir, QStringLiteral("xliff/export%1.xlf").arg(i), exchange::xliffOfEntries(entries, context));
    }
    // An export of a reviewed file: every state, notes of several lines,
    // snapshots that are no longer the source.
    exchange::ExportContext reviewed = context;
    reviewed.review = [](const int row) {
        return review::EntryReview{static_cast<review::State>(row % 4),
            row % 3 == 0 ? QString() : QStringLiteral("note %1\r\n<&> \"x\"").arg(row),
            row % 2 == 0 ? std::optional<QString>(QStringLiteral("old\nsource")) : std::nullopt};
    };
    const xom::EntryTable entries = testsupport::randomEntries(random, 12, mix);
    ok &= writeSeed(dir, QStringLiteral("csv/states.csv"), exchange::csvOfEntries(entries, nullptr, reviewed.review));
    ok &= writeSeed(dir, QStringLiteral("po/states.po"), exchange::poOfEntries(entries, reviewed));
    ok &= writeSeed(dir, QStringLiteral("xliff/states.xlf"), exchange::xliffOfEntries(entries, reviewed));
    // Hand-written edits the readers must take: a new entry, a fuzzy
    // message, a unit with a suggestion beside its target.
    ok &= writeSeed(dir, QStringLiteral("csv/edits.csv"),
        "number,name,text,reference\r\n1,FE.Entry1,\"a \"\"b\"\"\r\nc\",x\r\n,FE.New,n\r\n");
    ok &= writeSeed(dir, QStringLiteral("po/edits.po"),
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n#, fuzzy\nmsgctxt \"2 FE.Entry2\"\n"
        "msgid \"x\"\nmsgstr \"y\\n\"\n\"z\"\n\nmsgctxt \"3 FE.Entry3\"\nmsgid \"x\"\nmsgstr \"\"\n");
    ok &= writeSeed(dir, QStringLiteral("xliff/edits.xlf"),
        "<?xml version=\"1.0\"?><xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"><file><body>"
        "<trans-unit id=\"4\" resname=\"FE.Entry4\"><source>s</source><target "
        "state=\"translated\">t&amp;<![CDATA[<x>]]>"
        "</target><alt-trans><target>no</target></alt-trans></trans-unit></body></file></xliff>");
    // Scripts of a translator's steps: every kind of step, then a refused one.
    ok &= QDir().mkpath(dir.filePath(QStringLiteral("script")));
    ok &= writeSeed(dir, QStringLiteral("script/day.steps"),
        "# a day\nedit\t1\tA\\r\\nB\nadd\tFE.X\tx\nmark\t2\nmark\t5\nmove-down\nrename\t3\tFE.Y\nsort\n"
        "replace-all\ta\tb\nimport\tnone.csv\nundo\nundo\nredo\n");
    ok &= writeSeed(dir, QStringLiteral("script/refused.steps"), "mark\t3\r\nedit\t0\tx\n");
    return ok;
}

// Journals of the journal fuzzer's document, written by the journal itself:
// a day of every kind of step, undone and redone; and one that goes on
// after a save and undoes past it, so that steps from before the journal
// come in.
bool writeJournalSeeds(const QDir& dir)
{
    bool ok = QDir().mkpath(dir.filePath(QStringLiteral("journal")));
    for (const bool saving : {false, true}) {
        std::mt19937 random(7);
        document::Document document;
        const QString file = dir.filePath(QStringLiteral("journal/lang_fuzz.xom"));
        document.open(testsupport::randomLoadedFile(random, 12), file);
        recovery::DocumentJournal journal(
            document, recovery::JournalFolder(dir.filePath(QStringLiteral("journal/rec"))));
        document.toggleMark(2);
        document.toggleMark(5);
        document.setCellTexts(
            {{3, xom::TextColumn, document.entries().gridCell(3, xom::TextColumn), QStringLiteral("A\r\nB")}},
            QStringLiteral("Edit"));
        document.addEntry(QStringLiteral("FE.New"), QStringLiteral("new"));
        if (saving)
            document.saveAs(file);
        document.undo();
        document.undo();
        document.redo();
        document.moveDown();
        document.sortByName();
        document.undo();
        journal.waitUntilDurable();
        QFile written(journal.journalPath());
        ok &= written.open(QIODevice::ReadOnly)
           && writeSeed(dir,
               QStringLiteral("journal/%1.journal").arg(saving ? QStringLiteral("saved") : QStringLiteral("day")),
               written.readAll());
    }
    QDir(dir.filePath(QStringLiteral("journal/rec"))).removeRecursively();
    QFile::remove(dir.filePath(QStringLiteral("journal/lang_fuzz.xom")));
    return ok;
}

// Review files: every state, with escapes, a lone surrogate and a number
// that begins with "#"; and one with CR LF line ends.
bool writeReviewSeeds(const QDir& dir)
{
    bool ok = QDir().mkpath(dir.filePath(QStringLiteral("review")));
    review::ReviewFile file;
    file.language = {1295, QByteArray(32, '\x11')};
    const review::State states[]
        = {review::State::Unset, review::State::NeedsReview, review::State::Translated, review::State::Approved};
    for (int i = 0; i < 4; ++i) {
        review::ReviewLine line;
        line.number = i == 3 ? QStringLiteral("#3") : QString::number(i + 1);
        line.name = QStringLiteral("FE.Entry%1").arg(i + 1);
        line.review.state = states[i];
        line.review.note = QStringLiteral("a\tb\\c") + QChar(static_cast<char16_t>(0xD800));
        if (i % 2 == 0)
            line.review.snapshot = QStringLiteral("old\ntext");
        file.lines.push_back(line);
    }
    const QByteArray bytes = review::writeReviewFile(file);
    ok &= writeSeed(dir, QStringLiteral("review/states.review"), bytes);
    QByteArray crlf = bytes;
    ok &= writeSeed(dir, QStringLiteral("review/crlf.review"), crlf.replace("\n", "\r\n"));
    return ok;
}

// TMX: exports of random units in two languages and more, dated and
// approved or not; and documents as other tools write them: TMX 1.1, inline
// codes with a <sub>, *all* and a <tu>'s own source language.
bool writeTmxSeeds(const QDir& dir, std::mt19937& random)
{
    bool ok = QDir().mkpath(dir.filePath(QStringLiteral("tmx")));
    testsupport::TextMix mix;
    mix.controlCodes = false; // XML cannot carry them
    for (int i = 0; i < 4; ++i) {
        std::vector<memory::MemoryUnit> units;
        for (int k = 0; k < 3 * i; ++k) {
            memory::MemoryUnit unit;
            unit.sourceLanguage = k % 3 == 2 ? QStringLiteral("fr") : QStringLiteral("en");
            unit.targetLanguage = k % 2 == 0 ? QStringLiteral("de") : QStringLiteral("pt-BR");
            unit.source = testsupport::randomText(random, 20, mix) + QStringLiteral("\r\n<&>");
            unit.target = testsupport::randomText(random, 20, mix);
            unit.origin = QStringLiteral("lang_de.xom");
            unit.entryName = QStringLiteral("FE.Entry%1").arg(k);
            if (k % 2 == 0)
                unit.changed = QDateTime::fromSecsSinceEpoch(1'700'000'000 + k * 86'401LL, Qt::UTC);
            unit.approved = k % 3 == 0;
            units.push_back(unit);
        }
        ok &= writeSeed(dir, QStringLiteral("tmx/export%1.tmx").arg(i), memory::writeTmx(units).bytes);
    }
    ok &= writeSeed(dir, QStringLiteral("tmx/tmx11.tmx"),
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE tmx SYSTEM \"tmx11.dtd\">\n<tmx version=\"1.1\">\n"
        "<header srclang=\"EN-US\" creationdate=\"19991231T235959Z\"/>\n<body>\n"
        "<tu creationdate=\"20000229T120000Z\"><note>n</note><tuv lang=\"en-us\"><seg>a</seg></tuv>"
        "<tuv lang=\"DE-DE\"><seg>b</seg></tuv><tuv lang=\"FR\"><seg/></tuv></tu>\n</body>\n</tmx>\n");
    ok &= writeSeed(dir, QStringLiteral("tmx/inline.tmx"),
        "<tmx version=\"1.4\"><header srclang=\"*all*\"/><body>"
        "<tu srclang=\"de\"><prop type=\"x-entry\">FE.A</prop><tuv xml:lang=\"en\"><seg>Click "
        "<bpt i=\"1\">&lt;a title=\"<sub>t<hi>x</hi></sub>\"&gt;</bpt>here<ept i=\"1\">&lt;/a&gt;</ept>"
        "<ph>{0}</ph><it pos=\"end\">&lt;/i&gt;</it><ut>\\b</ut></seg></tuv>"
        "<tuv xml:lang=\"de\"><seg><![CDATA[<hier>]]>&#13;&#x1F600;</seg></tuv></tu>"
        "<tu><tuv xml:lang=\"ja\"><seg>j</seg></tuv><tuv xml:lang=\"ko\"><seg>k</seg></tuv></tu>"
        "</body></tmx>");
    return ok;
}

// Personal word lists: one as the checker writes it, and damaged ones:
// CR LF, a byte order mark, Latin-1, NULs, a line far too long.
bool writeSpellingSeeds(const QDir& dir)
{
    bool ok = QDir().mkpath(dir.filePath(QStringLiteral("spelling")));
    ok &= writeSeed(dir, QStringLiteral("spelling/written.dic"),
        spelling::personalWordsBytes({QStringLiteral("Ludra"), QStringLiteral("Spielst\u00E4nde"),
            QStringLiteral("Zorvek's"), QStringLiteral("\U0001F600x"), QStringLiteral("New Ludra")}));
    ok &= writeSeed(dir, QStringLiteral("spelling/damaged.dic"),
        QByteArray("\xEF\xBB\xBFLudra\r\ncaf\xE9\n  Zorvek \t\r\0\0\0mana\x01\nSpielst\xC3", 43) + QByteArray(500, 'x')
            + "\n");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    std::mt19937 random(1);
    testsupport::TextMix mix;
    mix.controlCodes = true;
    mix.loneSurrogates = true;
    bool ok = true;
    for (int i = 0; i < 8; ++i) {
        const xom::EntryTable entries = testsupport::randomEntries(random, i * 3, mix);
        xom::LanguageModel model = testsupport::modelForEntries(entries);
        ok &= writeSeed(dir, QStringLiteral("saved%1.xom").arg(i), xom::buildLanguageImage(entries, model));
    }
    testsupport::RawFile oneChunk = testsupport::simpleFile({{QStringLiteral("FE.A"), QStringLiteral("a")}});
    oneChunk.chunksBeforeStrings = 1;
    ok &= writeSeed(dir, QStringLiteral("one-chunk.xom"), oneChunk.bytes());
    testsupport::RawFile carried = testsupport::simpleFile({{QStringLiteral("FE.B"), QStringLiteral("b")}}, {1, 0, 1});
    carried.types[0].instanceCount = 1;
    carried.containers.insert(carried.containers.begin(), QByteArray("CTNRopaque"));
    ok &= writeSeed(dir, QStringLiteral("carried.xom"), carried.bytes());
    // Type tables named and ordered in other ways, each type's containers
    // following its count.
    const std::vector<std::pair<QString, QString>> pairs{
        {QStringLiteral("FE.A"), QStringLiteral("a")}, {QStringLiteral("FE.B"), QStringLiteral("b")}};
    const auto shapes = testsupport::typeTableShapes();
    for (std::size_t i = 0; i < shapes.size(); ++i)
        ok &= writeSeed(
            dir, QStringLiteral("types%1.xom").arg(i), testsupport::fileWithTypes(shapes[i], pairs).bytes());
    ok &= writeExchangeSeeds(dir, random);
    ok &= writeJournalSeeds(dir);
    ok &= writeReviewSeeds(dir);
    ok &= writeTmxSeeds(dir, random);
    ok &= writeSpellingSeeds(dir);
    return ok ? 0 : 1;
}
