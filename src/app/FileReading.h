#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// A file read whole, as the Open handler needs it.
struct WholeFile {
    enum class Status {
        Read,
        Missing,    // no file of that name (a folder is no file)
        Unreadable, // it exists but could not be opened or read in full
        TooLarge,   // larger than any language file can be (32-bit sizes)
    };
    Status status = Status::Missing;
    QByteArray bytes;
};

// Reads the file at path with one read into one buffer.
[[nodiscard]] WholeFile readWholeFile(const QString& path);

} // namespace app
