#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ProgressReport.h"

#include <QByteArray>
#include <QString>

namespace xom {

// Builds the complete image of a language file from the entries and the
// model: a fresh header, the type table, the GUID and SCHM chunks, the string
// table rebuilt from the entries, then each type's containers in table order
// as its instance count announces them: one string resource container per
// entry number, the data bank in row order, the carried containers. Records
// the rebuilt string list in model.StringList on the way (and leaves it so if
// a later step fails); changes nothing else in the model. The entries may
// build their pool's index (see TextPool). Throws text::ListIndexError
// (fewer than two strings: 1; an entry number 1 .. n missing from the
// number column: -1).
[[nodiscard]] QByteArray buildLanguageImage(
    const EntryTable& entries, LanguageModel& model, const ProgressReport& progress = {});

// Replaces the file at path with image atomically: a failed or interrupted
// write leaves any previous file whole. Throws FileCreateError or
// StreamWriteError.
void writeLanguageFile(const QString& path, const QByteArray& image);

// The whole save after the file was chosen: the image buildLanguageImage
// makes, written straight to the file as it is made (no whole image in
// memory) and replacing it atomically as writeLanguageFile does. Records the
// string list as buildLanguageImage does and the file's size in
// model.FileSize, and reports 100 once every byte is written. Throws what
// buildLanguageImage throws, before the file is created, then
// FileCreateError or StreamWriteError.
void saveLanguageFile(
    const QString& path, const EntryTable& entries, LanguageModel& model, const ProgressReport& progress = {});

} // namespace xom
