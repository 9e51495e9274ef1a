#include "text/TextRuntime.h"

#include <memory>
#include <string>

namespace text {

namespace {

std::unique_ptr<TextRuntime>& currentRuntime()
{
    static std::unique_ptr<TextRuntime> runtime;
    return runtime;
}

// The ICU locale ID for a locale name as QLocale gives it. The C and POSIX
// locales take the root collation: ICU's en_US_POSIX would order "B" before
// "a" and tell "Text" from "text" even at secondary strength.
std::string icuLocaleFor(const QString& localeName)
{
    if (localeName == u"C" || localeName == u"POSIX")
        return {};
    return localeName.toStdString();
}

} // namespace

TextRuntime::TextRuntime(const TextEnvironment& environment)
    : m_environment(environment)
    , m_caseInsensitive(icuLocaleFor(environment.localeName), false)
    , m_caseSensitive(icuLocaleFor(environment.localeName), true)
    , m_codePage(environment.codePage)
{
}

TextRuntime& textRuntime()
{
    std::unique_ptr<TextRuntime>& runtime = currentRuntime();
    if (!runtime) {
        // ICU's own default locale ignores LANGUAGE and reads "C" as
        // en_US_POSIX; the run follows Qt's reading of the user's locale.
        const QLocale system = QLocale::system();
        runtime = std::make_unique<TextRuntime>(
            TextEnvironment{system.name(), ansiCodePageForLocale(system, systemLocaleSpelling(system))});
    }
    return *runtime;
}

void replaceTextRuntime(const TextEnvironment& environment)
{
    currentRuntime() = std::make_unique<TextRuntime>(environment);
}

} // namespace text
