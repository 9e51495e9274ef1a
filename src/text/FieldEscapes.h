#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace text {

// The escapes of a tab-separated text field, one line a record: \t, \n, \r
// and \\ stand for a tab, a line feed, a carriage return and a backslash.
// With code units allowed, \uXXXX (four hex digits) stands for one UTF-16
// code unit, which keeps a lone surrogate that UTF-8 cannot carry.
enum class UnitEscapes { Refused, Allowed };

// Whether text holds anything appendEscapedField escapes: a tab, a line
// break, a backslash, a surrogate (a pair is kept whole, but only the
// careful path tells a pair from a lone half).
[[nodiscard]] bool needsFieldEscapes(QStringView text);

// Appends text to out with tabs, line breaks and backslashes escaped, and
// lone surrogates as \uXXXX; a surrogate pair stays as it is.
void appendEscapedField(QString& out, const QString& text);

// The text a field stands for; nothing at a backslash before anything else.
[[nodiscard]] std::optional<QString> unescapedField(QStringView field, UnitEscapes units);

} // namespace text
