#pragma once

#include "recovery/JournalFormat.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <variant>

namespace recovery {

// Appends records to one journal file on a thread of its own, so that the
// window's thread only encodes a change and queues it: each record is
// written as soon as it is queued (a killed editor loses nothing written)
// and made durable within half a second of it (a machine that dies loses
// at most that), one sync for every record of that half second.
//
// The first failure (a full disk, a folder taken away) stops the journal:
// nothing more is written, and failed() is called once on the writer's
// thread with what went wrong.
class JournalWriter {
public:
    using Failed = std::function<void(const QString& why)>;

    // Starts a new journal at path, or, with keepBytes, goes on after the
    // first keepBytes bytes of the journal there (a recovered one; what
    // follows them is dropped).
    JournalWriter(QString path, Failed failed, qsizetype keepBytes = 0);
    // Writes and syncs what is queued, then stops.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Appends a record whose body this is; the framing and the checksum are
    // worked out on the writer's thread.
    void append(QByteArray body);
    // Copies source to copyPath, hashing it (SHA-256) as it goes, and then
    // appends a BaseCopy record naming the copy. The copy is made only when
    // source still has stamp's size and time; otherwise, or when it cannot
    // be written, the journal goes on without one.
    void copyBase(FileStamp stamp, QString copyPath);

    // Waits until everything queued before the call is written and synced.
    void waitUntilDurable();

private:
    struct CopyJob {
        FileStamp stamp;
        QString copyPath;
    };
    using Job = std::variant<QByteArray, CopyJob>;

    void run();
    void write(const QByteArray& bytes);
    void writeRecord(const QByteArray& body);
    void copy(const CopyJob& job);
    void sync();
    void fail(const QString& why);

    const QString m_path;
    const Failed m_failed;
    const qsizetype m_keepBytes;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Job> m_jobs;
    std::uint64_t m_queued = 0;
    std::uint64_t m_durable = 0;
    int m_waiters = 0;
    bool m_stopping = false;
    std::thread m_thread;

    // The writer's thread's own.
    int m_descriptor = -1;
    bool m_broken = false;
};

} // namespace recovery
