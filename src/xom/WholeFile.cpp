#include "xom/WholeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace xom {

WholeFile readWholeFile(const QString& path, const qint64 largest)
{
    using Status = WholeFile::Status;
    if (!QFileInfo(path).isFile())
        return {Status::Missing, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Status::Unreadable, {}};
    const qint64 size = file.size();
    // No buffer can be larger than its size type can count, whatever the
    // caller takes.
    if (size > std::min<qint64>(largest, std::numeric_limits<qsizetype>::max()))
        return {Status::TooLarge, {}};
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (file.read(bytes.data(), size) != size)
        return {Status::Unreadable, {}};
    return {Status::Read, std::move(bytes)};
}

} // namespace xom
