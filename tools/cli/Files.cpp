#include "cli/Files.h"

#include "cli/Command.h"
#include "cli/Console.h"

#include "xom/LanguageFileWriter.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace cli {

bool isStandardStream(const QString& path)
{
    return path == u"-";
}

namespace {

QByteArray readStandardInput()
{
    static bool consumed = false;
    if (consumed)
        throw CommandError(QStringLiteral("Cannot read standard input twice"));
    consumed = true;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw CommandError(QStringLiteral("Cannot open file -"));
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw CommandError(QStringLiteral("Cannot open file -"));
    return bytes;
}

} // namespace

QByteArray readWholeFile(const QString& path)
{
    if (isStandardStream(path))
        return readStandardInput();
    const auto cannotOpen = [&] { return CommandError(QStringLiteral("Cannot open file %1").arg(path)); };
    if (!QFileInfo(path).isFile())
        throw cannotOpen();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen();
    const qint64 size = file.size();
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (file.read(bytes.data(), size) != size)
        throw cannotOpen();
    return bytes;
}

xom::LoadedFile loadLanguageFile(const QString& path)
{
    const QByteArray bytes = readWholeFile(path);
    // The editor takes no file that its 32-bit sizes cannot describe.
    if (bytes.size() > std::numeric_limits<qint32>::max())
        throw CommandError(QStringLiteral("%1: %2").arg(path, xom::LoadError{}.message()));
    xom::LoadResult result = xom::loadLanguageFile(bytes);
    if (const auto* const error = std::get_if<xom::LoadError>(&result))
        throw CommandError(QStringLiteral("%1: %2").arg(path, error->message()));
    return std::get<xom::LoadedFile>(std::move(result));
}

void writeWholeFile(const QString& path, const QByteArray& bytes)
{
    if (isStandardStream(path)) {
        writeOut(bytes);
        return;
    }
    // The save's own atomic write: a temporary file renamed over the target.
    xom::writeLanguageFile(path, bytes);
}

void saveLanguageFileTo(const QString& path, const xom::EntryTable& entries, xom::LanguageModel& model)
{
    if (!isStandardStream(path)) {
        xom::saveLanguageFile(path, entries, model);
        return;
    }
    writeOut(xom::buildLanguageImage(entries, model));
}

} // namespace cli
