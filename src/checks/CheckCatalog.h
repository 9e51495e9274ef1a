#pragma once

#include "checks/TextChecks.h"

#include "review/ReviewFile.h"
#include "xom/TranslationChecks.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>
#include <vector>

namespace checks {

// Every check a review can run, as translators turn them on and off and as
// reports name them: the review's own (untranslated, placeholders, the
// consistency checks …), the text checks, and spelling.
enum class CheckKind : std::uint8_t { Review, Text, Spelling };

struct CheckEntry {
    QLatin1StringView key; // stable, for the review file and --checks: "placeholders"
    QString name;          // as the panel and reports say it: "placeholders differ"
    QString explanation;   // one line
    Severity severity;
    CheckKind kind;
    xom::Check reviewCheck = xom::Check::Untranslated; // for CheckKind::Review
    TextCheck textCheck = TextCheck::Tags;             // for CheckKind::Text
    bool onByDefault = true;
};

// The review's checks in their order, then the text checks, then spelling.
[[nodiscard]] const std::vector<CheckEntry>& allCheckEntries();
[[nodiscard]] const CheckEntry* checkOfKey(QStringView key);
[[nodiscard]] const CheckEntry& entryOf(xom::Check check);
[[nodiscard]] const CheckEntry& entryOf(TextCheck check);
// "critical", "warning", "style".
[[nodiscard]] QLatin1StringView severityName(Severity severity);

// Spelling is not run by default on files of more entries than this, until
// a translator turns it on for the file.
inline constexpr int SpellingByDefaultUpTo = 100'000;

// The checks that run for one file, and its length limits.
struct CheckSelection {
    xom::Checks review = ~xom::Checks();
    TextChecks text = DefaultTextChecks;
    bool spelling = true;
    int maxCharacters = 0;
    int maxPercent = 0;
    // The spelling dictionary's language where another than the file's
    // was chosen; empty for the file's.
    QString dictionary;

    [[nodiscard]] bool runs(const CheckEntry& check) const;
    void set(const CheckEntry& check, bool on);
    friend bool operator==(const CheckSelection&, const CheckSelection&) = default;
};

// What the defaults and a file's choices select for a file of entryCount
// entries; keys this version does not know are passed over.
[[nodiscard]] CheckSelection selectionOf(const review::ReviewChecks& choices, int entryCount);
// The choices that give selection against the defaults for a file of
// entryCount entries, keeping the keys and settings of kept that this
// version does not know. Spelling is written turned on only where the
// file is too large for it to run by default.
[[nodiscard]] review::ReviewChecks choicesOf(
    const CheckSelection& selection, const review::ReviewChecks& kept, int entryCount);
// Exactly the checks listed ("placeholders,tags,length"), the limits and
// the dictionary those of limits; the message names a key that is no check.
[[nodiscard]] std::variant<CheckSelection, QString> selectionOfKeys(QStringView list, CheckSelection limits);

} // namespace checks
