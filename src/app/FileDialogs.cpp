#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace app {

namespace {

QString languageFileFilter()
{
    return QStringLiteral("Ludra Language Files (*.xom)");
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

QString SystemFileDialogs::chooseReferenceFile()
{
    const QString folder = m_lastOpenPath.isEmpty() ? QString() : QFileInfo(m_lastOpenPath).absolutePath();
    const QString path
        = QFileDialog::getOpenFileName(&m_owner, QStringLiteral("Open Reference"), folder, languageFileFilter());
    if (!path.isEmpty())
        m_lastOpenPath = path;
    return path;
}

QString SystemFileDialogs::chooseSaveFile(const QString& startPath)
{
    return QFileDialog::getSaveFileName(
        &m_owner, QString(), startPath, languageFileFilter(), nullptr, QFileDialog::DontConfirmOverwrite);
}

} // namespace app
