#include "xom/FileErrors.h"

namespace xom {

FileCreateError::FileCreateError(const QString& path)
    : EditorError(QStringLiteral("Cannot create file %1").arg(path))
{
}

StreamWriteError::StreamWriteError()
    : EditorError(QStringLiteral("Stream write error"))
{
}

} // namespace xom
