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

// The units as a TMX 1.4 document in UTF-8: a <tu> each, its texts exactly
// (a CR as a reference, which XML would otherwise read as a LF), its change
// date to the second, its origin, entry name and approval as properties.
// A unit with a character XML 1.0 cannot hold (a control character, a lone
// surrogate, U+FFFE, U+FFFF) or without a language is left out whole.
[[nodiscard]] TmxWritten writeTmx(const std::vector<MemoryUnit>& units);

// The units of a TMX 1.1 to 1.4 document, one per translation unit and
// target language; a unit without its source or a target is passed over.
// Inline codes give their native code to the text, a <sub> nothing. Throws
// exchange::ImportError naming the line of what is wrong: XML that is not
// well-formed, another root, a <tu>, <tuv> or <seg> out of its place, a
// <tuv> without a language or a <seg>.
[[nodiscard]] std::vector<MemoryUnit> readTmx(QByteArrayView bytes);

} // namespace memory
