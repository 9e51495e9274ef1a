#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace text {

// The byte string of a text in the run's ANSI code page, exactly as Windows'
// own tables for that code page give it: a UTF-16 unit the tables map, to
// one of the code page's characters or to a best fit, becomes those bytes;
// every other unit becomes "?". A surrogate pair is one character and one
// "?", and so is a lone surrogate. ASCII is always itself. Never fails and
// never truncates. The image is made for one comparison, search or parse and
// never stored.
[[nodiscard]] QByteArray ToAnsiImage(QStringView text);

// Appends the image of text to out; the same bytes as ToAnsiImage, without a
// temporary, for callers that image millions of texts.
void appendAnsiImage(QStringView text, QByteArray& out);
// Writes the same bytes at out, which has room for text.size() *
// ansiImageBytesPerUnit() bytes; gives the position past them.
char* writeAnsiImage(QStringView text, char* out) noexcept;
// The most bytes one UTF-16 unit takes in an image of the run's code page.
[[nodiscard]] int ansiImageBytesPerUnit() noexcept;

// An ANSI image decoded back through the code page into Unicode.
[[nodiscard]] QString fromAnsiImage(QByteArrayView image);

// Byte order of two images: -1, 0 or +1; bytes compare unsigned and a proper
// prefix is less than the longer image.
[[nodiscard]] int CompareAnsiOrdinal(QByteArrayView a, QByteArrayView b);

// The key under which the ANSI image of text collates, case ignored, by the
// user's locale, the image decoded back through the code page: for any texts
// a and b, comparing their keys bytewise (CompareAnsiOrdinal) has the sign
// of the collation of their decoded images. Sorting by name computes one key
// per row instead of one collation per comparison.
[[nodiscard]] QByteArray ansiTextSortKey(QStringView text);

} // namespace text
