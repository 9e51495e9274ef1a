#pragma once

#include <QByteArray>
#include <QString>

#include <limits>

namespace xom {

// The largest file a language file can be: its sizes are 32-bit.
inline constexpr qint64 largestLanguageFile = std::numeric_limits<qint32>::max();

// A file read whole, for the editor's Open and the command-line tool alike.
struct WholeFile {
    enum class Status {
        Read,
        Missing,    // no file of that name (a folder is no file)
        Unreadable, // it exists but could not be opened or read in full
        TooLarge,   // larger than the caller takes
    };
    Status status = Status::Missing;
    QByteArray bytes;
};

// Reads the file at path into one buffer (a large one in two halves at
// once). The size is checked
// against largest before anything is allocated, so a huge file is refused
// without trying to hold it.
[[nodiscard]] WholeFile readWholeFile(const QString& path, qint64 largest = largestLanguageFile);

} // namespace xom
