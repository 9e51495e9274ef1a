#pragma once

#include "memory/LanguageTags.h"
#include "memory/TranslationMemory.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

namespace app {

// The translation memory as the window uses it: on a thread of its own, so
// that moving through the grid never waits for a lookup or for a save's
// units going in. Requests are queued to the thread; a lookup that a newer
// one has overtaken is dropped unanswered. The memory is opened on the
// first request, and a memory that cannot be opened or used is told once
// through failed, never thrown.
class MemoryLookup final : public QObject {
    Q_OBJECT

public:
    explicit MemoryLookup(QObject* parent = nullptr);
    ~MemoryLookup() override;

    // The memory file from now on (the one opened closes).
    void setPath(const QString& path);
    // Asks for the suggestions for source; found answers with serial.
    quint64 lookUp(const memory::LanguagePair& languages, const QString& source);
    // Adds units; added answers.
    void add(std::vector<memory::MemoryUnit> units);
    // Blocks until every request so far is done: for tests and for a close.
    void finish();

signals:
    void found(quint64 serial, const std::vector<memory::MemoryMatch>& matches);
    void added(const memory::AddedUnits& counts);
    // The memory could not be opened or used; message says why.
    void failed(const QString& message);
    // The memory takes no new units (made by a newer version); reason says so.
    void readOnly(const QString& reason);

private:
    class Worker;
    QThread m_thread;
    Worker* m_worker = nullptr;
    std::atomic<quint64> m_latest{0};
};

} // namespace app
