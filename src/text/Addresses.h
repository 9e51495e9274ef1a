#pragma once

#include <QStringView>

#include <utility>

namespace text {

// The length of the URL that starts at `at` ("http://", "https://" or
// "www.", in any case, at the start of a word), or 0. It runs to a space or
// a character that cannot stand in one unquoted (< > " [ ] “ ” « » and
// controls); the punctuation a sentence puts after it (. , ; : ! ? ) ' ’)
// is no part of it.
[[nodiscard]] qsizetype urlLengthAt(QStringView text, qsizetype at) noexcept;

// The e-mail address around the '@' at `at`, not reaching before `from`:
// its start and end, or (at, at) when there is none. An address is a local
// part of ASCII letters, digits and . _ + -, and a domain of ASCII letters,
// digits, . and - with a dot inside it.
[[nodiscard]] std::pair<qsizetype, qsizetype> emailAround(QStringView text, qsizetype at, qsizetype from = 0) noexcept;

} // namespace text
