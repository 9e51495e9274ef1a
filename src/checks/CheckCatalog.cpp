#include "checks/CheckCatalog.h"

#include <algorithm>

namespace checks {

namespace {

CheckEntry reviewEntry(const char* key, const xom::Check check, const Severity severity, const char* explanation)
{
    CheckEntry entry{
        QLatin1StringView(key), xom::checkName(check), QString::fromUtf8(explanation), severity, CheckKind::Review};
    entry.reviewCheck = check;
    return entry;
}

std::vector<CheckEntry> makeEntries()
{
    std::vector<CheckEntry> entries{
        reviewEntry(
            "untranslated", xom::Check::Untranslated, Severity::Warning, "The text is still the reference text."),
        reviewEntry("empty", xom::Check::Empty, Severity::Critical,
            "The text is empty where the reference has a text: the game shows nothing."),
        reviewEntry("missing-reference", xom::Check::MissingReference, Severity::Warning,
            "No entry of the reference has this entry's name."),
        reviewEntry("placeholders", xom::Check::PlaceholdersDiffer, Severity::Critical,
            "The text lacks placeholders of the reference (%d, {0}, control codes), or has others."),
        reviewEntry("line-breaks", xom::Check::LineBreaksDiffer, Severity::Warning,
            "The text has another number of line breaks than the reference."),
        reviewEntry("whitespace", xom::Check::WhitespaceDiffers, Severity::Style,
            "The text starts or ends with other whitespace than the reference."),
        reviewEntry("duplicate-name", xom::Check::DuplicateName, Severity::Critical,
            "Another entry of the file has this name: the game finds only one of them."),
        reviewEntry("inconsistent-translation", xom::Check::InconsistentTranslation, Severity::Warning,
            "Another entry of the same reference text is translated otherwise."),
        reviewEntry("reused-translation", xom::Check::ReusedTranslation, Severity::Warning,
            "Another entry of another reference text has the same translation."),
    };
    for (const TextCheckInfo& info : textCheckInfos()) {
        CheckEntry entry{info.key, info.name, info.explanation, info.severity, CheckKind::Text};
        entry.textCheck = info.check;
        entry.onByDefault = DefaultTextChecks.testFlag(info.check);
        entries.push_back(entry);
    }
    entries.push_back({QLatin1StringView("spelling"), QStringLiteral("spelling"),
        QStringLiteral("Words the dictionary of the file's language does not know (names the reference has are "
                       "never flagged)."),
        Severity::Style, CheckKind::Spelling});
    return entries;
}

} // namespace

const std::vector<CheckEntry>& allCheckEntries()
{
    static const std::vector<CheckEntry> entries = makeEntries();
    return entries;
}

const CheckEntry* checkOfKey(const QStringView key)
{
    for (const CheckEntry& entry : allCheckEntries()) {
        if (key == entry.key)
            return &entry;
    }
    return nullptr;
}

const CheckEntry& entryOf(const xom::Check check)
{
    const std::vector<CheckEntry>& entries = allCheckEntries();
    return *std::find_if(entries.begin(), entries.end(),
        [check](const CheckEntry& e) { return e.kind == CheckKind::Review && e.reviewCheck == check; });
}

const CheckEntry& entryOf(const TextCheck check)
{
    const std::vector<CheckEntry>& entries = allCheckEntries();
    return *std::find_if(entries.begin(), entries.end(),
        [check](const CheckEntry& e) { return e.kind == CheckKind::Text && e.textCheck == check; });
}

QLatin1StringView severityName(const Severity severity)
{
    switch (severity) {
    case Severity::Critical:
        return QLatin1StringView("critical");
    case Severity::Warning:
        return QLatin1StringView("warning");
    case Severity::Style:
        return QLatin1StringView("style");
    }
    return {};
}

bool CheckSelection::runs(const CheckEntry& check) const
{
    switch (check.kind) {
    case CheckKind::Review:
        return review.testFlag(check.reviewCheck);
    case CheckKind::Text:
        return text.testFlag(check.textCheck);
    case CheckKind::Spelling:
        return spelling;
    }
    return false;
}

void CheckSelection::set(const CheckEntry& check, const bool on)
{
    switch (check.kind) {
    case CheckKind::Review:
        review.setFlag(check.reviewCheck, on);
        break;
    case CheckKind::Text:
        text.setFlag(check.textCheck, on);
        break;
    case CheckKind::Spelling:
        spelling = on;
        break;
    }
}

namespace {

// The selection with no choices made: each check's default, and spelling
// only where the file is small enough.
CheckSelection defaultSelection(const int entryCount)
{
    CheckSelection selection;
    for (const CheckEntry& check : allCheckEntries())
        selection.set(check, check.onByDefault);
    selection.spelling = entryCount <= SpellingByDefaultUpTo;
    return selection;
}

} // namespace

CheckSelection selectionOf(const review::ReviewChecks& choices, const int entryCount)
{
    CheckSelection selection = defaultSelection(entryCount);
    for (const QString& key : choices.turnedOn) {
        if (const CheckEntry* const check = checkOfKey(key))
            selection.set(*check, true);
    }
    for (const QString& key : choices.turnedOff) {
        if (const CheckEntry* const check = checkOfKey(key))
            selection.set(*check, false);
    }
    selection.maxCharacters = choices.maxCharacters;
    selection.maxPercent = choices.maxPercent;
    selection.dictionary = choices.dictionary;
    return selection;
}

review::ReviewChecks choicesOf(const CheckSelection& selection, const review::ReviewChecks& kept, const int entryCount)
{
    const CheckSelection defaults = defaultSelection(entryCount);
    review::ReviewChecks choices;
    for (const CheckEntry& check : allCheckEntries()) {
        const bool on = selection.runs(check);
        if (on != defaults.runs(check))
            (on ? choices.turnedOn : choices.turnedOff) << QString(check.key);
    }
    // The keys of a newer version, as they were.
    const auto unknown = [](const QString& key) { return checkOfKey(key) == nullptr; };
    std::copy_if(kept.turnedOn.begin(), kept.turnedOn.end(), std::back_inserter(choices.turnedOn), unknown);
    std::copy_if(kept.turnedOff.begin(), kept.turnedOff.end(), std::back_inserter(choices.turnedOff), unknown);
    choices.maxCharacters = selection.maxCharacters;
    choices.maxPercent = selection.maxPercent;
    choices.dictionary = selection.dictionary;
    choices.otherSettings = kept.otherSettings;
    return choices;
}

std::variant<CheckSelection, QString> selectionOfKeys(const QStringView list, const CheckSelection limits)
{
    CheckSelection selection;
    selection.review = {};
    selection.text = {};
    selection.spelling = false;
    selection.maxCharacters = limits.maxCharacters;
    selection.maxPercent = limits.maxPercent;
    selection.dictionary = limits.dictionary;
    for (const QStringView key : list.split(u',')) {
        const QStringView trimmed = key.trimmed();
        if (trimmed.isEmpty())
            continue;
        const CheckEntry* const check = checkOfKey(trimmed);
        if (!check)
            return QStringLiteral("'%1' is no check (--list-checks lists them)").arg(trimmed);
        selection.set(*check, true);
    }
    return selection;
}

} // namespace checks
