// Placeholder until the ICU-backed implementation lands.
#include "text/TextEnvironment.h"

namespace text {

int ansiCodePageForLocale(const QLocale&)
{
    return 1252;
}

const TextEnvironment& currentTextEnvironment()
{
    static TextEnvironment environment{QStringLiteral("C"), 1252};
    return environment;
}

void pinTextEnvironmentForTesting(const QString&, int) { }

} // namespace text
