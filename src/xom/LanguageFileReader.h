#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

namespace xom {

// A load that read the whole file: the new model and entries, and the
// container counter that the first status panel shows (nothing when no
// container followed another, and the panel is then not written).
struct LoadedFile {
    LanguageModel model;
    EntryTable entries;
    std::optional<int> containerCounter;
};

// Why a file was not taken. A structural fault is "Bad Language File" in its
// own box; a string index outside the string list is the string list's
// "List index out of bounds (%d)" in the error box. The detail says what
// was wrong and at which byte, for the box's details and the command line.
struct LoadError {
    enum class Kind { BadLanguageFile, ListIndexOutOfBounds };
    Kind kind = Kind::BadLanguageFile;
    qint32 index = 0;
    // "the data bank names entry 3 twice (at byte 1234)"; empty when nothing
    // more is known.
    QString detail;

    [[nodiscard]] QString message() const;
    // The message, then the detail after a colon when there is one.
    [[nodiscard]] QString explained() const;
};

using LoadResult = std::variant<LoadedFile, LoadError>;

// Parses a whole language file. All or nothing: either every part of the file
// was read and the result holds a complete model, or it holds the error and
// nothing else. Never reads outside bytes and never allocates from a count
// that the file could not hold. A file is taken only when a save can write
// it again: its data bank lists the entries 1 .. n once each, and its string
// table holds the string a save keeps.
[[nodiscard]] LoadResult loadLanguageFile(const QByteArray& bytes);

} // namespace xom
