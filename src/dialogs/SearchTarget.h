#pragma once

#include <QString>

#include <optional>

namespace dialogs {

// What Find and Replace's boxes ask for: the text, where to look (the Look
// in box's order: texts, names, names and texts), how to match (the Match
// box's order: contains, starts with, whole text, regular expression) and
// whether letter case counts.
struct SearchRequest {
    QString findText;
    int lookIn = 0;
    int mode = 0;
    bool matchCase = false;
};

// A match: a grid row and column, and the units [start, start + length) of
// the cell's text.
struct FoundText {
    int gridRow = 1;
    int column = 0;
    qsizetype start = 0;
    qsizetype length = 0;
};

// What a replacement did: whether the match was still there to replace, and
// the next match after it.
struct ReplaceOutcome {
    bool replaced = false;
    std::optional<FoundText> next;
};

// The main grid as the Find and Replace dialog sees it: texts, positions
// and requests. The window that owns the grid implements it and has its
// document search and replace, so the dialog needs nothing of the window or
// the entries.
class SearchTarget {
public:
    virtual ~SearchTarget() = default;

    // Why the request cannot search (a regular expression that does not
    // compile); empty when it can.
    [[nodiscard]] virtual QString searchProblem(const SearchRequest& request) const = 0;
    // From the current cell (or, given, the match after from), the next
    // match, wrapping round; backwards, the last one before.
    [[nodiscard]] virtual std::optional<FoundText> findMatch(
        const SearchRequest& request, const std::optional<FoundText>& from, bool backwards) const = 0;
    // Replaces found if it is still a match at its place, as one step the
    // user can take back ("Replace").
    virtual ReplaceOutcome replaceMatch(
        const SearchRequest& request, const FoundText& found, const QString& replacement)
        = 0;
    // Every match replaced as one step ("Replace All"); gives what the
    // dialog's result line says ("412 replacements in 398 entries").
    virtual QString replaceAll(const SearchRequest& request, const QString& replacement) = 0;
    // "412 matches in 398 entries".
    [[nodiscard]] virtual QString countMatches(const SearchRequest& request) const = 0;

    // The grid row and column of the current cell; row 0 when none is.
    [[nodiscard]] virtual int currentGridRow() const = 0;
    [[nodiscard]] virtual int currentColumn() const = 0;
    // Selects the cell of a match and shows it.
    virtual void selectFoundCell(int gridRow, int column) = 0;

protected:
    SearchTarget() = default;
    SearchTarget(const SearchTarget&) = default;
    SearchTarget& operator=(const SearchTarget&) = default;
};

} // namespace dialogs
