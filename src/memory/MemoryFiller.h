#pragma once

#include "memory/MemoryUnit.h"

#include <QSet>

#include <vector>

namespace memory {

// What the memory has been given from one document: a save gives it only
// the units that are new since the saves before (a text translated or
// changed, an entry approved), not every unit of a file of a million
// entries again. Keeps a 64-bit hash of each unit given, which is enough:
// a unit whose hash matches one given before but is not that unit is the
// memory's loss of one translation, never a wrong one.
class MemoryFiller {
public:
    // The units not given before, now counted as given.
    [[nodiscard]] std::vector<MemoryUnit> unitsToGive(std::vector<MemoryUnit> units);
    // Forgets what was given: another file, or another memory.
    void forget() { m_given.clear(); }

private:
    QSet<quint64> m_given;
};

} // namespace memory
