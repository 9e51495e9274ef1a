#pragma once

#include <QByteArrayView>
#include <QString>

namespace cli {

// The program's two streams, written as raw bytes: no locale or code page
// stands between a dump and its reader. Throws CommandError when standard
// output cannot take the bytes (a closed pipe, a full disk).
void writeOut(QByteArrayView bytes);
// Messages go out as UTF-8; a failure here has nowhere left to be told.
void writeErr(const QString& message);

} // namespace cli
