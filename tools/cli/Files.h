#pragma once

#include "xom/LanguageFileReader.h"

namespace document {
class Document;
}

#include <QByteArray>
#include <QString>

namespace cli {

// Whether an operand names standard input or output: "-".
[[nodiscard]] bool isStandardStream(const QString& path);

// The whole file at path, read in one piece; "-" reads standard input to
// its end, which one run can do once. Throws CommandError "Cannot open file
// %s" when it is missing, a folder or unreadable, and "Cannot read standard
// input twice" for a second "-".
[[nodiscard]] QByteArray readWholeFile(const QString& path);

// Reads and loads a language file as the editor's Open does. Throws
// CommandError: "Cannot open file %s", or the path and the loader's own
// message ("Bad Language File", "List index out of bounds (%d)").
[[nodiscard]] xom::LoadedFile loadLanguageFile(const QString& path);

// Replaces the file at path with bytes atomically, with the messages of the
// editor's save ("Cannot create file %s", "Stream write error"); "-" writes
// them to standard output.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// Opens the language file at path in document as the editor's Open does,
// with the review file beside it (see review::readReviewBeside) when there
// is one; a review saved with other bytes of the file, or with lines for
// entries the file lacks, is taken with a warning on standard error. Throws
// as loadLanguageFile does, and CommandError for a review file that cannot
// be read, which a save would otherwise replace.
void openDocument(document::Document& document, const QString& path);
// The editor's save of document to path, or its image to standard output
// for "-".
void saveDocumentTo(document::Document& document, const QString& path);

} // namespace cli
