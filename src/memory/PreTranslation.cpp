#include "memory/PreTranslation.h"

#include "memory/TranslationMemory.h"

#include "document/Document.h"

#include "text/Decimal.h"
#include "text/FieldEscapes.h"

#include "xom/Parallel.h"

#include <QHash>
#include <QStringList>

#include <optional>

namespace memory {

namespace {

// Whether pre-translation may fill the entry: untranslated by the checks,
// and no translator said it is translated as it is ("OK" may stay "OK").
bool wantsTranslation(const document::Document& document, const int row)
{
    const xom::Checks checks = document.review()->checksOfRow(row);
    if (!checks.testAnyFlags(xom::Check::Untranslated | xom::Check::Empty))
        return false;
    const review::State state = document.entryReview(row + 1).state;
    return state != review::State::Translated && state != review::State::Approved;
}

QString outcomeName(const PreTranslated outcome)
{
    switch (outcome) {
    case PreTranslated::Exact:
        return QStringLiteral("exact");
    case PreTranslated::Near:
        return QStringLiteral("near");
    case PreTranslated::NoMatch:
        return QStringLiteral("no match");
    }
    return {};
}

} // namespace

namespace {

// The best match for each source, or none. Each distinct source is looked
// up once (a game's file says "OK" many times), the lookups shared between
// this thread, on memory, and a second connection on a thread of its own,
// each taking every other source.
std::vector<std::optional<MemoryMatch>> bestMatches(
    TranslationMemory& memory, const std::vector<QString>& sources, const LanguagePair& languages, const int minScore)
{
    QHash<QString, std::size_t> firstOf;
    std::vector<std::size_t> distinct;
    std::vector<std::size_t> lookupOf(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const auto known = firstOf.constFind(sources[i]);
        if (known != firstOf.cend()) {
            lookupOf[i] = known.value();
            continue;
        }
        lookupOf[i] = distinct.size();
        firstOf.insert(sources[i], distinct.size());
        distinct.push_back(i);
    }
    std::vector<std::optional<MemoryMatch>> found(distinct.size());
    const auto lookUp = [&](TranslationMemory& on, const std::size_t first) {
        const TranslationMemory::ReadingTogether together(on);
        for (std::size_t d = first; d < distinct.size(); d += 2) {
            std::vector<MemoryMatch> matches = on.suggestions(languages, sources[distinct[d]], 1, minScore);
            if (!matches.empty())
                found[d] = std::move(matches.front());
        }
    };
    if (distinct.size() < 64) {
        lookUp(memory, 0);
        lookUp(memory, 1);
    } else {
        TranslationMemory second(memory.path());
        xom::bothAtOnce([&] { lookUp(memory, 0); }, [&] { lookUp(second, 1); });
    }
    std::vector<std::optional<MemoryMatch>> best(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i)
        best[i] = found[lookupOf[i]];
    return best;
}

} // namespace

PreTranslateResult preTranslate(document::Document& document, TranslationMemory& memory, const LanguagePair& languages,
    const PreTranslateOptions& options)
{
    PreTranslateResult result;
    const xom::TranslationReview* const review = document.review();
    if (!review)
        return result;
    const xom::EntryTable& entries = document.entries();
    std::vector<int> rows;
    std::vector<QString> sources;
    for (int row = 0; row < entries.entryCount(); ++row) {
        if (!wantsTranslation(document, row))
            continue;
        rows.push_back(row);
        sources.push_back(review->referenceTextOfRow(row).value_or(QStringView()).toString());
    }
    const std::vector<std::optional<MemoryMatch>> best = bestMatches(memory, sources, languages, options.minScore);

    std::vector<document::ReviewChange> reviews;
    std::vector<xom::CellChange> cells;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int gridRow = rows[i] + 1;
        if (!best[i]) {
            result.entries.push_back({gridRow, PreTranslated::NoMatch, 0});
            ++result.noMatch;
            continue;
        }
        const MemoryMatch& match = *best[i];
        const bool exact = match.score == 100;
        result.entries.push_back({gridRow, exact ? PreTranslated::Exact : PreTranslated::Near, match.score});
        ++(exact ? result.exact : result.nearMatches);
        const QString text = entries.text(rows[i]).toString();
        if (match.unit.target != text)
            cells.push_back({gridRow, xom::TextColumn, text, match.unit.target});
        const review::EntryReview& before = document.entryReview(gridRow);
        review::EntryReview after = before;
        after.state = exact && options.exactAsTranslated ? review::State::Translated : review::State::NeedsReview;
        after.snapshot = sources[i];
        if (after != before)
            reviews.push_back({gridRow, before, std::move(after)});
    }
    if (!reviews.empty() || !cells.empty())
        document.setEntryReviews(std::move(reviews), QStringLiteral("Pre-translate"), std::move(cells));
    return result;
}

QString preTranslateSummary(const PreTranslateResult& result, const PreTranslateOptions& options)
{
    QStringList parts;
    if (result.exact > 0)
        parts << QStringLiteral("%1 exact (%2)")
                     .arg(text::FormatDecimal(result.exact),
                         options.exactAsTranslated ? QStringLiteral("translated") : QStringLiteral("needing review"));
    if (result.nearMatches > 0)
        parts << QStringLiteral("%1 near (needing review)").arg(text::FormatDecimal(result.nearMatches));
    if (result.noMatch > 0)
        parts << QStringLiteral("%1 without a match").arg(text::FormatDecimal(result.noMatch));
    return parts.isEmpty() ? QStringLiteral("nothing to pre-translate") : parts.join(QStringLiteral(", "));
}

QByteArray preTranslateReport(const PreTranslateResult& result, const document::Document& document)
{
    const xom::EntryTable& entries = document.entries();
    QString report = QStringLiteral("number\tname\tscore\toutcome\n");
    for (const PreTranslatedEntry& entry : result.entries) {
        text::appendEscapedField(report, entries.gridCell(entry.gridRow, xom::NumberColumn));
        report += u'\t';
        text::appendEscapedField(report, entries.gridCell(entry.gridRow, xom::NameColumn));
        report += u'\t' + (entry.score > 0 ? QString::number(entry.score) : QStringLiteral("-")) + u'\t';
        report += outcomeName(entry.outcome) + u'\n';
    }
    return report.toUtf8();
}

} // namespace memory
