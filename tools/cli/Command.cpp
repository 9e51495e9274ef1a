#include "cli/Command.h"

namespace cli {

const Option* Command::findOption(const QString& optionName) const
{
    for (const Option& option : options) {
        if (option.name == optionName)
            return &option;
    }
    return nullptr;
}

QString Command::usageLine() const
{
    const QString optionsPart = options.empty() ? QString() : QStringLiteral("[OPTION]... ");
    return QStringLiteral("Usage: %1 %2 %3%4")
        .arg(QLatin1StringView(ProgramName), name, optionsPart, operands.join(u' '));
}

QString Command::help() const
{
    QString text = usageLine() + QStringLiteral("\n\n") + details;
    if (options.empty())
        return text;
    text += QStringLiteral("\nOptions:\n");
    for (const Option& option : options) {
        const QString call = option.valueName.isEmpty() ? option.name : option.name + u' ' + option.valueName;
        text += QStringLiteral("  %1%2\n").arg(call.leftJustified(24), option.help);
    }
    return text;
}

} // namespace cli
