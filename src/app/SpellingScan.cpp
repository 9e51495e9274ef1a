#include "app/SpellingScan.h"

#include "spelling/SpellChecker.h"

#include <QMetaObject>
#include <QPointer>

namespace app {

SpellingScan::SpellingScan(QObject* const parent)
    : QObject(parent)
{
}

SpellingScan::~SpellingScan()
{
    stop();
}

void SpellingScan::stop()
{
    // The thread checks for the stop between two entries: the wait is for
    // one entry's words at most.
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_thread.join();
    }
}

quint64 SpellingScan::start(
    std::vector<std::pair<QString, QString>> snapshot, spelling::Dictionary dictionary, QString personalPath)
{
    stop();
    const quint64 serial = ++m_serial;
    m_thread = std::jthread([this, serial, snapshot = std::move(snapshot), dictionary = std::move(dictionary),
                                personalPath = std::move(personalPath)](const std::stop_token& stopped) {
        try {
            spelling::SpellChecker checker(dictionary, personalPath);
            checks::UnknownWords unknown = checks::unknownWordsOfSnapshot(snapshot, checker, stopped);
            if (stopped.stop_requested())
                return;
            // Told on the window's thread; this object outlives the thread
            // (its destructor joins it).
            QMetaObject::invokeMethod(
                this, [this, serial, unknown = std::move(unknown)] { emit found(serial, unknown); },
                Qt::QueuedConnection);
        } catch (const spelling::SpellingError& error) {
            QMetaObject::invokeMethod(
                this, [this, message = error.message()] { emit failed(message); }, Qt::QueuedConnection);
        }
    });
    return serial;
}

} // namespace app
