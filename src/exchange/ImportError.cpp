#include "exchange/ImportError.h"

#include <utility>

namespace exchange {

ImportError::ImportError(const int line, QString reason)
    : m_line(line)
    , m_reason(std::move(reason))
    , m_utf8(QStringLiteral("line %1: %2").arg(m_line).arg(m_reason).toUtf8())
{
}

ImportRefusals::ImportRefusals(std::vector<ImportError> refusals)
    : ImportError(refusals.front())
    , m_refusals(std::move(refusals))
{
}

} // namespace exchange
