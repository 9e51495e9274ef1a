#pragma once

#include "xom/LanguageFileReader.h"

#include <QByteArray>
#include <QString>

namespace cli {

// The whole file at path, read in one piece. Throws CommandError
// "Cannot open file %s" when it is missing, a folder or unreadable.
[[nodiscard]] QByteArray readWholeFile(const QString& path);

// Reads and loads a language file as the editor's Open does. Throws
// CommandError: "Cannot open file %s", or the path and the loader's own
// message ("Bad Language File", "List index out of bounds (%d)").
[[nodiscard]] xom::LoadedFile loadLanguageFile(const QString& path);

// Replaces the file at path with bytes atomically, with the messages of the
// editor's save ("Cannot create file %s", "Stream write error").
void writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace cli
