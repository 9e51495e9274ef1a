#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace exchange {

// The UTF-8 of a text in an exchange file (a CSV field, a PO string, an
// XLIFF text): standard UTF-8, a surrogate pair as one four-byte sequence,
// as spreadsheets and CAT tools expect. A lone surrogate, which standard
// UTF-8 cannot carry, takes its three-byte form, so that every text of a
// language file survives export and import.
[[nodiscard]] QByteArray exchangeUtf8(QStringView text);

// How the line breaks of a text come out of appendExchangeText: as the
// bytes have them, or each CR, LF and CR LF as one CR LF, the editor's form.
enum class DecodedBreaks { AsWritten, CrLf };

// Appends the text of bytes to out, taking the room it needs at once, so
// that a large text is decoded once, in place. False, and out as it was,
// when the bytes are not exactly what exchangeUtf8 writes: bytes in a
// Windows code page, a cut or overlong sequence, a pair's halves encoded one
// by one.
[[nodiscard]] bool appendExchangeText(QByteArrayView bytes, QString& out, DecodedBreaks breaks);

} // namespace exchange
