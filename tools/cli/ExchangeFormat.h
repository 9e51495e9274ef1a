#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace cli {

// The files that export writes and import reads.
enum class ExchangeFormat {
    Csv,   // spreadsheets
    Po,    // gettext catalogs
    Xliff, // XLIFF 1.2 documents
};

// The format that --format names ("csv", "po", "xliff"), or, without the
// option, the one the file's extension names (.po; .xlf or .xliff; CSV for
// any other, standard input and output included). Nothing for an unknown
// --format value.
[[nodiscard]] std::optional<ExchangeFormat> exchangeFormatOf(const QString& path, const std::optional<QString>& option);

// The text a translator translates from for the entry in a grid row, shown
// beside the entry's own text; nothing, or no function, means the entry's
// own text.
using ReferenceOfRow = std::function<std::optional<QString>(int row)>;

// The reference of row, or the entry's own text.
[[nodiscard]] QString referenceOrOwn(const ReferenceOfRow& reference, int row, const QString& ownText);

} // namespace cli
