#include "document/RowFilter.h"

#include "document/Document.h"

namespace document {

namespace {

// What the filters ask of one entry, found once for all of them.
struct RowTraits {
    bool untranslated = false;
    bool withWarnings = false;
    bool sourceChanged = false;
    review::State state = review::State::Unset;
};

RowTraits traitsOf(const Document& document, const int gridRow)
{
    RowTraits traits;
    if (const xom::TranslationReview* const review = document.review()) {
        const xom::Checks checks = review->checksOfRow(gridRow - 1);
        traits.untranslated = checks.testFlag(xom::Check::Untranslated);
        traits.withWarnings = !traits.untranslated && review->rowFails(gridRow - 1);
    }
    traits.state = document.entryReview(gridRow).state;
    traits.sourceChanged = document.sourceChanged(gridRow);
    return traits;
}

bool passes(const RowTraits& traits, const RowFilter filter)
{
    switch (filter) {
    case RowFilter::All:
        return true;
    case RowFilter::Untranslated:
        return traits.untranslated;
    case RowFilter::NeedsReview:
        return traits.state == review::State::NeedsReview || traits.sourceChanged;
    case RowFilter::WithWarnings:
        return traits.withWarnings;
    case RowFilter::SourceChanged:
        return traits.sourceChanged;
    case RowFilter::Approved:
        return traits.state == review::State::Approved;
    }
    return false;
}

} // namespace

bool rowPasses(const Document& document, const int gridRow, const RowFilter filter)
{
    return filter == RowFilter::All || passes(traitsOf(document, gridRow), filter);
}

std::vector<int> rowsPassing(const Document& document, const RowFilter filter)
{
    const int rows = document.entries().entryCount();
    std::vector<int> passing;
    if (filter == RowFilter::All)
        passing.reserve(static_cast<std::size_t>(rows));
    for (int gridRow = 1; gridRow <= rows; ++gridRow) {
        if (rowPasses(document, gridRow, filter))
            passing.push_back(gridRow);
    }
    return passing;
}

RowFilterCounts countRowFilters(const Document& document)
{
    RowFilterCounts counts{};
    const int rows = document.entries().entryCount();
    for (int gridRow = 1; gridRow <= rows; ++gridRow) {
        const RowTraits traits = traitsOf(document, gridRow);
        for (std::size_t filter = 0; filter < AllRowFilters.size(); ++filter)
            counts[filter] += passes(traits, AllRowFilters[filter]) ? 1 : 0;
    }
    return counts;
}

} // namespace document
