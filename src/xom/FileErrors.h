#pragma once

#include "text/EditorError.h"

namespace xom {

// "Cannot create file %s", %s being the chosen path.
class FileCreateError : public text::EditorError {
public:
    explicit FileCreateError(const QString& path);
};

// "Stream write error": the write stopped part way.
class StreamWriteError : public text::EditorError {
public:
    StreamWriteError();
};

} // namespace xom
