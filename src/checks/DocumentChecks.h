#pragma once

#include "checks/CheckCatalog.h"

#include "document/Document.h"

#include <QString>

#include <map>
#include <stop_token>
#include <vector>

namespace spelling {
class SpellChecker;
}

namespace checks {

// The language a document's texts are in, for the checks that depend on it
// (French spacing, a script without case): as the review file keeps it, or
// as the file's name tells it; empty when neither does.
[[nodiscard]] QString targetLanguageOf(const document::Document& document);

// The language whose dictionary spells the document: the one chosen for
// it, or else its own.
[[nodiscard]] QString spellingLanguageOf(const document::Document& document);

// The document's own selection: the defaults and its choices (kept in its
// review file), for its entry count.
[[nodiscard]] CheckSelection selectionOf(const document::Document& document);

// The text checks' context for a selection and a target language.
[[nodiscard]] TextCheckContext contextOf(const CheckSelection& selection, const QString& targetLanguage);

// Makes the document's review run selection: its own checks that are on,
// and the text checks that are on beside each translated entry's
// reference. Spelling is run by whoever shows or reports it (it needs a
// dictionary and takes its time).
void runSelection(document::Document& document, const CheckSelection& selection);

// One check an entry fails, with what it found: "missing %d; extra %s",
// "#12, #40", "“.” → “!”"; empty where the check tells no more.
struct CheckFinding {
    const CheckEntry* check = nullptr;
    QString detail;
};

// The words spelling found unknown in each row (0-based) of a document,
// for the rows it has any.
using UnknownWords = std::map<int, QStringList>;

// The unknown words of the document's translated entries (a reference text
// and a text of their own) by the installed dictionary that best fits its
// language, a word its reference has never among them. Nothing when no
// dictionary fits or it cannot be loaded; the reason in *why.
[[nodiscard]] UnknownWords unknownWordsOf(const document::Document& document, QString* why = nullptr);
// The same in the given language, whatever the document's own.
[[nodiscard]] UnknownWords unknownWordsOf(const document::Document& document, const QString& language, QString* why);
// Each row's text and reference text where the row is translated, and two
// empty texts where it is not: what a spelling of the whole document on a
// thread of its own reads, taken while the document holds still.
[[nodiscard]] std::vector<std::pair<QString, QString>> spellingSnapshot(const document::Document& document);
// The unknown words found in a snapshot, by row.
[[nodiscard]] UnknownWords unknownWordsOfSnapshot(const std::vector<std::pair<QString, QString>>& snapshot,
    spelling::SpellChecker& checker, const std::stop_token& stop = {});

// The same by checker, for the rows given (0-based; all when none are).
[[nodiscard]] UnknownWords unknownWordsOf(
    const document::Document& document, spelling::SpellChecker& checker, const std::vector<int>& rows = {});

// The review's totals, with the entries whose only fault is an unknown
// word among those with warnings.
[[nodiscard]] xom::CheckTotals totalsWithSpelling(const xom::TranslationReview& review, const UnknownWords& unknown);

// The checks the row (0-based) of the document fails beside its reference
// as the review has them, in catalogue order, with details worked out for
// this row alone, then spelling when spelling found words in it. Nothing
// without a reference.
[[nodiscard]] std::vector<CheckFinding> findingsOfRow(
    const document::Document& document, int row, const TextCheckContext& context, const UnknownWords& unknown = {});

// "placeholders differ (missing %d)", or the name alone.
[[nodiscard]] QString describe(const CheckFinding& finding);
[[nodiscard]] QStringList describe(const std::vector<CheckFinding>& findings);

} // namespace checks

namespace checks {

// The safe fixes (see safelyFixed) of the given rows (0-based; all rows
// when none are given) that have a reference text and a text of their own,
// as the cell changes that make them.
[[nodiscard]] std::vector<xom::CellChange> safeFixesOf(
    const document::Document& document, const std::vector<int>& rows = {});
// Those fixes made as one step, "Fix"; how many entries changed. No step
// is made where no fix applies.
int fixEntries(document::Document& document, const std::vector<int>& rows = {});

} // namespace checks
