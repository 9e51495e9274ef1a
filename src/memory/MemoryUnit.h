#pragma once

#include <QDateTime>
#include <QString>

namespace memory {

// One translation the memory keeps: a source text in one language and its
// translation in another, where it came from and when. Texts are kept
// exactly, every UTF-16 code unit, lone surrogates and NULs included.
struct MemoryUnit {
    // Language tags as files name them: "en", "de", "pt-BR".
    QString sourceLanguage;
    QString targetLanguage;
    QString source;
    QString target;
    // The file the translation was taken from (its file name, or a TMX
    // file's own origin) and the entry's name there; either may be empty.
    QString origin;
    QString entryName;
    // When the translation was made or last confirmed, in UTC; invalid
    // when nobody said.
    QDateTime changed;
    // Whether a translator approved it (rather than only translated it).
    bool approved = false;

    friend bool operator==(const MemoryUnit&, const MemoryUnit&) = default;
};

} // namespace memory
