#pragma once

#include "memory/LanguageTags.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace document {
class Document;
}

namespace memory {

class TranslationMemory;

struct PreTranslateOptions {
    // The least similarity a near match needs to be taken.
    int minScore = 75;
    // Whether an exact match (the same source) is taken as translated;
    // otherwise it needs review like a near one, for a translator to see
    // that the same words fit this place too.
    bool exactAsTranslated = false;
};

// What pre-translation did with one untranslated entry.
enum class PreTranslated : std::uint8_t { Exact, Near, NoMatch };

struct PreTranslatedEntry {
    int gridRow = 0;
    PreTranslated outcome = PreTranslated::NoMatch;
    // The match's similarity; 0 without one.
    int score = 0;
};

struct PreTranslateResult {
    std::vector<PreTranslatedEntry> entries;
    int exact = 0;
    int nearMatches = 0;
    int noMatch = 0;
};

// Fills the document's untranslated entries (their text empty or the
// reference's, and no state that says otherwise) from the memory, each
// with the best unit for its reference text within languages: an exact one
// as options say, a near one at minScore or more as needing review. Every
// filled entry keeps the reference text as its snapshot. One undo step,
// "Pre-translate", made only when something was filled. Nothing without a
// reference. The lookups of a large file are shared with a second
// connection to the memory on a thread of its own.
PreTranslateResult preTranslate(document::Document& document, TranslationMemory& memory, const LanguagePair& languages,
    const PreTranslateOptions& options);

// "12 exact (translated), 30 near (needing review), 58 without a match",
// naming only what happened; "nothing to pre-translate" for no entry.
[[nodiscard]] QString preTranslateSummary(const PreTranslateResult& result, const PreTranslateOptions& options);
// A header line, then one line per entry: number, name, score and outcome,
// tab-separated, as the entries stand after the step.
[[nodiscard]] QByteArray preTranslateReport(const PreTranslateResult& result, const document::Document& document);

} // namespace memory
