#include "cli/Command.h"

namespace cli {

QString Command::synopsis() const
{
    QString text = name;
    for (const CommandOption& option : options) {
        const QString call = option.valueName.isEmpty() ? option.name : option.name + u' ' + option.valueName;
        text += option.required ? u' ' + call : QStringLiteral(" [%1]").arg(call);
    }
    return text + u' ' + operands.join(u' ');
}

QString Command::usageLine() const
{
    return QStringLiteral("Usage: %1 %2").arg(QLatin1StringView(ProgramName), synopsis());
}

QString Command::help() const
{
    QString text = usageLine() + QStringLiteral("\n\n") + details;
    if (!options.isEmpty()) {
        text += QStringLiteral("\nOptions:\n");
        for (const CommandOption& option : options) {
            const QString call = option.valueName.isEmpty() ? option.name : option.name + u' ' + option.valueName;
            text += QStringLiteral("  %1%2\n").arg(call.leftJustified(18), option.help);
        }
    }
    return text;
}

} // namespace cli
