#include "exchange/EntryImport.h"

#include "exchange/ImportError.h"

#include "text/Decimal.h"
#include "text/LineBreaks.h"
#include "xom/EntryNumber.h"
#include "xom/EntryOperations.h"

#include <algorithm>
#include <climits>

namespace exchange {

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

EntryImport::EntryImport(xom::EntryTable& entries, xom::LanguageModel& model, const ImportOptions& options,
    std::vector<ImportChange>* report, std::vector<xom::Edit>* journal, std::vector<ReviewOfRecord>* reviews)
    : m_entries(entries)
    , m_model(model)
    , m_options(options)
    , m_report(report)
    , m_journal(journal)
    , m_reviews(reviews)
    , m_entriesBefore(entries.entryCount())
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
    if (!m_options.allRefusals) {
        applyRecord(record);
        return;
    }
    try {
        applyRecord(record);
    } catch (const ImportRefusals&) {
        throw;
    } catch (const ImportError& refusal) {
        // A record refused changed nothing before it was: the next one
        // goes on from the same entries.
        m_refusals.push_back(refusal);
    }
}

void EntryImport::finish() const
{
    if (!m_refusals.empty())
        throw ImportRefusals(m_refusals);
}

void EntryImport::applyRecord(const ImportRecord& record)
{
    if (record.number.isEmpty()) {
        refuseNameThatBreaks(record);
        add(record);
        handOnReview(m_entries.entryCount() - 1, record);
        return;
    }
    const int row = m_rowOfNumber.value(record.number);
    if (row < 0) {
        throw ImportError(record.line, QStringLiteral("no entry numbered \"%1\"").arg(shownInMessage(record.number)));
    }
    const int seen = m_lineOfNumber.value(record.number);
    if (seen >= 0) {
        throw ImportError(record.line, QStringLiteral("number \"%1\" given again (first on line %2)")
                                           .arg(shownInMessage(record.number))
                                           .arg(seen));
    }
    m_lineOfNumber.insert(record.number, record.line);
    // An entry added by an earlier record is no entry the file had.
    if (row < m_entriesBefore)
        ++m_named;

    const QStringView oldText = m_entries.text(row);
    const bool sameText = !record.text || text::equalUpToLineBreaks(*record.text, oldText, text::LineBreakSet::CrLf);
    const bool sameName = record.name == m_entries.name(row);
    if (sameText && sameName) {
        ++m_summary.unchanged;
        handOnReview(row, record);
        return;
    }
    if (!sameName)
        refuseNameThatBreaks(record);
    ++m_summary.changed;
    if (!sameName)
        ++m_summary.renamed;
    ImportChange change{m_entries.number(row), record.name, oldText.toString(), QString()};
    if (!sameName)
        setCell(row, xom::NameColumn, record.name);
    if (!sameText) {
        // A text whose breaks are CR LF already is taken as it is: a large
        // text is not copied once more.
        if (text::hasCrLfLineBreaksOnly(*record.text, text::LineBreakSet::CrLf))
            setCell(row, xom::TextColumn, *record.text);
        else
            setCell(row, xom::TextColumn, text::withCrLfLineBreaks(*record.text, text::LineBreakSet::CrLf));
    }
    if (m_report) {
        change.newText = m_entries.text(row).toString();
        m_report->push_back(std::move(change));
    }
    handOnReview(row, record);
}

void EntryImport::handOnReview(const int row, const ImportRecord& record)
{
    if (m_reviews && record.review.saysAnything())
        m_reviews->push_back({row, record.review});
}

void EntryImport::setCell(const int row, const int column, const QString& text)
{
    if (m_journal)
        m_journal->push_back(xom::CellChange{row + 1, column, m_entries.cell(row, column), text});
    m_entries.setCell(row, column, text);
}

void EntryImport::refuseNameThatBreaks(const ImportRecord& record)
{
    // A name the file has already comes back as it is; a new one is one line.
    if (text::breaksLineOrTabs(record.name)) {
        throw ImportError(record.line,
            QStringLiteral("the name \"%1\" breaks a line or holds a tab").arg(shownInMessage(record.name)));
    }
}

void EntryImport::add(const ImportRecord& record)
{
    QString text;
    if (record.text) {
        text = text::hasCrLfLineBreaksOnly(*record.text, text::LineBreakSet::CrLf)
                 ? *record.text
                 : text::withCrLfLineBreaks(*record.text, text::LineBreakSet::CrLf);
    }
    const int row = m_entries.entryCount();
    if (m_journal)
        m_journal->push_back(
            xom::AddChange{xom::addEntryReversibly(m_entries, m_model, record.name, text), record.name, text});
    else
        xom::addEntry(m_entries, m_model, record.name, text);
    const QString number = m_entries.number(row);
    // A number already in the table keeps its first row, as before.
    if (m_rowOfNumber.value(number) < 0)
        m_rowOfNumber.insert(number, row);
    ++m_summary.added;
    if (m_report)
        m_report->push_back({number, record.name, QString(), text});
}

ImportSummary EntryImport::summary() const noexcept
{
    ImportSummary summary = m_summary;
    summary.notInFile = m_entriesBefore - m_named;
    return summary;
}

QString summaryLine(const ImportSummary& summary)
{
    QString line = QString::number(summary.changed) + QStringLiteral(" changed");
    if (summary.renamed > 0)
        line += QStringLiteral(" (%1 renamed)").arg(summary.renamed);
    line += QStringLiteral(", %1 added, %2 unchanged, %3 not in the file")
                .arg(summary.added)
                .arg(summary.unchanged)
                .arg(summary.notInFile);
    if (summary.reviewsChanged > 0)
        line += QStringLiteral(", %1 states or notes changed").arg(summary.reviewsChanged);
    return line;
}

QString shownInMessage(const QStringView text)
{
    constexpr qsizetype Longest = 80;
    QString shown;
    qsizetype i = 0;
    for (qsizetype characters = 0; i < text.size() && characters < Longest; ++i, ++characters) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            shown += text.sliced(i, 2);
            ++i;
        } else if (unit == u'\\' || unit == u'"') {
            shown += QLatin1Char('\\');
            shown += QChar(unit);
        } else if (unit < 0x20 || unit == 0x7F || (unit >= 0x80 && unit < 0xA0) || QChar::isSurrogate(unit)) {
            shown += QStringLiteral("\\u%1").arg(unit, 4, 16, QLatin1Char('0'));
        } else {
            shown += QChar(unit);
        }
    }
    if (i < text.size())
        shown += QChar(0x2026);
    return shown;
}

} // namespace exchange
