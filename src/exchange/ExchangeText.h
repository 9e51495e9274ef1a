#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace exchange {

// The UTF-8 of a CSV field: standard UTF-8, a surrogate pair as one
// four-byte sequence, as spreadsheets expect. A lone surrogate, which
// standard UTF-8 cannot carry, takes its three-byte form, so that every text
// of a language file survives export and import.
[[nodiscard]] QByteArray exchangeUtf8(QStringView text);

// The text of a CSV field's bytes, or nothing when they are not exactly what
// exchangeUtf8 writes: bytes in a Windows code page, a cut or overlong sequence,
// a pair's halves encoded one by one.
[[nodiscard]] std::optional<QString> textOfExchangeUtf8(QByteArrayView bytes);

} // namespace exchange
