#pragma once

#include "checks/DocumentChecks.h"

#include "spelling/DictionaryCatalog.h"

#include <QObject>

#include <thread>

namespace app {

// The spelling of a whole document on a thread of its own, with a checker
// of its own: started on a snapshot of the texts, its unknown words come
// back through found, from the window's thread. A scan started anew stops
// the one under way, whose result is then dropped.
class SpellingScan final : public QObject {
    Q_OBJECT

public:
    explicit SpellingScan(QObject* parent = nullptr);
    ~SpellingScan() override;
    SpellingScan(const SpellingScan&) = delete;
    SpellingScan& operator=(const SpellingScan&) = delete;

    // Spells snapshot (see checks::spellingSnapshot) by dictionary and the
    // personal list at personalPath; gives the scan's serial.
    quint64 start(
        std::vector<std::pair<QString, QString>> snapshot, spelling::Dictionary dictionary, QString personalPath);
    // Stops the scan under way, if any; its result never comes.
    void stop();

signals:
    void found(quint64 serial, const checks::UnknownWords& unknown);
    // The dictionary could not be loaded.
    void failed(const QString& message);

private:
    std::jthread m_thread;
    quint64 m_serial = 0;
};

} // namespace app
