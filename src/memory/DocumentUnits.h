#pragma once

#include "memory/LanguageTags.h"
#include "memory/MemoryUnit.h"

#include <QDateTime>

#include <vector>

namespace document {
class Document;
}

namespace memory {

// The languages of an open document's units, each as given, or else as the
// review file keeps it (Document::languages), or else as a file's name
// tells it: the reference's the source ("lang_en.xom"), the document's the
// target. Empty where none tells.
[[nodiscard]] LanguagePair languagesOf(const document::Document& document, const LanguagePair& given = {});

// What a document gives the memory, beside its reference: a unit for each
// entry that is approved or translated, its source the reference's text and
// its target the entry's. An entry counts as translated when its state says
// so, or, without a state, when its text is neither empty nor the
// reference's own. Entries that need review, whose source changed, or that
// have no reference text give none. Nothing without a reference or with a
// language missing.
[[nodiscard]] std::vector<MemoryUnit> unitsOf(
    const document::Document& document, const LanguagePair& languages, const QDateTime& when);

} // namespace memory
