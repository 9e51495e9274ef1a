#include "document/ReferenceUpdate.h"

#include "text/Decimal.h"
#include "text/FieldEscapes.h"

#include <QByteArray>
#include <QStringList>

namespace document {

QString outcomeName(const UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::Added:
        return QStringLiteral("added");
    case UpdateOutcome::SourceChanged:
        return QStringLiteral("source changed");
    case UpdateOutcome::UntranslatedFollowed:
        return QStringLiteral("untranslated, follows the new source");
    case UpdateOutcome::Unchanged:
        return QStringLiteral("unchanged");
    case UpdateOutcome::NoEarlierSource:
        return QStringLiteral("no earlier source");
    case UpdateOutcome::Removed:
        return QStringLiteral("no longer in the reference");
    case UpdateOutcome::Dropped:
        return QStringLiteral("dropped, no longer in the reference");
    }
    return {};
}

QString updateSummaryLine(const UpdateSummary& summary)
{
    const auto count = [&](const UpdateOutcome outcome) { return text::FormatDecimal(summary.count(outcome)); };
    QStringList parts;
    if (summary.count(UpdateOutcome::Added) > 0)
        parts << QStringLiteral("%1 added").arg(count(UpdateOutcome::Added));
    if (summary.count(UpdateOutcome::SourceChanged) > 0)
        parts << QStringLiteral("%1 source changed (now needing review)").arg(count(UpdateOutcome::SourceChanged));
    if (summary.count(UpdateOutcome::UntranslatedFollowed) > 0)
        parts << QStringLiteral("%1 untranslated following the new source")
                     .arg(count(UpdateOutcome::UntranslatedFollowed));
    if (summary.count(UpdateOutcome::Unchanged) > 0)
        parts << QStringLiteral("%1 unchanged").arg(count(UpdateOutcome::Unchanged));
    if (summary.count(UpdateOutcome::NoEarlierSource) > 0)
        parts << QStringLiteral("%1 without an earlier source to compare").arg(count(UpdateOutcome::NoEarlierSource));
    if (summary.count(UpdateOutcome::Removed) > 0)
        parts << QStringLiteral("%1 no longer in the reference (kept)").arg(count(UpdateOutcome::Removed));
    if (summary.count(UpdateOutcome::Dropped) > 0)
        parts << QStringLiteral("%1 no longer in the reference (dropped)").arg(count(UpdateOutcome::Dropped));
    return parts.isEmpty() ? QStringLiteral("nothing changed") : parts.join(QStringLiteral(", "));
}

QByteArray updateReport(const UpdateResult& result, const xom::EntryTable& entries)
{
    QString report = QStringLiteral("number\tname\toutcome\n");
    const auto line = [&report](const QString& number, const QString& name, const UpdateOutcome outcome) {
        text::appendEscapedField(report, number);
        report += u'\t';
        text::appendEscapedField(report, name);
        report += u'\t';
        report += outcomeName(outcome);
        report += u'\n';
    };
    for (const UpdatedEntry& entry : result.entries) {
        line(entries.gridCell(entry.gridRow, xom::NumberColumn), entries.gridCell(entry.gridRow, xom::NameColumn),
            entry.outcome);
    }
    for (const xom::Entry& entry : result.dropped)
        line(entry.number, entry.name, UpdateOutcome::Dropped);
    return report.toUtf8();
}

} // namespace document
