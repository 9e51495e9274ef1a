#include "cli/Console.h"

#include "cli/Command.h"

#include <cstdio>

namespace cli {

void writeOut(const QByteArrayView bytes)
{
    const auto size = static_cast<std::size_t>(bytes.size());
    if (std::fwrite(bytes.data(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        throw CommandError(QStringLiteral("Cannot write to standard output"));
}

void writeErr(const QString& message)
{
    const QByteArray bytes = message.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace cli
