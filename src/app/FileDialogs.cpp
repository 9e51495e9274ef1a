#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace app {

namespace {

QString languageFileFilter()
{
    return QStringLiteral("Ludra Language Files (*.xom)");
}

// The exchange file types, in the order of ExchangeFormat.
const QStringList& exchangeFilters()
{
    static const QStringList filters{QStringLiteral("CSV Files (*.csv)"), QStringLiteral("PO Files (*.po *.pot)"),
        QStringLiteral("XLIFF 1.2 Files (*.xlf *.xliff)")};
    return filters;
}

const QStringList& exchangeExtensions()
{
    static const QStringList extensions{QStringLiteral("csv"), QStringLiteral("po"), QStringLiteral("xlf")};
    return extensions;
}

exchange::ExchangeFormat formatOfFilter(const QString& filter)
{
    const qsizetype at = exchangeFilters().indexOf(filter);
    return at < 0 ? exchange::ExchangeFormat::Csv : static_cast<exchange::ExchangeFormat>(at);
}

} // namespace

SystemFileDialogs::SystemFileDialogs(QWidget& owner)
    : m_owner(owner)
{
}

QString SystemFileDialogs::chooseOpenFile()
{
    const QString path = QFileDialog::getOpenFileName(&m_owner, QString(), m_lastOpenPath, languageFileFilter());
    if (!path.isEmpty())
        m_lastOpenPath = path;
    return path;
}

QString SystemFileDialogs::chooseReferenceFile(const QString& title)
{
    const QString folder = m_lastOpenPath.isEmpty() ? QString() : QFileInfo(m_lastOpenPath).absolutePath();
    const QString path = QFileDialog::getOpenFileName(&m_owner, title, folder, languageFileFilter());
    if (!path.isEmpty())
        m_lastOpenPath = path;
    return path;
}

QString SystemFileDialogs::chooseSaveFile(const QString& startPath)
{
    return QFileDialog::getSaveFileName(
        &m_owner, QString(), startPath, languageFileFilter(), nullptr, QFileDialog::DontConfirmOverwrite);
}

std::optional<ExchangeFile> SystemFileDialogs::chooseImportFile()
{
    const QString folder = m_lastOpenPath.isEmpty() ? QString() : QFileInfo(m_lastOpenPath).absolutePath();
    QString filter = exchangeFilters().front();
    const QString path = QFileDialog::getOpenFileName(
        &m_owner, QStringLiteral("Import"), folder, exchangeFilters().join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return std::nullopt;
    return ExchangeFile{path, formatOfFilter(filter)};
}

std::optional<ExchangeFile> SystemFileDialogs::chooseExportFile(const QString& startPath)
{
    QFileDialog dialog(&m_owner, QStringLiteral("Export"), startPath);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(exchangeFilters());
    dialog.setDefaultSuffix(exchangeExtensions().front());
    // The suffix a bare name gets follows the type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(exchangeExtensions().value(static_cast<qsizetype>(formatOfFilter(filter))));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ExchangeFile{dialog.selectedFiles().front(), formatOfFilter(dialog.selectedNameFilter())};
}

QString SystemFileDialogs::chooseMemoryFile(const QString& currentPath)
{
    QFileDialog dialog(&m_owner, QStringLiteral("Translation Memory"), currentPath);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({QStringLiteral("Translation Memories (*.ludra-tm)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("ludra-tm"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Use"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace app
