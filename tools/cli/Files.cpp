#include "cli/Files.h"

#include "cli/Command.h"
#include "cli/Console.h"

#include "document/Document.h"

#include "xom/LanguageFileWriter.h"
#include "xom/WholeFile.h"

#include <QFile>

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

// The file at path, or standard input for "-", read whole unless it is
// larger than largest. Throws CommandError as readWholeFile does.
xom::WholeFile readFileOrInput(const QString& path, const qint64 largest)
{
    if (isStandardStream(path))
        return {xom::WholeFile::Status::Read, readStandardInput()};
    xom::WholeFile file = xom::readWholeFile(path, largest);
    if (file.status == xom::WholeFile::Status::Missing || file.status == xom::WholeFile::Status::Unreadable)
        throw CommandError(QStringLiteral("Cannot open file %1").arg(path));
    return file;
}

} // namespace

QByteArray readWholeFile(const QString& path)
{
    xom::WholeFile file = readFileOrInput(path, std::numeric_limits<qsizetype>::max());
    // Only a file no buffer can hold is too large here.
    if (file.status == xom::WholeFile::Status::TooLarge)
        throw CommandError(QStringLiteral("Cannot open file %1").arg(path));
    return std::move(file.bytes);
}

xom::LoadedFile loadLanguageFile(const QString& path)
{
    const xom::WholeFile file = readFileOrInput(path, xom::largestLanguageFile);
    // The editor takes no file that its 32-bit sizes cannot describe; standard
    // input has no size to check before it is read.
    if (file.status == xom::WholeFile::Status::TooLarge || file.bytes.size() > xom::largestLanguageFile)
        throw CommandError(
            QStringLiteral("%1: %2: the file is larger than 2 GiB").arg(path, xom::LoadError{}.message()));
    xom::LoadResult result = xom::loadLanguageFile(file.bytes);
    if (const auto* const error = std::get_if<xom::LoadError>(&result))
        throw CommandError(QStringLiteral("%1: %2").arg(path, error->explained()));
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

void openDocument(document::Document& document, const QString& path)
{
    document.open(loadLanguageFile(path), path);
}

void saveDocumentTo(document::Document& document, const QString& path)
{
    if (!isStandardStream(path)) {
        document.saveAs(path);
        return;
    }
    writeOut(document.image());
}

} // namespace cli
