#include "cli/EntryImport.h"

#include "cli/ImportError.h"

#include "text/Decimal.h"
#include "text/LineBreaks.h"
#include "xom/EntryNumber.h"
#include "xom/EntryOperations.h"

#include <algorithm>
#include <climits>

namespace cli {

NumberMap::NumberMap(const qsizetype expectedNumbers)
    : m_limit(2 * expectedNumbers + 1024)
{
}

qsizetype NumberMap::slotOf(const qint64 value) const noexcept
{
    return value >= 1 && value < std::min<qsizetype>(m_limit, INT_MAX) ? value : -1;
}

int NumberMap::valueAt(const qsizetype at) const noexcept
{
    return at < static_cast<qsizetype>(m_values.size()) ? m_values[static_cast<std::size_t>(at)] : -1;
}

void NumberMap::setAt(const qsizetype at, const int value)
{
    if (at >= static_cast<qsizetype>(m_values.size()))
        m_values.resize(static_cast<std::size_t>(std::max(at + 1, 2 * static_cast<qsizetype>(m_values.size()))), -1);
    m_values[static_cast<std::size_t>(at)] = value;
}

int NumberMap::value(const QString& number) const
{
    const qsizetype at = slotOf(xom::plainDecimalValue(number));
    return at < 0 ? m_others.value(number, -1) : valueAt(at);
}

void NumberMap::insert(const QString& number, const int value)
{
    const qsizetype at = slotOf(xom::plainDecimalValue(number));
    if (at < 0)
        m_others.insert(number, value);
    else
        setAt(at, value);
}

int NumberMap::valueOf(const std::uint32_t number) const
{
    const qsizetype at = slotOf(number);
    return at < 0 ? m_others.value(text::FormatDecimal(static_cast<qint32>(number)), -1) : valueAt(at);
}

void NumberMap::insertValue(const std::uint32_t number, const int value)
{
    const qsizetype at = slotOf(number);
    if (at < 0)
        m_others.insert(text::FormatDecimal(static_cast<qint32>(number)), value);
    else
        setAt(at, value);
}

EntryImport::EntryImport(xom::EntryTable& entries, xom::LanguageModel& model, std::vector<ImportChange>* report)
    : m_entries(entries)
    , m_model(model)
    , m_report(report)
    , m_rowOfNumber(entries.entryCount())
    , m_lineOfNumber(entries.entryCount())
{
    for (int row = 0; row < entries.entryCount(); ++row) {
        const xom::EntryRow& record = entries.rows[static_cast<std::size_t>(row)];
        if (!record.numberIsText()) {
            if (m_rowOfNumber.valueOf(record.number) < 0)
                m_rowOfNumber.insertValue(record.number, row);
            continue;
        }
        const QString number = entries.number(row);
        if (m_rowOfNumber.value(number) < 0)
            m_rowOfNumber.insert(number, row);
    }
}

void EntryImport::apply(const ImportRecord& record)
{
    if (record.number.isEmpty()) {
        add(record);
        return;
    }
    const int row = m_rowOfNumber.value(record.number);
    if (row < 0)
        throw ImportError(record.line, QStringLiteral("no entry numbered \"%1\"").arg(record.number));
    const int seen = m_lineOfNumber.value(record.number);
    if (seen >= 0) {
        throw ImportError(
            record.line, QStringLiteral("number \"%1\" given again (first on line %2)").arg(record.number).arg(seen));
    }
    m_lineOfNumber.insert(record.number, record.line);

    const QStringView oldText = m_entries.text(row);
    const bool sameText = !record.text || text::equalUpToLineBreaks(*record.text, oldText);
    if (sameText && record.name == m_entries.name(row)) {
        ++m_summary.unchanged;
        return;
    }
    ++m_summary.changed;
    ImportChange change{m_entries.number(row), record.name, oldText.toString(), QString()};
    m_entries.setCell(row, xom::NameColumn, record.name);
    if (!sameText)
        m_entries.setCell(row, xom::TextColumn, text::withCrLfLineBreaks(*record.text));
    if (m_report) {
        change.newText = m_entries.text(row).toString();
        m_report->push_back(std::move(change));
    }
}

void EntryImport::add(const ImportRecord& record)
{
    const QString text = record.text ? text::withCrLfLineBreaks(*record.text) : QString();
    const int row = m_entries.entryCount();
    xom::addEntry(m_entries, m_model, record.name, text);
    const QString number = m_entries.number(row);
    // A number already in the table keeps its first row, as before.
    if (m_rowOfNumber.value(number) < 0)
        m_rowOfNumber.insert(number, row);
    ++m_summary.added;
    if (m_report)
        m_report->push_back({number, record.name, QString(), text});
}

QString summaryLine(const ImportSummary& summary)
{
    return QStringLiteral("%1 changed, %2 added, %3 unchanged")
        .arg(summary.changed)
        .arg(summary.added)
        .arg(summary.unchanged);
}

} // namespace cli
