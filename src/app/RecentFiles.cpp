#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace app {

namespace {

const QString ListKey = QStringLiteral("recentFiles");
const QString PathKey = QStringLiteral("path");
const QString ReferenceKey = QStringLiteral("reference");

[[nodiscard]] QString absolute(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

} // namespace

qsizetype RecentFiles::indexOf(const QString& absolutePath) const
{
    for (qsizetype at = 0; at < m_files.size(); ++at) {
        if (m_files[at].path == absolutePath)
            return at;
    }
    return -1;
}

void RecentFiles::note(const QString& path, const QString& reference)
{
    const QString file = absolute(path);
    if (file.isEmpty())
        return;
    if (const qsizetype at = indexOf(file); at >= 0)
        m_files.removeAt(at);
    m_files.prepend({file, absolute(reference)});
    while (m_files.size() > Capacity)
        m_files.removeLast();
}

void RecentFiles::setReference(const QString& path, const QString& reference)
{
    if (const qsizetype at = indexOf(absolute(path)); at >= 0)
        m_files[at].reference = absolute(reference);
}

void RecentFiles::remove(const QString& path)
{
    if (const qsizetype at = indexOf(absolute(path)); at >= 0)
        m_files.removeAt(at);
}

void RecentFiles::load(QSettings& settings)
{
    m_files.clear();
    const int size = settings.beginReadArray(ListKey);
    for (int at = 0; at < size && m_files.size() < Capacity; ++at) {
        settings.setArrayIndex(at);
        const QString path = settings.value(PathKey).toString();
        if (!path.isEmpty() && indexOf(path) < 0)
            m_files.append({path, settings.value(ReferenceKey).toString()});
    }
    settings.endArray();
}

void RecentFiles::store(QSettings& settings) const
{
    settings.remove(ListKey);
    settings.beginWriteArray(ListKey, static_cast<int>(m_files.size()));
    for (int at = 0; at < m_files.size(); ++at) {
        settings.setArrayIndex(at);
        settings.setValue(PathKey, m_files[at].path);
        settings.setValue(ReferenceKey, m_files[at].reference);
    }
    settings.endArray();
}

} // namespace app
