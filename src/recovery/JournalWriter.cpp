#include "recovery/JournalWriter.h"

#include "recovery/DurableFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <chrono>

namespace recovery {

namespace {

// How long a written record may wait for its sync.
constexpr std::chrono::milliseconds syncDelay{500};

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

JournalWriter::JournalWriter(QString path, Failed failed, const qsizetype keepBytes)
    : m_path(std::move(path))
    , m_failed(std::move(failed))
    , m_keepBytes(keepBytes)
{
    m_thread = std::thread([this] { run(); });
}

JournalWriter::~JournalWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void JournalWriter::append(QByteArray body)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.emplace_back(std::move(body));
        ++m_queued;
    }
    m_wake.notify_one();
}

void JournalWriter::copyBase(FileStamp stamp, QString copyPath)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.emplace_back(CopyJob{std::move(stamp), std::move(copyPath)});
        ++m_queued;
    }
    m_wake.notify_one();
}

void JournalWriter::waitUntilDurable()
{
    std::unique_lock lock(m_mutex);
    const std::uint64_t target = m_queued;
    ++m_waiters;
    m_wake.notify_one();
    m_done.wait(lock, [&] { return m_durable >= target; });
    --m_waiters;
}

void JournalWriter::run()
{
    const DurableFile::Opened opened = m_keepBytes > 0 ? DurableFile::openForAppend(m_path, m_keepBytes)
                                                       : DurableFile::create(m_path, journalPreamble());
    if (!opened.error.isEmpty())
        fail(opened.error);
    m_descriptor = opened.descriptor;

    std::unique_lock lock(m_mutex);
    std::uint64_t written = 0;
    bool unsynced = false;
    auto syncBy = std::chrono::steady_clock::now();
    for (;;) {
        const auto hurried = [&] { return !m_jobs.empty() || m_stopping || m_waiters > 0; };
        if (unsynced)
            m_wake.wait_until(lock, syncBy, hurried);
        else
            m_wake.wait(lock, [&] { return !m_jobs.empty() || m_stopping; });

        if (!m_jobs.empty()) {
            // Write first: a sync then covers every record queued meanwhile.
            Job job = std::move(m_jobs.front());
            m_jobs.pop_front();
            lock.unlock();
            if (const auto* const body = std::get_if<QByteArray>(&job))
                writeRecord(*body);
            else
                copy(std::get<CopyJob>(job));
            lock.lock();
            ++written;
            if (!unsynced) {
                unsynced = true;
                syncBy = std::chrono::steady_clock::now() + syncDelay;
            }
            continue;
        }
        if (unsynced) {
            lock.unlock();
            sync();
            lock.lock();
            unsynced = false;
            m_durable = written;
            m_done.notify_all();
            continue;
        }
        if (m_stopping)
            break;
    }
    lock.unlock();
    DurableFile::close(m_descriptor);
}

void JournalWriter::write(const QByteArray& bytes)
{
    if (m_broken)
        return;
    const QString error = DurableFile::append(m_descriptor, bytes);
    if (!error.isEmpty())
        fail(error);
}

// The frame's parts written around the body, which is never copied.
void JournalWriter::writeRecord(const QByteArray& body)
{
    const RecordFrame frame = frameOf(body);
    write(frame.length);
    write(body);
    write(frame.checksum);
}

void JournalWriter::sync()
{
    if (m_broken)
        return;
    const QString error = DurableFile::sync(m_descriptor);
    if (!error.isEmpty())
        fail(error);
}

void JournalWriter::copy(const CopyJob& job)
{
    if (m_broken)
        return;
    QFile source(job.stamp.path);
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QFileInfo info(source);
    if (info.size() != job.stamp.size || info.lastModified().toMSecsSinceEpoch() != job.stamp.modifiedMs)
        return;
    QFile target(job.copyPath);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 read = source.read(chunk.data(), chunk.size());
        if (read < 0) {
            target.remove();
            return;
        }
        if (read == 0)
            break;
        hash.addData(QByteArrayView(chunk.constData(), read));
        if (target.write(chunk.constData(), read) != read) {
            target.remove();
            return;
        }
        total += read;
    }
    target.close();
    if (total != job.stamp.size) {
        target.remove();
        return;
    }
    JournalRecord record;
    record.kind = RecordKind::BaseCopy;
    record.timeMs = nowMs();
    record.copyName = QFileInfo(job.copyPath).fileName();
    record.hash = hash.result();
    writeRecord(encodeRecordBody(record));
}

void JournalWriter::fail(const QString& why)
{
    if (m_broken)
        return;
    m_broken = true;
    if (m_failed)
        m_failed(why);
}

} // namespace recovery
