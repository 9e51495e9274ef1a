#include "cli/Files.h"

#include "cli/Command.h"
#include "cli/Console.h"

#include "document/Document.h"

#include "review/ReviewPairing.h"

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

namespace {

// The bytes of the language file at path, or of standard input for "-".
QByteArray readLanguageBytes(const QString& path)
{
    xom::WholeFile file = readFileOrInput(path, xom::largestLanguageFile);
    // The editor takes no file that its 32-bit sizes cannot describe; standard
    // input has no size to check before it is read.
    if (file.status == xom::WholeFile::Status::TooLarge || file.bytes.size() > xom::largestLanguageFile)
        throw CommandError(
            QStringLiteral("%1: %2: the file is larger than 2 GiB").arg(path, xom::LoadError{}.message()));
    return std::move(file.bytes);
}

xom::LoadedFile loadLanguageBytes(const QString& path, const QByteArray& bytes)
{
    xom::LoadResult result = xom::loadLanguageFile(bytes);
    if (const auto* const error = std::get_if<xom::LoadError>(&result))
        throw CommandError(QStringLiteral("%1: %2").arg(path, error->explained()));
    return std::get<xom::LoadedFile>(std::move(result));
}

} // namespace

xom::LoadedFile loadLanguageFile(const QString& path)
{
    return loadLanguageBytes(path, readLanguageBytes(path));
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
    const QByteArray bytes = readLanguageBytes(path);
    document.open(loadLanguageBytes(path, bytes), path);
    if (isStandardStream(path))
        return;
    // The review beside the file, as the window reads it: a save writes it
    // back beside the file saved.
    review::ReviewBeside beside = review::readReviewBeside(path, bytes);
    const QString reviewPath = review::reviewPathFor(path);
    if (beside.refusal) {
        throw CommandError(QStringLiteral("%1: %2; move it away to go on without the states")
                               .arg(reviewPath, beside.refusal->message()));
    }
    if (!beside.file)
        return;
    if (!beside.pairs) {
        writeErr(QStringLiteral("warning: %1 was saved with another version of %2: its states may be older than "
                                "the texts\n")
                     .arg(reviewPath, path));
    }
    const int aside = document.takeReviewFile(std::move(*beside.file));
    if (aside > 0) {
        writeErr(QStringLiteral("warning: %1 entries of %2 are not in %3; a save writes them back\n")
                     .arg(aside)
                     .arg(reviewPath, path));
    }
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
