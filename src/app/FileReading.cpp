#include "app/FileReading.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace app {

WholeFile readWholeFile(const QString& path)
{
    using Status = WholeFile::Status;
    if (!QFileInfo(path).isFile())
        return {Status::Missing, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Status::Unreadable, {}};
    const qint64 size = file.size();
    if (size > std::numeric_limits<qint32>::max())
        return {Status::TooLarge, {}};
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (file.read(bytes.data(), size) != size)
        return {Status::Unreadable, {}};
    return {Status::Read, std::move(bytes)};
}

} // namespace app
