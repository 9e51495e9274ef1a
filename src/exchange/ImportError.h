#pragma once

#include "text/EditorError.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <vector>

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

// A file whose records were refused, each of them: an import that goes on
// past a refused record to find them all (see ImportOptions). It stands as
// the first refusal; refusals() lists them all in line order.
class ImportRefusals : public ImportError {
public:
    explicit ImportRefusals(std::vector<ImportError> refusals);

    [[nodiscard]] const std::vector<ImportError>& refusals() const noexcept { return m_refusals; }

private:
    std::vector<ImportError> m_refusals;
};

// An entry that an export format cannot carry ("entry 12: a lone surrogate
// cannot be written in …"): the export stops and writes nothing.
class ExportError : public text::EditorError {
public:
    using EditorError::EditorError;
};

} // namespace exchange
