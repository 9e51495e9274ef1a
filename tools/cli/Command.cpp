#include "cli/Command.h"

namespace cli {

QString Command::usageLine() const
{
    return QStringLiteral("Usage: %1 %2 %3").arg(QLatin1StringView(ProgramName), name, operands.join(u' '));
}

QString Command::help() const
{
    return usageLine() + QStringLiteral("\n\n") + details;
}

} // namespace cli
