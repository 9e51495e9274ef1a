#pragma once

#include <QList>
#include <QString>

class QSettings;

namespace app {

// A language file opened lately, with the reference that was open beside it
// (empty for none).
struct RecentFile {
    QString path;
    QString reference;

    friend bool operator==(const RecentFile&, const RecentFile&) = default;
};

// File › Open Recent: the last files opened, newest first, each once, at
// most Capacity of them. Paths are kept absolute, so that one file reached
// two ways is one entry. Kept between runs in the user's settings.
class RecentFiles {
public:
    static constexpr int Capacity = 8;

    // path was opened (or saved as) with reference beside it: it goes first.
    void note(const QString& path, const QString& reference);
    // The reference beside path changed; nothing when path is not listed.
    void setReference(const QString& path, const QString& reference);
    void remove(const QString& path);
    void clear() { m_files.clear(); }

    [[nodiscard]] const QList<RecentFile>& files() const noexcept { return m_files; }

    // The list as settings hold it; a damaged or foreign list is read as far
    // as it makes sense, entries without a path dropped.
    void load(QSettings& settings);
    void store(QSettings& settings) const;

private:
    [[nodiscard]] qsizetype indexOf(const QString& absolutePath) const;

    QList<RecentFile> m_files;
};

} // namespace app
