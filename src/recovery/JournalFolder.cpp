#include "recovery/JournalFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace recovery {

namespace {

const QString journalSuffix = QStringLiteral(".journal");

// The part of a journal's name that its file's path decides.
QString nameStemOf(const QString& file)
{
    const QByteArray path = QFileInfo(file).absoluteFilePath().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(16));
}

QString lockPathOf(const QString& journal)
{
    return journal + QStringLiteral(".lock");
}

// The lock of a journal, taken at once or not at all. A lock whose editor
// is gone is stale and taken over; age alone never makes one stale, since
// a journal may be open for weeks.
std::unique_ptr<QLockFile> tryHold(const QString& journal)
{
    auto lock = std::make_unique<QLockFile>(lockPathOf(journal));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace

HeldJournal::HeldJournal(QString path, std::unique_ptr<QLockFile> lock)
    : m_path(std::move(path))
    , m_lock(std::move(lock))
{
}

HeldJournal::HeldJournal(HeldJournal&&) noexcept = default;
HeldJournal& HeldJournal::operator=(HeldJournal&&) noexcept = default;
HeldJournal::~HeldJournal() = default;

QString HeldJournal::copyPath() const
{
    QString copy = m_path;
    copy.chop(journalSuffix.size());
    return copy + QStringLiteral(".base");
}

void HeldJournal::remove()
{
    QFile::remove(m_path);
    QFile::remove(copyPath());
    m_lock.reset();
}

// Under one fixed name, as the settings are, so that a journal left by one
// version of the editor is found by the next.
JournalFolder::JournalFolder()
    : JournalFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                    + QStringLiteral("/Ludra/LanguageEditor/recovery"))
{
}

JournalFolder::JournalFolder(QString path)
    : m_path(std::move(path))
{
}

std::optional<HeldJournal> JournalFolder::create(const QString& file, QString* const why) const
{
    if (!QDir().mkpath(m_path)) {
        if (why)
            *why = QStringLiteral("cannot make the folder %1").arg(m_path);
        return std::nullopt;
    }
    const QString stem = QDir(m_path).filePath(nameStemOf(file));
    // A number that no journal has, left behind or another editor's.
    for (int number = 1; number < 1000; ++number) {
        const QString journal = QStringLiteral("%1-%2%3").arg(stem).arg(number).arg(journalSuffix);
        if (QFileInfo::exists(journal))
            continue;
        std::unique_ptr<QLockFile> lock = tryHold(journal);
        if (!lock) {
            if (QFileInfo::exists(lockPathOf(journal)))
                continue;
            if (why)
                *why = QStringLiteral("cannot write in the folder %1").arg(m_path);
            return std::nullopt;
        }
        // Another editor may have made it between the look and the lock.
        if (QFileInfo::exists(journal))
            continue;
        return HeldJournal(journal, std::move(lock));
    }
    if (why)
        *why = QStringLiteral("too many journals for %1 in %2").arg(file, m_path);
    return std::nullopt;
}

std::vector<LeftJournal> JournalFolder::leftJournals(const QString& file) const
{
    const QString prefix = file.isEmpty() ? QString() : nameStemOf(file) + QLatin1Char('-');
    const QFileInfoList found
        = QDir(m_path).entryInfoList({prefix + QStringLiteral("*") + journalSuffix}, QDir::Files, QDir::Time);
    std::vector<LeftJournal> journals;
    for (const QFileInfo& info : found) {
        std::unique_ptr<QLockFile> lock = tryHold(info.filePath());
        if (!lock)
            continue;
        QFile journal(info.filePath());
        if (!journal.open(QIODevice::ReadOnly))
            continue;
        ReadJournal read = readJournal(journal.readAll());
        const JournalRecord* const begin = read.begin();
        if (!begin || (!file.isEmpty() && begin->file.path != QFileInfo(file).absoluteFilePath()))
            continue;
        const QDateTime last = QDateTime::fromMSecsSinceEpoch(read.records.back().timeMs, Qt::UTC);
        journals.push_back(LeftJournal{HeldJournal(info.filePath(), std::move(lock)), std::move(read), last});
    }
    std::stable_sort(journals.begin(), journals.end(),
        [](const LeftJournal& a, const LeftJournal& b) { return a.lastWritten > b.lastWritten; });
    return journals;
}

} // namespace recovery
