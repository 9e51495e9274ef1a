#include "xom/TranslationReview.h"

#include "text/Decimal.h"
#include "xom/Parallel.h"

#include <algorithm>
#include <climits>

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

namespace {

// How many other entries a description names before it counts the rest.
constexpr int EntriesNamed = 3;

} // namespace

QString otherEntriesOf(const TranslationReview& review, const EntryTable& entries, const int row, const Check check)
{
    if (check != Check::InconsistentTranslation && check != Check::ReusedTranslation)
        return {};
    const std::vector<int> rows = check == Check::InconsistentTranslation ? review.rowsTranslatedOtherwise(row, INT_MAX)
                                                                          : review.rowsReusingTranslation(row, INT_MAX);
    QStringList numbers;
    for (std::size_t i = 0; i < std::min<std::size_t>(rows.size(), EntriesNamed); ++i)
        numbers << u'#' + entries.number(rows[i]);
    QString named = numbers.join(QStringLiteral(", "));
    if (rows.size() > EntriesNamed)
        named += QStringLiteral(" and %1 more").arg(rows.size() - EntriesNamed);
    return named;
}

TranslationReview::TranslationReview(EntryTable reference)
    : m_reference(std::move(reference))
    , m_firstRowOfName(m_reference)
{
    // Reference texts are grouped by their canonical ids.
    m_reference.texts.ensureIndexed();
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
        return {-1, checkTranslation(text, std::nullopt) & m_enabled, name};
    const QStringView reference = m_reference.text(row);
    const Checks checks = checkTranslation(text, reference);
    RowReview review{row, checks & m_enabled, name};
    const bool translated
        = !text.isEmpty() && !reference.isEmpty() && !checks.testAnyFlags(Check::Untranslated | Check::Empty);
    if (translated) {
        review.source = m_reference.texts.canonical(m_reference.rows[static_cast<std::size_t>(row)].text);
        review.translation = entries.texts.canonical(entries.rows[static_cast<std::size_t>(entryRow)].text);
        if (m_textChecker)
            review.textChecks = m_textChecker(reference, text);
    }
    return review;
}

void TranslationReview::joinGroups(const int row)
{
    const RowReview& review = m_rows[static_cast<std::size_t>(row)];
    m_bySource.join(row, review.source);
    m_byTranslation.join(row, review.translation);
}

void TranslationReview::leaveGroups(const int row)
{
    const RowReview& review = m_rows[static_cast<std::size_t>(row)];
    m_bySource.leave(row, review.source);
    m_byTranslation.leave(row, review.translation);
}

void TranslationReview::setSharedCheck(const int row, const Check check, const bool fails)
{
    RowReview& review = m_rows[static_cast<std::size_t>(row)];
    const bool counts = fails && m_enabled.testFlag(check);
    if (review.checks.testFlag(check) == counts)
        return;
    count(review, -1);
    review.checks.setFlag(check, counts);
    count(review, 1);
}

namespace {

// Whether the rows of a group differ in what key gives: any row's key
// other than the first row's.
template <typename Key> bool groupDiffers(const RowGroups& groups, const TextId group, const Key& key)
{
    TextId first = RowGroups::NoKey;
    bool differs = false;
    groups.forEachRow(group, [&](const int row) {
        const TextId id = key(row);
        if (first == RowGroups::NoKey)
            first = id;
        else if (id != first)
            differs = true;
    });
    return differs;
}

} // namespace

void TranslationReview::settleSourceGroup(const TextId source)
{
    const auto translationOf = [this](const int row) { return m_rows[static_cast<std::size_t>(row)].translation; };
    const bool differs = groupDiffers(m_bySource, source, translationOf);
    m_bySource.forEachRow(source, [&](const int row) { setSharedCheck(row, Check::InconsistentTranslation, differs); });
}

void TranslationReview::settleTranslationGroup(const TextId translation)
{
    const auto sourceOf = [this](const int row) { return m_rows[static_cast<std::size_t>(row)].source; };
    const bool differs = groupDiffers(m_byTranslation, translation, sourceOf);
    m_byTranslation.forEachRow(
        translation, [&](const int row) { setSharedCheck(row, Check::ReusedTranslation, differs); });
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
    if (!row.checks && row.textChecks)
        m_totals.withWarnings += sign;
    // The name's share of the duplicate-only failures is taken out, the use
    // changed, and its new share put back.
    NameUse& use = useOf(row.name);
    m_failingForDuplicateOnly -= failingForDuplicateOnly(use);
    use.rows += sign;
    if (!row.failsOtherwise())
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
    m_bySource.clear();
    m_byTranslation.clear();
    // Each row's own review (the text checker's above all, the larger part)
    // reads the tables only and writes its own row: the two halves are
    // reviewed at once. Counting and grouping, which share the totals, come
    // after, in row order as before.
    m_rows.resize(entries.rows.size());
    inTwoHalves(entries.rows.size(), [&](const std::size_t begin, const std::size_t end) {
        for (std::size_t row = begin; row < end; ++row)
            m_rows[row] = review(entries, static_cast<int>(row));
    });
    for (int row = 0; row < entries.entryCount(); ++row) {
        joinGroups(row);
        count(m_rows[static_cast<std::size_t>(row)], 1);
    }
    m_bySource.forEachKey([this](const TextId source) { settleSourceGroup(source); });
    m_byTranslation.forEachKey([this](const TextId translation) { settleTranslationGroup(translation); });
}

void TranslationReview::recheckRow(const EntryTable& entries, const int row)
{
    if (row < 0 || row >= entries.entryCount() || row > rowCount())
        return;
    entries.texts.ensureIndexed();
    RowReview now = review(entries, row);
    TextId oldSource = RowGroups::NoKey;
    TextId oldTranslation = RowGroups::NoKey;
    if (row == rowCount()) {
        m_rows.push_back(now);
    } else {
        RowReview& before = m_rows[static_cast<std::size_t>(row)];
        oldSource = before.source;
        oldTranslation = before.translation;
        count(before, -1);
        leaveGroups(row);
        before = now;
    }
    joinGroups(row);
    count(now, 1);
    // The groups the row left and joined, as they now stand: the row's own
    // consistency checks among them.
    settleSourceGroup(oldSource);
    settleTranslationGroup(oldTranslation);
    if (now.source != oldSource)
        settleSourceGroup(now.source);
    if (now.translation != oldTranslation)
        settleTranslationGroup(now.translation);
}

void TranslationReview::dropRowsFrom(const int row)
{
    std::vector<TextId> sources;
    std::vector<TextId> translations;
    while (rowCount() > std::max(row, 0)) {
        const int last = rowCount() - 1;
        sources.push_back(m_rows.back().source);
        translations.push_back(m_rows.back().translation);
        count(m_rows.back(), -1);
        leaveGroups(last);
        m_rows.pop_back();
    }
    // Each group the rows left, once, as it now stands.
    for (std::vector<TextId>* keys : {&sources, &translations}) {
        std::sort(keys->begin(), keys->end());
        keys->erase(std::unique(keys->begin(), keys->end()), keys->end());
    }
    for (const TextId source : sources)
        settleSourceGroup(source);
    for (const TextId translation : translations)
        settleTranslationGroup(translation);
}

Checks TranslationReview::checksOfRow(const int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const RowReview& review = m_rows[static_cast<std::size_t>(row)];
    Checks checks = review.checks;
    if (m_enabled.testFlag(Check::DuplicateName) && m_nameUses[review.name].rows > 1)
        checks |= Check::DuplicateName;
    return checks;
}

std::uint32_t TranslationReview::textChecksOfRow(const int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return m_rows[static_cast<std::size_t>(row)].textChecks;
}

bool TranslationReview::rowFails(const int row) const
{
    return checksOfRow(row) || textChecksOfRow(row) != 0;
}

template <typename Other>
std::vector<int> TranslationReview::rowsDiffering(
    const RowGroups& groups, const TextId key, const int of, const int limit, const Other& other) const
{
    std::vector<int> rows;
    if (key == RowGroups::NoKey)
        return rows;
    groups.forEachRow(key, [&](const int row) {
        if (row != of && other(row) != other(of))
            rows.push_back(row);
    });
    std::sort(rows.begin(), rows.end());
    if (rows.size() > static_cast<std::size_t>(std::max(limit, 0)))
        rows.resize(static_cast<std::size_t>(std::max(limit, 0)));
    return rows;
}

std::vector<int> TranslationReview::rowsTranslatedOtherwise(const int row, const int limit) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rowsDiffering(m_bySource, m_rows[static_cast<std::size_t>(row)].source, row, limit,
        [this](const int r) { return m_rows[static_cast<std::size_t>(r)].translation; });
}

std::vector<int> TranslationReview::rowsReusingTranslation(const int row, const int limit) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rowsDiffering(m_byTranslation, m_rows[static_cast<std::size_t>(row)].translation, row, limit,
        [this](const int r) { return m_rows[static_cast<std::size_t>(r)].source; });
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
    const std::int64_t duplicateOnly = m_enabled.testFlag(Check::DuplicateName) ? m_failingForDuplicateOnly : 0;
    return {m_totals.untranslated, m_totals.withWarnings + static_cast<int>(duplicateOnly)};
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
        if (rowFails(at))
            return at;
    }
    return std::nullopt;
}

} // namespace xom
