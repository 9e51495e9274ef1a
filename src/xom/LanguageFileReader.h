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
// "List index out of bounds (%d)" in the error box.
struct LoadError {
    enum class Kind { BadLanguageFile, ListIndexOutOfBounds };
    Kind kind = Kind::BadLanguageFile;
    qint32 index = 0;

    [[nodiscard]] QString message() const;
};

using LoadResult = std::variant<LoadedFile, LoadError>;

// Parses a whole language file. All or nothing: either every part of the file
// was read and the result holds a complete model, or it holds the error and
// nothing else. Never reads outside bytes and never allocates from a count
// that the file could not hold.
[[nodiscard]] LoadResult loadLanguageFile(const QByteArray& bytes);

} // namespace xom
