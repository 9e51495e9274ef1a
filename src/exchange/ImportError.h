#pragma once

#include "text/EditorError.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace exchange {

// An exchange file (CSV, PO, XLIFF) that is refused, and the line of the
// record it stopped at, counted from 1.
class ImportError : public std::exception {
public:
    ImportError(int line, QString reason);

    [[nodiscard]] int line() const noexcept { return m_line; }
    [[nodiscard]] const QString& reason() const noexcept { return m_reason; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    int m_line;
    QString m_reason;
    QByteArray m_utf8;
};

// An entry that an export format cannot carry ("entry 12: a lone surrogate
// cannot be written in …"): the export stops and writes nothing.
class ExportError : public text::EditorError {
public:
    using EditorError::EditorError;
};

} // namespace exchange
