#pragma once

#include "cli/Command.h"

#include "exchange/ExchangeFormat.h"

#include <QString>

namespace cli {

// The --format option of export and import: the format of the exchange file
// the command writes or reads, named by its placeholder ("OUT", "IN").
[[nodiscard]] Option formatOption(const QString& exchangeOperand);

// The format of the exchange file at path: the one --format names, else the
// one path's extension gives (see exchange::exchangeFormatOf). Throws
// UsageError "unknown format 'F' (csv, po or xliff)" for any other --format
// value.
[[nodiscard]] exchange::ExchangeFormat formatOfExchangeFile(const Invocation& call, const QString& path);

} // namespace cli
