#include "recovery/RecordedBase.h"

#include "review/ReviewPairing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace recovery {

RecordedBase checkRecordedBase(const LeftJournal& left)
{
    RecordedBase base;
    const JournalRecord* const begin = left.read.begin();
    if (!begin)
        return base;
    const JournalRecord* const copy = left.read.baseCopy();
    if (copy) {
        // Only a name in the journal's own folder counts.
        const QString copyPath = QFileInfo(left.held.path()).dir().filePath(QFileInfo(copy->copyName).fileName());
        if (QFileInfo(copyPath).size() == begin->file.size && review::fingerprintOfFile(copyPath).sha256 == copy->hash)
            base.copyPath = copyPath;
    }
    const QFileInfo file(begin->file.path);
    if (!file.isFile())
        return base;
    const bool sameStamp
        = file.size() == begin->file.size && file.lastModified().toMSecsSinceEpoch() == begin->file.modifiedMs;
    const bool sameBytes = sameStamp && (!copy || review::fingerprintOfFile(begin->file.path).sha256 == copy->hash);
    base.state = sameBytes ? RecordedBase::State::AsRecorded : RecordedBase::State::Changed;
    return base;
}

} // namespace recovery
