#pragma once

#include "review/ReviewFile.h"

#include <QString>

#include <functional>
#include <optional>

namespace exchange {

// The files that export writes and import reads.
enum class ExchangeFormat {
    Csv,   // spreadsheets
    Po,    // gettext catalogs
    Xliff, // XLIFF 1.2 documents
};

// The format that --format names ("csv", "po", "xliff"), or, without the
// option, the one the file's extension names (.po or .pot; .xlf or .xliff; CSV for
// any other, standard input and output included). Nothing for an unknown
// --format value.
[[nodiscard]] std::optional<ExchangeFormat> exchangeFormatOf(const QString& path, const std::optional<QString>& option);

// The text a translator translates from for the entry in a grid row, shown
// beside the entry's own text; nothing, or no function, means the entry's
// own text.
using ReferenceOfRow = std::function<std::optional<QString>(int row)>;

// The reference of row, or the entry's own text.
[[nodiscard]] QString referenceOrOwn(const ReferenceOfRow& reference, int row, const QString& ownText);

// The review of the entry in a grid row (from 0) as an export writes it:
// its state NeedsReview too where its source changed since its translation
// was accepted, for the file says only whether a translation wants a look.
using ReviewOfRow = std::function<review::EntryReview(int row)>;

// Whether a CSV export adds the columns "state" and "note": never (the
// bytes of a file without a review), always (ludra-lang export --states),
// or when any entry has a state or a note (the window's Export).
enum class ReviewColumns { Never, Always, WhenAnyKept };

// What an export writes besides the entries.
struct ExportContext {
    // The language file's name, for the header ("lang_de.xom").
    QString project;
    // The program that writes, for the PO header ("ludra-lang 2.0").
    QString generator;
    // The languages of the sources and of the texts, as language tags
    // ("en", "de"); "und" (undetermined) when nothing says.
    QString sourceLanguage = QStringLiteral("und");
    QString targetLanguage = QStringLiteral("und");
    ReferenceOfRow reference;
    // No function: no entry has a review, as for a file without one.
    ReviewOfRow review;
    ReviewColumns reviewColumns = ReviewColumns::Never;
};

// The language a file name gives ("de" for "lang_de.xom", "pt-BR" for
// "lang_pt_BR.xom"), or "und" for any other name: the game names its
// language files so.
[[nodiscard]] QString languageOfFileName(const QString& path);

} // namespace exchange
