#include "memory/DocumentUnits.h"

#include "document/Document.h"

#include <QFileInfo>

namespace memory {

LanguagePair languagesOf(const document::Document& document, const LanguagePair& given)
{
    // Given now, then kept in the review file, then told by the names.
    const auto first = [](const QString& asGiven, const QString& kept, const QString& path) {
        if (!asGiven.isEmpty())
            return normalLanguageTag(asGiven);
        if (!kept.isEmpty())
            return normalLanguageTag(kept);
        return languageOfFileName(path);
    };
    return LanguagePair{first(given.source, document.languages().source, document.referencePath()),
        first(given.target, document.languages().target, document.path())};
}

std::vector<MemoryUnit> unitsOf(
    const document::Document& document, const LanguagePair& languages, const QDateTime& when)
{
    std::vector<MemoryUnit> units;
    const xom::TranslationReview* const review = document.review();
    if (!review || !languages.isComplete())
        return units;
    const xom::EntryTable& entries = document.entries();
    const QString origin = QFileInfo(document.path()).fileName();
    for (int row = 0; row < entries.entryCount(); ++row) {
        const int gridRow = row + 1;
        const std::optional<QStringView> source = review->referenceTextOfRow(row);
        const QStringView target = entries.text(row);
        if (!source || source->isEmpty() || target.isEmpty() || document.sourceChanged(gridRow))
            continue;
        const review::State state = document.entryReview(gridRow).state;
        const bool translated = state == review::State::Translated || state == review::State::Approved
                             || (state == review::State::Unset && target != *source);
        if (!translated)
            continue;
        units.push_back({languages.source, languages.target, source->toString(), target.toString(), origin,
            entries.name(row).toString(), when, state == review::State::Approved});
    }
    return units;
}

} // namespace memory
