#include "cli/Command.h"

namespace cli {

QString Command::usageLine() const
{
    QString line = QStringLiteral("Usage: %1 %2 %3").arg(QLatin1StringView(ProgramName), name, operands.join(u' '));
    if (!optionsSynopsis.isEmpty())
        line += u' ' + optionsSynopsis;
    return line;
}

QString Command::help() const
{
    return usageLine() + QStringLiteral("\n\n") + details;
}

} // namespace cli
