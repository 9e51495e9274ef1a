#include "xom/WholeFile.h"

#include "xom/Parallel.h"

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
    // A large file is read in two halves at once, the second through a
    // handle of its own: filling fresh memory costs as much as the copy.
    // (Counted in lines of 64 bytes: from 4 MiB on.)
    const qint64 firstHalf = worthTwoThreads(static_cast<std::size_t>(size / 64)) ? size / 2 : size;
    bool firstRead = false;
    bool restRead = firstHalf == size;
    const auto readFirst = [&] { firstRead = file.read(bytes.data(), firstHalf) == firstHalf; };
    const auto readRest = [&] {
        QFile rest(path);
        restRead = rest.open(QIODevice::ReadOnly) && rest.seek(firstHalf)
                && rest.read(bytes.data() + firstHalf, size - firstHalf) == size - firstHalf;
    };
    if (firstHalf < size)
        bothAtOnce(readFirst, readRest);
    else
        readFirst();
    if (!firstRead || !restRead)
        return {Status::Unreadable, {}};
    return {Status::Read, std::move(bytes)};
}

} // namespace xom
