#include "EditorError.h"

namespace text {

EditorError::EditorError(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{
}

ListIndexError::ListIndexError(qint32 index)
    : EditorError(QStringLiteral("List index out of bounds (%1)").arg(index))
    , m_index(index)
{
}

ConvertError::ConvertError(const QString& shownText)
    : EditorError(QStringLiteral("'%1' is not a valid integer value").arg(shownText))
{
}

} // namespace text
