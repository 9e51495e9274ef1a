#include "recovery/DocumentJournal.h"

#include <QDateTime>
#include <QFileInfo>

namespace recovery {

namespace {

FileStamp stampOf(const QString& path)
{
    const QFileInfo info(path);
    FileStamp stamp;
    stamp.path = info.absoluteFilePath();
    if (info.isFile()) {
        stamp.size = info.size();
        stamp.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    }
    return stamp;
}

JournalRecord recordOf(const RecordKind kind)
{
    JournalRecord record;
    record.kind = kind;
    record.timeMs = QDateTime::currentMSecsSinceEpoch();
    return record;
}

} // namespace

DocumentJournal::DocumentJournal(document::Document& document, JournalFolder folder, QObject* parent)
    : QObject(parent)
    , m_document(document)
    , m_folder(std::move(folder))
{
    connect(&document, &document::Document::reset, this, &DocumentJournal::restart);
    connect(&document, &document::Document::saved, this, &DocumentJournal::restart);
    connect(&document, &document::Document::stepPushed, this, &DocumentJournal::stepPushed);
    connect(&document, &document::Document::stepTaken, this, &DocumentJournal::stepTaken);
    connect(&document, &document::Document::referenceChanged, this, &DocumentJournal::referenceChanged);
    if (document.isLoaded())
        restart();
}

DocumentJournal::~DocumentJournal()
{
    end();
}

QString DocumentJournal::journalPath() const
{
    return m_held ? m_held->path() : QString();
}

void DocumentJournal::waitUntilDurable()
{
    if (m_writer)
        m_writer->waitUntilDurable();
}

void DocumentJournal::end()
{
    m_writer.reset();
    if (m_held)
        m_held->remove();
    m_held.reset();
}

// A load or save: what is recorded so far is in the file now.
void DocumentJournal::restart()
{
    end();
    m_base = stampOf(m_document.path());
    m_knownLow = m_knownHigh = m_document.history().index();
    // Taken now, before the first change the journal begins with.
    m_baseMarks.clear();
    const xom::EntryTable& entries = m_document.entries();
    for (int row = 0; row < entries.entryCount(); ++row) {
        if (!entries.mark(row).isEmpty())
            m_baseMarks.push_back({row + 1, xom::MarkColumn, QString(), entries.mark(row).toString()});
    }
    if (!m_offReason.isEmpty()) {
        m_offReason.clear();
        emit recoveryOn();
    }
}

bool DocumentJournal::started()
{
    if (m_writer)
        return true;
    if (!m_offReason.isEmpty() || !m_document.isLoaded())
        return false;
    QString why;
    m_held = m_folder.create(m_base.path, &why);
    if (!m_held) {
        turnOff(why);
        return false;
    }
    m_writer = std::make_unique<JournalWriter>(m_held->path(), reportFailure());
    JournalRecord begin = recordOf(RecordKind::Begin);
    begin.file = m_base;
    begin.referencePath = m_document.referencePath();
    begin.marks = m_baseMarks;
    m_writer->append(encodeRecordBody(begin));
    m_writer->copyBase(m_base, m_held->copyPath());
    return true;
}

JournalWriter::Failed DocumentJournal::reportFailure()
{
    return [this](const QString& why) {
        QMetaObject::invokeMethod(
            this, [this, why] { turnOff(why); }, Qt::QueuedConnection);
    };
}

void DocumentJournal::record(const JournalRecord& record)
{
    if (m_replaying || !started())
        return;
    m_writer->append(encodeRecordBody(record));
}

void DocumentJournal::recordStep(const RecordKind kind, const document::Step& step)
{
    if (m_replaying || !started())
        return;
    m_writer->append(encodeStepBody(kind, QDateTime::currentMSecsSinceEpoch(), step));
}

void DocumentJournal::turnOff(const QString& why)
{
    if (!m_offReason.isEmpty())
        return;
    m_offReason = why.isEmpty() ? QStringLiteral("the journal cannot be written") : why;
    emit recoveryOff(m_offReason);
}

void DocumentJournal::stepPushed(const document::Step& step)
{
    const int index = m_document.history().index();
    m_knownHigh = index;
    m_knownLow = std::min(m_knownLow, index - 1);
    recordStep(RecordKind::Push, step);
}

void DocumentJournal::stepTaken(const document::Step& step, const bool undone)
{
    const int index = m_document.history().index();
    if (undone) {
        // A step below what the journal knows goes in first, as done.
        if (index < m_knownLow) {
            recordStep(RecordKind::DoneBelow, step);
            m_knownLow = index;
        }
        record(recordOf(RecordKind::Undo));
    } else {
        if (index - 1 >= m_knownHigh) {
            recordStep(RecordKind::UndoneAbove, step);
            m_knownHigh = index;
        }
        record(recordOf(RecordKind::Redo));
    }
}

void DocumentJournal::referenceChanged()
{
    // Only a journal already begun needs it: a new one records the
    // reference in its beginning.
    if (!m_writer)
        return;
    JournalRecord reference = recordOf(RecordKind::Reference);
    reference.referencePath = m_document.referencePath();
    record(reference);
}

ReplayOutcome DocumentJournal::recover(LeftJournal left)
{
    end();
    m_replaying = true;
    const ReplayOutcome outcome = replayJournal(m_document, left.read);
    m_replaying = false;
    if (const JournalRecord* const begin = left.read.begin())
        m_base = begin->file;
    m_knownLow = 0;
    m_knownHigh = m_document.history().count();
    m_held = std::move(left.held);
    m_writer = std::make_unique<JournalWriter>(m_held->path(), reportFailure(), outcome.takenBytes);
    return outcome;
}

} // namespace recovery
