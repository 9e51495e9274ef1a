#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace cli {

// JSON in pure ASCII, so that any text survives exactly whatever reads it:
// '"' and '\' are escaped by a backslash and every other code unit outside
// 0x20 .. 0x7E is written as \uXXXX (upper-case hex), a lone surrogate as
// much as a pair's halves.

// Appends text as a quoted JSON string.
void appendJsonText(QStringView text, QByteArray& out);
// Appends a byte string (a type name) as a quoted JSON string, each byte
// outside 0x20 .. 0x7E as \u00XX.
void appendJsonBytes(QByteArrayView bytes, QByteArray& out);
// Appends an entry number cell: a JSON number when the cell is canonical
// decimal (what every load and Add writes: "0" or digits without a leading
// zero, at most 15 of them), otherwise the cell as a JSON string.
void appendJsonNumberCell(QStringView cell, QByteArray& out);

} // namespace cli
