// Placeholder: the writer is being written.
#include "xom/LanguageFileWriter.h"

#include "xom/FileErrors.h"

namespace xom {

QByteArray buildLanguageImage(const EntryTable&, LanguageModel&, const ProgressReport&)
{
    throw StreamWriteError();
}

void writeLanguageFile(const QString& path, const QByteArray&)
{
    throw FileCreateError(path);
}

void saveLanguageFile(const QString& path, const EntryTable&, LanguageModel&, const ProgressReport&)
{
    throw FileCreateError(path);
}

} // namespace xom
