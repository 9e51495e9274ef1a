#pragma once

#include <QByteArray>
#include <QString>

namespace recovery {

// The few system calls a journal needs that Qt does not offer: appending
// without a buffer in between, and a sync of the data to the disk.
// Failures come back as what went wrong, empty on success.
namespace DurableFile {

struct Opened {
    int descriptor = -1;
    QString error;
};

// A new file at path holding start (any file there is replaced).
[[nodiscard]] Opened create(const QString& path, const QByteArray& start);
// The file at path, cut to its first keepBytes bytes, open at its end.
[[nodiscard]] Opened openForAppend(const QString& path, qsizetype keepBytes);
[[nodiscard]] QString append(int descriptor, const QByteArray& bytes);
[[nodiscard]] QString sync(int descriptor);
void close(int descriptor);

} // namespace DurableFile

} // namespace recovery
