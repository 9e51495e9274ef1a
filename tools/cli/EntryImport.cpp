#include "cli/EntryImport.h"

#include "cli/ImportError.h"

#include "text/LineBreaks.h"
#include "xom/EntryOperations.h"

namespace cli {

EntryImport::EntryImport(xom::EntryTable& entries, xom::LanguageModel& model, std::vector<ImportChange>* report)
    : m_entries(entries)
    , m_model(model)
    , m_report(report)
{
    m_rowOfNumber.reserve(entries.entryCount());
    for (int row = 0; row < entries.entryCount(); ++row) {
        const QString& number = entries.rows[static_cast<std::size_t>(row)].number;
        if (!m_rowOfNumber.contains(number))
            m_rowOfNumber.insert(number, row);
    }
}

void EntryImport::apply(const ImportRecord& record)
{
    if (record.number.isEmpty()) {
        add(record);
        return;
    }
    const auto row = m_rowOfNumber.constFind(record.number);
    if (row == m_rowOfNumber.cend())
        throw ImportError(record.line, QStringLiteral("no entry numbered \"%1\"").arg(record.number));
    const auto seen = m_lineOfNumber.constFind(record.number);
    if (seen != m_lineOfNumber.cend()) {
        throw ImportError(record.line,
            QStringLiteral("number \"%1\" given again (first on line %2)").arg(record.number).arg(seen.value()));
    }
    m_lineOfNumber.insert(record.number, record.line);

    xom::Entry& entry = m_entries.rows[static_cast<std::size_t>(*row)];
    const bool sameText = !record.text || text::equalUpToLineBreaks(*record.text, entry.text);
    if (sameText && record.name == entry.name) {
        ++m_summary.unchanged;
        return;
    }
    ++m_summary.changed;
    QString oldText = entry.text;
    entry.name = record.name;
    if (!sameText)
        entry.text = text::withCrLfLineBreaks(*record.text);
    if (m_report)
        m_report->push_back({entry.number, entry.name, std::move(oldText), entry.text});
}

void EntryImport::add(const ImportRecord& record)
{
    const QString text = record.text ? text::withCrLfLineBreaks(*record.text) : QString();
    const int row = m_entries.entryCount();
    xom::addEntry(m_entries, m_model, record.name, text);
    const xom::Entry& entry = m_entries.rows.back();
    // A number already in the table keeps its first row, as before.
    if (!m_rowOfNumber.contains(entry.number))
        m_rowOfNumber.insert(entry.number, row);
    ++m_summary.added;
    if (m_report)
        m_report->push_back({entry.number, entry.name, QString(), entry.text});
}

QString summaryLine(const ImportSummary& summary)
{
    return QStringLiteral("%1 changed, %2 added, %3 unchanged")
        .arg(summary.changed)
        .arg(summary.added)
        .arg(summary.unchanged);
}

} // namespace cli
