#include "xom/TranslationReview.h"

#include "text/Decimal.h"

#include <algorithm>

namespace xom {

void CheckTotals::add(const Checks checks, const int sign) noexcept
{
    if (checks.testFlag(Check::Untranslated))
        untranslated += sign;
    else if (checks)
        withWarnings += sign;
}

QString totalsText(const CheckTotals& totals)
{
    return QStringLiteral("%1 untranslated \u00B7 %2 with warnings")
        .arg(text::FormatDecimal(totals.untranslated), text::FormatDecimal(totals.withWarnings));
}

TranslationReview::TranslationReview(EntryTable reference)
    : m_reference(std::move(reference))
    , m_firstRowOfName(m_reference)
{
}

std::optional<QStringView> TranslationReview::referenceTextOf(const QStringView name) const
{
    const int row = m_firstRowOfName.find(m_reference, name);
    if (row < 0)
        return std::nullopt;
    return m_reference.text(row);
}

TranslationReview::RowReview TranslationReview::review(const EntryTable& entries, const int entryRow) const
{
    const QStringView text = entries.text(entryRow);
    const int row = m_firstRowOfName.find(m_reference, entries.name(entryRow));
    if (row < 0)
        return {-1, checkTranslation(text, std::nullopt)};
    return {row, checkTranslation(text, m_reference.text(row))};
}

void TranslationReview::recheckAll(const EntryTable& entries)
{
    m_rows.clear();
    m_rows.reserve(entries.rows.size());
    m_totals = {};
    for (int row = 0; row < entries.entryCount(); ++row) {
        m_rows.push_back(review(entries, row));
        m_totals.add(m_rows.back().checks, 1);
    }
}

void TranslationReview::recheckRow(const EntryTable& entries, const int row)
{
    if (row < 0 || row >= entries.entryCount() || row > rowCount())
        return;
    const RowReview now = review(entries, row);
    if (row == rowCount()) {
        m_rows.push_back(now);
    } else {
        RowReview& before = m_rows[static_cast<std::size_t>(row)];
        m_totals.add(before.checks, -1);
        before = now;
    }
    m_totals.add(now.checks, 1);
}

void TranslationReview::dropRowsFrom(const int row)
{
    while (rowCount() > std::max(row, 0)) {
        m_totals.add(m_rows.back().checks, -1);
        m_rows.pop_back();
    }
}

Checks TranslationReview::checksOfRow(const int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_rows[static_cast<std::size_t>(row)].checks;
}

std::optional<QStringView> TranslationReview::referenceTextOfRow(const int row) const
{
    if (row < 0 || row >= rowCount())
        return std::nullopt;
    const int referenceRow = m_rows[static_cast<std::size_t>(row)].referenceRow;
    if (referenceRow < 0)
        return std::nullopt;
    return m_reference.text(referenceRow);
}

std::optional<int> TranslationReview::nextFailingRow(const int row, const bool forward) const
{
    const int count = rowCount();
    if (count == 0 || m_totals.failing() == 0)
        return std::nullopt;
    int at = row;
    if (row < 0 || row >= count)
        at = forward ? count - 1 : 0;
    // At most one full turn: the totals say some row fails.
    for (int step = 0; step < count; ++step) {
        at = forward ? (at + 1 == count ? 0 : at + 1) : (at == 0 ? count - 1 : at - 1);
        if (m_rows[static_cast<std::size_t>(at)].checks)
            return at;
    }
    return std::nullopt;
}

} // namespace xom
