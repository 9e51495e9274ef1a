#pragma once

#include "memory/MemoryUnit.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace memory {

// What a TMX export wrote: the file, and how many units it left out
// because XML 1.0 cannot hold one of their characters.
struct TmxWritten {
    QByteArray bytes;
    int unitsLeftOut = 0;
};

// The units as a TMX 1.4 document.
[[nodiscard]] TmxWritten writeTmx(const std::vector<MemoryUnit>& units);

// The units of a TMX document, one per translation unit and target
// language. Throws exchange::ImportError naming the line of what is wrong.
[[nodiscard]] std::vector<MemoryUnit> readTmx(QByteArrayView bytes);

} // namespace memory
