#include "cli/Command.h"

#include <utility>

namespace cli {

CommandError::CommandError(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{
}

QString Command::usageLine() const
{
    return QStringLiteral("Usage: %1 %2 %3").arg(QLatin1StringView(ProgramName), name, operands.join(u' '));
}

QString Command::help() const
{
    return usageLine() + QStringLiteral("\n\n") + details;
}

} // namespace cli
