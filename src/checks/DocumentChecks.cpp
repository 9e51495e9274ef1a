#include "checks/DocumentChecks.h"

#include "memory/DocumentUnits.h"
#include "spelling/DictionaryCatalog.h"
#include "spelling/MisspeltWords.h"
#include "spelling/PersonalWords.h"
#include "spelling/SpellChecker.h"

#include "xom/TranslationReview.h"

#include <algorithm>

namespace checks {

QString targetLanguageOf(const document::Document& document)
{
    return memory::languagesOf(document).target;
}

QString spellingLanguageOf(const document::Document& document)
{
    const QString chosen = document.checkChoices().dictionary;
    return chosen.isEmpty() ? targetLanguageOf(document) : chosen;
}

CheckSelection selectionOf(const document::Document& document)
{
    return selectionOf(document.checkChoices(), document.entries().entryCount());
}

TextCheckContext contextOf(const CheckSelection& selection, const QString& targetLanguage)
{
    TextCheckContext context;
    context.targetLanguage = targetLanguage;
    context.enabled = selection.text;
    context.maxCharacters = selection.maxCharacters;
    context.maxPercentOfReference = selection.maxPercent;
    // The length check means nothing without a limit.
    if (selection.maxCharacters == 0 && selection.maxPercent == 0)
        context.enabled.setFlag(TextCheck::Length, false);
    return context;
}

void runSelection(document::Document& document, const CheckSelection& selection)
{
    const TextCheckContext context = contextOf(selection, targetLanguageOf(document));
    xom::TranslationReview::TextChecker checker;
    if (!context.enabled.isEmpty()) {
        checker = [context](const QStringView reference, const QStringView text) {
            return failingTextChecks(reference, text, context).bits();
        };
    }
    document.setReviewChecks(selection.review, std::move(checker));
}

UnknownWords unknownWordsOf(const document::Document& document, QString* const why)
{
    return unknownWordsOf(document, spellingLanguageOf(document), why);
}

UnknownWords unknownWordsOf(const document::Document& document, const QString& language, QString* const why)
{
    UnknownWords unknown;
    const xom::TranslationReview* const review = document.review();
    if (!review)
        return unknown;
    const std::optional<spelling::Dictionary> dictionary
        = language.isEmpty() ? std::nullopt : spelling::DictionaryCatalog().bestFor(language);
    if (!dictionary) {
        if (why)
            *why = language.isEmpty() ? QStringLiteral("the file's language is not known")
                                      : QStringLiteral("no spelling dictionary for %1 is installed").arg(language);
        return unknown;
    }
    std::unique_ptr<spelling::SpellChecker> checker;
    try {
        checker
            = std::make_unique<spelling::SpellChecker>(*dictionary, spelling::personalWordListPath(dictionary->tag));
    } catch (const spelling::SpellingError& error) {
        if (why)
            *why = error.message();
        return unknown;
    }
    return unknownWordsOf(document, *checker);
}

namespace {

// Whether spelling looks at a row: a reference text and a text of its own.
bool isTranslated(const QStringView text, const QStringView reference)
{
    return !reference.isEmpty() && !text.isEmpty() && text != reference;
}

} // namespace

std::vector<std::pair<QString, QString>> spellingSnapshot(const document::Document& document)
{
    std::vector<std::pair<QString, QString>> snapshot;
    const xom::TranslationReview* const review = document.review();
    if (!review)
        return snapshot;
    snapshot.resize(static_cast<std::size_t>(review->rowCount()));
    for (int row = 0; row < review->rowCount(); ++row) {
        const QStringView reference = review->referenceTextOfRow(row).value_or(QStringView());
        const QStringView text = document.entries().text(row);
        if (isTranslated(text, reference))
            snapshot[static_cast<std::size_t>(row)] = {text.toString(), reference.toString()};
    }
    return snapshot;
}

UnknownWords unknownWordsOfSnapshot(const std::vector<std::pair<QString, QString>>& snapshot,
    spelling::SpellChecker& checker, const std::stop_token& stop)
{
    UnknownWords unknown;
    const std::vector<std::vector<spelling::MisspeltWord>> found = spelling::unknownWordsOf(snapshot, checker, stop);
    for (std::size_t row = 0; row < found.size(); ++row) {
        QStringList words;
        for (const spelling::MisspeltWord& word : found[row])
            words << word.word;
        if (!words.isEmpty())
            unknown.emplace(static_cast<int>(row), std::move(words));
    }
    return unknown;
}

UnknownWords unknownWordsOf(
    const document::Document& document, spelling::SpellChecker& checker, const std::vector<int>& rows)
{
    UnknownWords unknown;
    const xom::TranslationReview* const review = document.review();
    if (!review)
        return unknown;
    spelling::MisspeltWordFinder finder(checker);
    const xom::EntryTable& entries = document.entries();
    const auto spell = [&](const int row) {
        if (row < 0 || row >= review->rowCount())
            return;
        const QStringView reference = review->referenceTextOfRow(row).value_or(QStringView());
        const QStringView text = entries.text(row);
        if (!isTranslated(text, reference))
            return;
        QStringList words;
        for (const spelling::MisspeltWord& word : finder.find(text, reference))
            words << word.word;
        if (!words.isEmpty())
            unknown.emplace(row, std::move(words));
    };
    if (rows.empty()) {
        for (int row = 0; row < review->rowCount(); ++row)
            spell(row);
    } else {
        std::for_each(rows.begin(), rows.end(), spell);
    }
    return unknown;
}

xom::CheckTotals totalsWithSpelling(const xom::TranslationReview& review, const UnknownWords& unknown)
{
    xom::CheckTotals totals = review.totals();
    for (const auto& [row, words] : unknown)
        totals.withWarnings += row < review.rowCount() && !review.rowFails(row) ? 1 : 0;
    return totals;
}

std::vector<CheckFinding> findingsOfRow(
    const document::Document& document, const int row, const TextCheckContext& context, const UnknownWords& unknown)
{
    std::vector<CheckFinding> findings;
    const xom::TranslationReview* const review = document.review();
    if (!review || row < 0 || row >= review->rowCount())
        return findings;
    const xom::EntryTable& entries = document.entries();
    const xom::Checks failing = review->checksOfRow(row);
    const QStringView reference = review->referenceTextOfRow(row).value_or(QStringView());
    for (const xom::Check check : xom::AllChecks) {
        if (!failing.testFlag(check))
            continue;
        QString detail = check == xom::Check::PlaceholdersDiffer ? placeholderDifference(reference, entries.text(row))
                                                                 : xom::otherEntriesOf(*review, entries, row, check);
        findings.push_back({&entryOf(check), std::move(detail)});
    }
    // The text checks the review found, told in full: the same decisions,
    // with what each found.
    if (const TextChecks found = TextChecks::fromBits(review->textChecksOfRow(row)); !found.isEmpty()) {
        TextCheckContext only = context;
        only.enabled = context.enabled & found;
        for (TextFinding& finding : textFindings(reference, entries.text(row), only))
            findings.push_back({&entryOf(finding.check), std::move(finding.detail)});
    }
    if (const auto words = unknown.find(row); words != unknown.end())
        findings.push_back({checkOfKey(u"spelling"), words->second.join(QStringLiteral(", "))});
    return findings;
}

QString describe(const CheckFinding& finding)
{
    return finding.detail.isEmpty() ? finding.check->name
                                    : QStringLiteral("%1 (%2)").arg(finding.check->name, finding.detail);
}

QStringList describe(const std::vector<CheckFinding>& findings)
{
    QStringList described;
    for (const CheckFinding& finding : findings)
        described << describe(finding);
    return described;
}

} // namespace checks

namespace checks {

std::vector<xom::CellChange> safeFixesOf(const document::Document& document, const std::vector<int>& rows)
{
    const xom::TranslationReview* const review = document.review();
    if (!review)
        return {};
    const xom::EntryTable& entries = document.entries();
    std::vector<xom::CellChange> changes;
    const auto fix = [&](const int row) {
        const std::optional<QStringView> reference = review->referenceTextOfRow(row);
        const QStringView text = entries.text(row);
        if (!reference || !isTranslated(text, *reference))
            return;
        if (std::optional<FixedText> fixed = safelyFixed(*reference, text))
            changes.push_back({row + 1, xom::TextColumn, text.toString(), std::move(fixed->text)});
    };
    if (rows.empty()) {
        for (int row = 0; row < review->rowCount(); ++row)
            fix(row);
    } else {
        for (const int row : rows) {
            if (row >= 0 && row < review->rowCount())
                fix(row);
        }
    }
    return changes;
}

int fixEntries(document::Document& document, const std::vector<int>& rows)
{
    std::vector<xom::CellChange> changes = safeFixesOf(document, rows);
    const int fixed = static_cast<int>(changes.size());
    if (fixed > 0)
        document.setCellTexts(std::move(changes), QStringLiteral("Fix"));
    return fixed;
}

} // namespace checks
