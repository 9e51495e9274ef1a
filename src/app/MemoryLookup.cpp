#include "app/MemoryLookup.h"

#include <QMetaObject>

namespace app {

// Lives on the lookup thread and owns the connection there.
class MemoryLookup::Worker final : public QObject {
public:
    explicit Worker(MemoryLookup& owner)
        : m_owner(owner)
    {
    }

    void setPath(const QString& path)
    {
        m_memory.reset();
        m_path = path;
        m_failed = false;
    }

    void lookUp(const quint64 serial, const memory::LanguagePair& languages, const QString& source)
    {
        if (serial != m_owner.m_latest.load())
            return; // overtaken by a newer lookup
        std::vector<memory::MemoryMatch> matches;
        if (guarded([&](memory::TranslationMemory& memory) { matches = memory.suggestions(languages, source); }))
            emit m_owner.found(serial, matches);
    }

    void add(const std::vector<memory::MemoryUnit>& units)
    {
        memory::AddedUnits counts;
        guarded([&](memory::TranslationMemory& memory) {
            if (!memory.isReadOnly())
                counts = memory.add(units);
        });
        emit m_owner.added(counts);
    }

private:
    // Runs work on the memory, opening it first; a memory error is told
    // once and the memory left closed until another path is set. Gives
    // whether the work was done.
    template <typename Work> bool guarded(Work work)
    {
        if (m_failed)
            return false;
        try {
            if (!m_memory) {
                m_memory = std::make_unique<memory::TranslationMemory>(m_path);
                if (m_memory->isReadOnly())
                    emit m_owner.readOnly(m_memory->readOnlyReason());
            }
            work(*m_memory);
            return true;
        } catch (const memory::MemoryError& error) {
            m_failed = true;
            m_memory.reset();
            emit m_owner.failed(error.message());
            return false;
        }
    }

    MemoryLookup& m_owner;
    QString m_path = memory::TranslationMemory::defaultPath();
    std::unique_ptr<memory::TranslationMemory> m_memory;
    bool m_failed = false;
};

MemoryLookup::MemoryLookup(QObject* const parent)
    : QObject(parent)
{
    qRegisterMetaType<std::vector<memory::MemoryMatch>>();
    qRegisterMetaType<memory::AddedUnits>();
    m_worker = new Worker(*this);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("MemoryLookup"));
    m_thread.start();
}

MemoryLookup::~MemoryLookup()
{
    m_thread.quit();
    m_thread.wait();
}

void MemoryLookup::setPath(const QString& path)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, path] { worker->setPath(path); });
}

quint64 MemoryLookup::lookUp(const memory::LanguagePair& languages, const QString& source)
{
    const quint64 serial = ++m_latest;
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, serial, languages, source] { worker->lookUp(serial, languages, source); });
    return serial;
}

void MemoryLookup::add(std::vector<memory::MemoryUnit> units)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, units = std::move(units)] { worker->add(units); });
}

void MemoryLookup::finish()
{
    QMetaObject::invokeMethod(
        m_worker, [] {}, Qt::BlockingQueuedConnection);
}

} // namespace app
