// The main window's exchange files: File › Import… applies a CSV, PO or
// XLIFF file to the document as one undo step, File › Export… writes the
// entries as one, through the same library as ludra-lang.

#include "app/LanguageEdit2Uni.h"

#include "app/ErrorText.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/WindowCaptions.h"

#include "exchange/ExchangeExport.h"
#include "exchange/ImportError.h"
#include "xom/LanguageFileWriter.h"
#include "xom/WholeFile.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace app {

namespace {

// "line 4: no entry numbered "999"", one line per refused record.
QString refusalList(const exchange::ImportError& error)
{
    const auto* const all = dynamic_cast<const exchange::ImportRefusals*>(&error);
    const std::vector<exchange::ImportError> first{error};
    QStringList lines;
    for (const exchange::ImportError& refusal : all ? all->refusals() : first)
        lines.append(QStringLiteral("line %1: %2").arg(refusal.line()).arg(refusal.reason()));
    return lines.join(QLatin1Char('\n'));
}

// The file beside the document with the exchange format's extension: the
// export dialog's first proposal.
QString exportProposal(const QString& documentPath)
{
    const QFileInfo file(documentPath);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".csv"));
}

} // namespace

void TFormXom::importClick()
{
    guarded([this] {
        if (!m_document.isLoaded())
            return;
        if (const std::optional<ExchangeFile> file = m_fileDialogs->chooseImportFile())
            importFile(file->path, file->format);
    });
}

void TFormXom::exportClick()
{
    guarded([this] {
        if (!m_document.isLoaded())
            return;
        if (const std::optional<ExchangeFile> file = m_fileDialogs->chooseExportFile(exportProposal(m_document.path())))
            exportFile(file->path, file->format);
    });
}

bool TFormXom::importFile(const QString& path, const exchange::ExchangeFormat format)
{
    const xom::WholeFile file = xom::readWholeFile(path, std::numeric_limits<qsizetype>::max());
    if (file.status != xom::WholeFile::Status::Read) {
        showError(QStringLiteral("Cannot open file %1").arg(path));
        return false;
    }
    exchange::ImportOptions options;
    options.allRefusals = true;
    std::optional<exchange::ImportOutcome> outcome;
    const std::optional<QString> failure = failureOf([&] {
        try {
            outcome = m_document.importExchange(file.bytes, format, options);
        } catch (const exchange::ImportError& error) {
            m_messageBoxes->showErrorWithDetails(
                QStringLiteral("%1 was not imported: nothing changed.").arg(fileNameOf(path)), refusalList(error));
        }
    });
    if (failure)
        showError(*failure);
    if (!outcome)
        return false;
    fitNumberWidths();
    m_messageBoxes->showInformation(QStringLiteral("Import"),
        QStringLiteral("%1: %2").arg(fileNameOf(path), exchange::summaryLine(outcome->summary)));
    return true;
}

bool TFormXom::exportFile(const QString& path, const exchange::ExchangeFormat format)
{
    const std::optional<QString> failure = failureOf([&] {
        const exchange::ExportContext context
            = exchange::exportContextOf(m_document.path(), m_document.referencePath());
        xom::writeLanguageFile(path, m_document.exportAs(format, context));
    });
    if (failure) {
        showError(*failure);
        return false;
    }
    return true;
}

} // namespace app
