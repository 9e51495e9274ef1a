#pragma once

#include "document/Document.h"
#include "recovery/JournalFolder.h"
#include "recovery/JournalWriter.h"
#include "recovery/Replay.h"

#include <QObject>

#include <memory>
#include <optional>

namespace recovery {

// The recovery journal of one document: from its first change after a load
// or save it records every step pushed, undone or redone, so that a run
// that dies can be replayed onto the file on the next start. A save empties
// it (the next change starts a new one on the saved file), a load or the
// journal's end (a clean close) removes it.
//
// A journal that cannot be made or written never stops editing: recording
// stops and recoveryOff tells why; the next save or load tries again.
class DocumentJournal final : public QObject {
    Q_OBJECT

public:
    DocumentJournal(document::Document& document, JournalFolder folder, QObject* parent = nullptr);
    ~DocumentJournal() override;

    [[nodiscard]] const JournalFolder& folder() const noexcept { return m_folder; }
    // The journal being written; empty while there is none.
    [[nodiscard]] QString journalPath() const;
    // Whether changes are recorded (none failed since the last load or
    // save).
    [[nodiscard]] bool isOn() const noexcept { return m_offReason.isEmpty(); }
    // Waits until every change so far is written and synced.
    void waitUntilDurable();

    // Replays left onto the document, which must hold the file the journal
    // began on (see replayJournal), and goes on writing that journal from
    // its last change taken.
    ReplayOutcome recover(LeftJournal left);
    // A clean end: the journal and its copy are removed.
    void end();

signals:
    void recoveryOff(const QString& why);
    void recoveryOn();

private:
    void restart();
    [[nodiscard]] bool started();
    void record(const JournalRecord& record);
    void recordStep(RecordKind kind, const document::Step& step);
    void turnOff(const QString& why);
    [[nodiscard]] JournalWriter::Failed reportFailure();

    void stepPushed(const document::Step& step);
    void stepTaken(const document::Step& step, bool undone);
    void referenceChanged();

    document::Document& m_document;
    JournalFolder m_folder;
    std::optional<HeldJournal> m_held;
    std::unique_ptr<JournalWriter> m_writer;
    // The file as it was loaded or last saved: what the journal begins on.
    FileStamp m_base;
    // The marks the entries had then, which the file does not keep.
    std::vector<xom::CellChange> m_baseMarks;
    // The steps of the history the journal knows: [m_knownLow, m_knownHigh).
    int m_knownLow = 0;
    int m_knownHigh = 0;
    bool m_replaying = false;
    QString m_offReason;
};

} // namespace recovery
