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
    const TextId name = entries.texts.canonical(entries.rows[static_cast<std::size_t>(entryRow)].name);
    const int row = m_firstRowOfName.find(m_reference, entries.name(entryRow));
    if (row < 0)
        return {-1, checkTranslation(text, std::nullopt), name};
    return {row, checkTranslation(text, m_reference.text(row)), name};
}

TranslationReview::NameUse& TranslationReview::useOf(const TextId name)
{
    if (name >= m_nameUses.size())
        m_nameUses.resize(std::max<std::size_t>(name + 1, m_nameUses.size() * 3 / 2));
    return m_nameUses[name];
}

void TranslationReview::count(const RowReview& row, const int sign)
{
    m_totals.add(row.checks, sign);
    // The name's share of the duplicate-only failures is taken out, the use
    // changed, and its new share put back.
    NameUse& use = useOf(row.name);
    m_failingForDuplicateOnly -= failingForDuplicateOnly(use);
    use.rows += sign;
    if (!row.checks)
        use.passingOtherwise += sign;
    m_failingForDuplicateOnly += failingForDuplicateOnly(use);
}

void TranslationReview::recheckAll(const EntryTable& entries)
{
    // Canonical name ids need the working pool's index.
    entries.texts.ensureIndexed();
    m_rows.clear();
    m_rows.reserve(entries.rows.size());
    m_totals = {};
    m_nameUses.assign(entries.texts.size(), NameUse{});
    m_failingForDuplicateOnly = 0;
    for (int row = 0; row < entries.entryCount(); ++row) {
        m_rows.push_back(review(entries, row));
        count(m_rows.back(), 1);
    }
}

void TranslationReview::recheckRow(const EntryTable& entries, const int row)
{
    if (row < 0 || row >= entries.entryCount() || row > rowCount())
        return;
    entries.texts.ensureIndexed();
    const RowReview now = review(entries, row);
    if (row == rowCount()) {
        m_rows.push_back(now);
    } else {
        RowReview& before = m_rows[static_cast<std::size_t>(row)];
        count(before, -1);
        before = now;
    }
    count(now, 1);
}

void TranslationReview::dropRowsFrom(const int row)
{
    while (rowCount() > std::max(row, 0)) {
        count(m_rows.back(), -1);
        m_rows.pop_back();
    }
}

Checks TranslationReview::checksOfRow(const int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const RowReview& review = m_rows[static_cast<std::size_t>(row)];
    Checks checks = review.checks;
    if (m_nameUses[review.name].rows > 1)
        checks |= Check::DuplicateName;
    return checks;
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

CheckTotals TranslationReview::totals() const noexcept
{
    return {m_totals.untranslated, m_totals.withWarnings + static_cast<int>(m_failingForDuplicateOnly)};
}

std::optional<int> TranslationReview::nextFailingRow(const int row, const bool forward) const
{
    const int count = rowCount();
    if (count == 0 || totals().failing() == 0)
        return std::nullopt;
    int at = row;
    if (row < 0 || row >= count)
        at = forward ? count - 1 : 0;
    // At most one full turn: the totals say some row fails.
    for (int step = 0; step < count; ++step) {
        at = forward ? (at + 1 == count ? 0 : at + 1) : (at == 0 ? count - 1 : at - 1);
        if (checksOfRow(at))
            return at;
    }
    return std::nullopt;
}

} // namespace xom
