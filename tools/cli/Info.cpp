#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/Files.h"

#include "recovery/JournalFormat.h"
#include "review/ReviewPairing.h"

#include <QDateTime>
#include <QFile>

namespace cli {

namespace {

// A type name as the table shows it: printable ASCII as it is, any other
// byte as \xNN.
QByteArray shownTypeName(const QByteArray& name)
{
    QByteArray shown;
    for (const char b : name) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0x20 && byte <= 0x7E && byte != '\\')
            shown += b;
        else
            shown += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    }
    return shown;
}

QByteArray shownTime(const qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODate).toUtf8();
}

// Whether the file at path starts as a recovery journal does.
bool isJournal(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && recovery::looksLikeJournal(file.read(recovery::journalMagic.size()));
}

// What a recovery journal records: the file its changes apply to, the
// reference, how many changes and when the last was made.
void describeJournal(const QString& path)
{
    const recovery::ReadJournal journal = recovery::readJournal(readWholeFile(path));
    const recovery::JournalRecord* const begin = journal.begin();
    if (!begin) {
        writeOut("Recovery journal of an unknown version or with no whole record\n");
        return;
    }
    QByteArray out("Recovery journal\n");
    out += "File: " + begin->file.path.toUtf8() + '\n';
    out += "Recorded as: " + QByteArray::number(begin->file.size) + " bytes, modified "
         + shownTime(begin->file.modifiedMs) + '\n';
    if (const recovery::JournalRecord* const copy = journal.baseCopy())
        out += "Copy of the recorded bytes: " + copy->copyName.toUtf8() + " (SHA-256 " + copy->hash.toHex() + ")\n";
    else
        out += "Copy of the recorded bytes: none\n";
    out += "Reference: " + (begin->referencePath.isEmpty() ? QByteArray("none") : begin->referencePath.toUtf8()) + '\n';
    out += "Changes: " + QByteArray::number(journal.changeCount()) + '\n';
    out += "Begun: " + shownTime(begin->timeMs) + '\n';
    out += "Last written: " + shownTime(journal.records.back().timeMs) + '\n';
    if (journal.damagedBytes > 0)
        out += "Damaged: the last " + QByteArray::number(journal.damagedBytes) + " bytes are no whole record\n";
    writeOut(out);
}

// What the review file beside the language file at path holds: a line of
// its states' counts, or why it was not read; nothing without one.
QByteArray reviewLine(const QString& path)
{
    const review::ReviewBeside beside = review::readReviewBeside(path, readWholeFile(path));
    const QByteArray name = review::reviewPathFor(path).toUtf8();
    if (beside.refusal)
        return "Review: " + name + " not read (" + beside.refusal->message().toUtf8() + ")\n";
    if (!beside.file)
        return {};
    int counts[4] = {};
    int notes = 0;
    for (const review::ReviewLine& line : beside.file->lines) {
        ++counts[static_cast<int>(line.review.state)];
        notes += line.review.note.isEmpty() ? 0 : 1;
    }
    QByteArray out = "Review: " + name + ": " + QByteArray::number(counts[int(review::State::NeedsReview)])
                   + " needing review, " + QByteArray::number(counts[int(review::State::Translated)]) + " translated, "
                   + QByteArray::number(counts[int(review::State::Approved)]) + " approved, "
                   + QByteArray::number(notes) + " with notes\n";
    if (!beside.pairs)
        out += "Review: saved with other bytes of the file; its states may be older than the texts\n";
    return out;
}

} // namespace

namespace {

void runInfo(const Invocation& call)
{
    if (isJournal(call.operands[0])) {
        describeJournal(call.operands[0]);
        return;
    }
    const xom::LoadedFile file = loadLanguageFile(call.operands[0]);
    const xom::LanguageModel& model = file.model;

    QByteArray out("Type table:\n  #  name                      instances  kind\n");
    for (std::size_t t = 0; t < model.TypeTable.size(); ++t) {
        const xom::XTypeCont& type = model.TypeTable[t];
        out += "  " + QByteArray::number(t).leftJustified(2) + ' ' + shownTypeName(type.name).leftJustified(25) + ' '
             + QByteArray::number(type.instanceCount).rightJustified(9) + "  "
             + QByteArray::number(static_cast<int>(type.kind)) + '\n';
    }
    const bool hasStringResources
        = model.StringResourceType >= 0 && model.StringResourceType < static_cast<int>(model.TypeTable.size());
    const qint32 stringResources
        = hasStringResources ? model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount : 0;
    out += "Strings: " + QByteArray::number(model.StringList.count) + '\n';
    out += "String resources: " + QByteArray::number(stringResources) + '\n';
    out += "Entries: " + QByteArray::number(file.entries.entryCount()) + '\n';
    if (!isStandardStream(call.operands[0]))
        out += reviewLine(call.operands[0]);
    writeOut(out);
}

} // namespace

// info FILE: the type table and the counts of strings, string resources and
// entries.
Command infoCommand()
{
    return Command{QStringLiteral("info"), {QStringLiteral("FILE")},
        QStringLiteral("the type table and the counts of entries and strings"),
        QStringLiteral("Shows the type table of FILE, one type a line: its index, name, instance\n"
                       "count and kind (1 XContainer, 2 XResourceDetails, 3 XDataBank,\n"
                       "4 XStringResourceDetails, 0 any other name); then the number of strings\n"
                       "in the string table (the empty string at index 0 included), the number\n"
                       "of string resources its XStringResourceDetails type declares, and the\n"
                       "number of entries in its data bank.\n"
                       "\n"
                       "Given a recovery journal the editor keeps while a file has unsaved\n"
                       "changes, shows the file it records (path, size and time), the\n"
                       "reference, the number of changes and when the last was written.\n"
                       "\n"
                       "Example: ludra-lang info samples/lang_sample.xom\n"),
        runInfo};
}

} // namespace cli
