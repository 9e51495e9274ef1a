#pragma once

#include "recovery/JournalFormat.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace recovery {

// A journal this editor holds: its file, the copy of the recorded bytes
// beside it, and the lock that keeps every other editor off both. Dropped,
// it lets go of the lock and leaves the files; remove() deletes them.
class HeldJournal {
public:
    HeldJournal(QString path, std::unique_ptr<QLockFile> lock);
    HeldJournal(HeldJournal&&) noexcept;
    HeldJournal& operator=(HeldJournal&&) noexcept;
    ~HeldJournal();

    [[nodiscard]] const QString& path() const noexcept { return m_path; }
    // Where the copy of the recorded bytes goes: the journal's name with
    // ".base" in place of ".journal".
    [[nodiscard]] QString copyPath() const;
    // The journal, its copy and its lock are deleted.
    void remove();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// A journal that a run which did not end cleanly left behind, read and held.
struct LeftJournal {
    HeldJournal held;
    ReadJournal read;
    // When its last record was written.
    QDateTime lastWritten;
};

// The folder of recovery journals: one journal per open document with
// unsaved changes, named by a hash of the document's path and a number, so
// that two editors on one file keep two journals. A journal whose lock no
// running editor holds was left by a run that did not end cleanly.
class JournalFolder {
public:
    // The user's folder: Ludra/LanguageEditor/recovery in the user's data
    // folder (XDG_DATA_HOME).
    JournalFolder();
    explicit JournalFolder(QString path);

    [[nodiscard]] const QString& path() const noexcept { return m_path; }

    // A new journal for the file at path, held; nothing when the folder
    // cannot be made or written (what went wrong in why).
    [[nodiscard]] std::optional<HeldJournal> create(const QString& file, QString* why = nullptr) const;
    // The journals left behind, newest first, each held now; only those
    // for file when one is named. A file that is no journal or names no
    // file is passed over.
    [[nodiscard]] std::vector<LeftJournal> leftJournals(const QString& file = {}) const;

private:
    QString m_path;
};

} // namespace recovery
