#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace xom {

// Appends the editor's UTF-8 form of a text to out, code unit by code unit:
// surrogates are not combined (a supplementary character becomes two
// three-byte groups, as the game reads it) and U+0000 is one 0x00 byte.
// Never fails; at most three bytes per code unit.
void appendUtf8(QStringView text, QByteArray& out);
// Writes the same bytes at out (room for utf8Length(text) bytes) and gives
// the position past them.
char* writeUtf8(QStringView text, char* out) noexcept;
[[nodiscard]] qsizetype utf8Length(QStringView text) noexcept;

// Decodes a string of the file into out, which has room for bytes.size()
// code units (never more are written); gives the number written. One-, two-
// and three-byte forms decode code unit by code unit (overlong forms and
// single surrogates are accepted, so everything appendUtf8 writes reads
// back); a four-byte form of a code point from U+10000 to U+10FFFF gives its
// surrogate pair. A byte that cannot start a sequence, and a sequence cut
// short by a missing or wrong continuation byte, each become one U+FFFD for
// the bytes consumed so far, and decoding resumes at the offending byte: one
// bad byte never costs the whole text.
qsizetype decodeUtf8(QByteArrayView bytes, char16_t* out) noexcept;

} // namespace xom
