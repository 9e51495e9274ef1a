#include "recovery/DurableFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace recovery::DurableFile {

namespace {

QString systemError(const QString& what, const QString& path = {})
{
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    return path.isEmpty() ? QStringLiteral("%1: %2").arg(what, reason)
                          : QStringLiteral("%1 %2: %3").arg(what, path, reason);
}

int openFile(const QString& path, const int flags)
{
    const QByteArray name = QFile::encodeName(path);
#ifdef Q_OS_WIN
    return ::_open(name.constData(), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return ::open(name.constData(), flags | O_CLOEXEC, 0600);
#endif
}

} // namespace

Opened create(const QString& path, const QByteArray& start)
{
    Opened opened;
    opened.descriptor = openFile(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND);
    if (opened.descriptor < 0) {
        opened.error = systemError(QStringLiteral("cannot create"), path);
        return opened;
    }
    opened.error = append(opened.descriptor, start);
    return opened;
}

Opened openForAppend(const QString& path, const qsizetype keepBytes)
{
    Opened opened;
    opened.descriptor = openFile(path, O_WRONLY | O_APPEND);
    if (opened.descriptor < 0) {
        opened.error = systemError(QStringLiteral("cannot open"), path);
        return opened;
    }
#ifdef Q_OS_WIN
    const int cut = ::_chsize_s(opened.descriptor, keepBytes);
#else
    const int cut = ::ftruncate(opened.descriptor, keepBytes);
#endif
    if (cut != 0)
        opened.error = systemError(QStringLiteral("cannot cut"), path);
    return opened;
}

QString append(const int descriptor, const QByteArray& bytes)
{
    if (descriptor < 0)
        return QStringLiteral("the journal is not open");
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
#ifdef Q_OS_WIN
        const auto written = ::_write(descriptor, data, static_cast<unsigned>(std::min<qsizetype>(left, 1 << 30)));
#else
        const auto written = ::write(descriptor, data, static_cast<std::size_t>(left));
#endif
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return systemError(QStringLiteral("cannot write the journal"));
        }
        data += written;
        left -= written;
    }
    return {};
}

QString sync(const int descriptor)
{
    if (descriptor < 0)
        return QStringLiteral("the journal is not open");
#ifdef Q_OS_WIN
    const int synced = ::_commit(descriptor);
#elif defined(Q_OS_MACOS)
    const int synced = ::fsync(descriptor);
#else
    const int synced = ::fdatasync(descriptor);
#endif
    return synced == 0 ? QString() : systemError(QStringLiteral("cannot sync the journal"));
}

void close(const int descriptor)
{
    if (descriptor < 0)
        return;
#ifdef Q_OS_WIN
    ::_close(descriptor);
#else
    ::close(descriptor);
#endif
}

} // namespace recovery::DurableFile
