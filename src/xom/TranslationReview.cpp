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

const QString* TranslationReview::referenceTextOf(const QString& name) const
{
    const int row = m_firstRowOfName.find(m_reference, name);
    return row < 0 ? nullptr : &m_reference.rows[static_cast<std::size_t>(row)].text;
}

Checks TranslationReview::checksOf(const Entry& entry) const
{
    return checkTranslation(entry.text, referenceTextOf(entry.name));
}

TranslationReview::RowReview TranslationReview::review(const Entry& entry) const
{
    const int row = m_firstRowOfName.find(m_reference, entry.name);
    if (row < 0)
        return {-1, checkTranslation(entry.text, nullptr)};
    return {row, checkTranslation(entry.text, &m_reference.rows[static_cast<std::size_t>(row)].text)};
}

void TranslationReview::recheckAll(const EntryTable& entries)
{
    m_rows.clear();
    m_rows.reserve(entries.rows.size());
    m_totals = {};
    for (const Entry& entry : entries.rows) {
        m_rows.push_back(review(entry));
        m_totals.add(m_rows.back().checks, 1);
    }
}

void TranslationReview::recheckRow(const EntryTable& entries, const int row)
{
    if (row < 0 || row >= entries.entryCount() || row > rowCount())
        return;
    const RowReview now = review(entries.rows[static_cast<std::size_t>(row)]);
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

const QString* TranslationReview::referenceTextOfRow(const int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const int referenceRow = m_rows[static_cast<std::size_t>(row)].referenceRow;
    if (referenceRow < 0)
        return nullptr;
    return &m_reference.rows[static_cast<std::size_t>(referenceRow)].text;
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
