#include "app/ErrorText.h"

#include "text/EditorError.h"

#include <exception>
#include <new>

namespace app {

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

std::optional<QString> failureOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const text::EditorError& error) {
        return error.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
    return std::nullopt;
}

} // namespace app
