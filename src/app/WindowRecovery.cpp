// The main window's recovery: the offer to recover what a run that did not
// end cleanly left, the replay, the status bar's word while changes are not
// recorded, and the setting that keeps a backup on the first save.

#include "app/LanguageEdit2Uni.h"

#include "app/MessageBoxes.h"
#include "app/UserSettings.h"
#include "app/WindowCaptions.h"

#include "recovery/RecordedBase.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>

namespace app {

namespace {

const QString keepBackupsKey = QStringLiteral("files/keepBackups");

QString recoveryQuestion(const recovery::LeftJournal& left, const recovery::RecordedBase& base)
{
    const QString file = left.read.begin()->file.path;
    QString text = QStringLiteral("Recover unsaved changes to %1 from %2?")
                       .arg(fileNameOf(file), QLocale().toString(left.lastWritten.toLocalTime(), QLocale::ShortFormat));
    switch (base.state) {
    case recovery::RecordedBase::State::AsRecorded:
        break;
    case recovery::RecordedBase::State::Changed:
    case recovery::RecordedBase::State::Missing: {
        const QString what = base.state == recovery::RecordedBase::State::Changed
                               ? QStringLiteral("%1 has changed since these changes were made.").arg(file)
                               : QStringLiteral("%1 is no longer there.").arg(file);
        const QString how
            = base.copyPath.isEmpty()
                ? QStringLiteral("The changes cannot be recovered: they would apply to other texts.")
                : QStringLiteral("The changes can be recovered onto the file as it was then; saving replaces what is "
                                 "there now.");
        text += QStringLiteral("\n\n%1 %2").arg(what, how);
        break;
    }
    }
    return text;
}

} // namespace

void TFormXom::buildRecoveryControls()
{
    m_recoveryPanel = new QLabel(QStringLiteral("Recovery is off"), StatusBar1);
    m_recoveryPanel->setObjectName(QStringLiteral("RecoveryPanel"));
    m_recoveryPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_recoveryPanel->hide();
    StatusBar1->addPermanentWidget(m_recoveryPanel);
    connect(m_journal.get(), &recovery::DocumentJournal::recoveryOff, this, [this](const QString& why) {
        m_recoveryPanel->setToolTip(
            QStringLiteral("Changes are not recorded for recovery: %1. Saving still works.").arg(why));
        m_recoveryPanel->show();
    });
    connect(m_journal.get(), &recovery::DocumentJournal::recoveryOn, m_recoveryPanel, &QWidget::hide);

    const std::unique_ptr<QSettings> settings = openUserSettings();
    const bool keep = settings->value(keepBackupsKey, true).toBool();
    m_actions.keepBackups->setChecked(keep);
    m_document.setBackupBeforeFirstSave(keep);
    connect(m_actions.keepBackups, &QAction::toggled, this, [this](const bool checked) {
        m_document.setBackupBeforeFirstSave(checked);
        openUserSettings()->setValue(keepBackupsKey, checked);
    });
}

bool TFormXom::offerRecovery(const QString& path)
{
    std::vector<recovery::LeftJournal> left = m_journal->folder().leftJournals(path);
    for (recovery::LeftJournal& journal : left) {
        if (journal.read.changeCount() == 0) {
            journal.held.remove();
            continue;
        }
        const recovery::RecordedBase base = recovery::checkRecordedBase(journal);
        const bool canRecover = base.state == recovery::RecordedBase::State::AsRecorded || !base.copyPath.isEmpty();
        switch (m_messageBoxes->askRecover(recoveryQuestion(journal, base), canRecover)) {
        case RecoverChoice::Recover:
            // One document at a time: the other journals wait for a later
            // start. Opening a file has settled the unsaved changes before
            // this offer; the start has none, but a caller might.
            if (path.isEmpty() && !settleUnsavedChanges())
                return false;
            return recoverFrom(std::move(journal),
                base.state != recovery::RecordedBase::State::AsRecorded ? base.copyPath : QString());
        case RecoverChoice::Discard:
            journal.held.remove();
            break;
        case RecoverChoice::Later:
            break;
        }
    }
    return false;
}

bool TFormXom::recoverFrom(recovery::LeftJournal left, const QString& copyPath)
{
    const QString path = left.read.begin()->file.path;
    const bool ontoCopy = !copyPath.isEmpty();
    if (!loadFileAs(ontoCopy ? copyPath : path, path, MissingFile::Report))
        return false;
    const recovery::ReplayOutcome outcome = m_journal->recover(std::move(left));
    if (ontoCopy)
        m_document.markFileReplaced();
    if (!outcome.referencePath.isEmpty() && outcome.referencePath != m_document.referencePath())
        openReference(outcome.referencePath);
    if (outcome.complete()) {
        StatusBar1->showMessage(QStringLiteral("%1 changes recovered").arg(outcome.replayed), 10000);
    } else {
        m_messageBoxes->showInformation(applicationTitle(),
            QStringLiteral("%1 of %2 changes to %3 were recovered; the rest of the recovery journal was damaged.")
                .arg(outcome.replayed)
                .arg(outcome.recorded)
                .arg(fileNameOf(path)));
    }
    return true;
}

} // namespace app
