#pragma once

#include "xom/ReversibleOperations.h"
#include "xom/EntryTable.h"

#include "text/TextMatcher.h"

#include <QString>

#include <optional>
#include <vector>

namespace xom {

// Which cells of each entry a search looks at.
enum class LookIn { Texts, Names, Both };

// A place in the searched cells: a grid row, a column and a unit offset in
// that cell's text. Cells are searched in grid order, and within a row the
// Name cell before the Text cell.
struct CellPosition {
    int gridRow = 1;
    int column = TextColumn;
    qsizetype offset = 0;
};

// One match in the table: a cell and the units [start, start + length) of
// its text.
struct CellMatch {
    int gridRow = 1;
    int column = TextColumn;
    qsizetype start = 0;
    qsizetype length = 0;

    friend bool operator==(const CellMatch&, const CellMatch&) = default;
};

// How many matches a search has, and in how many entries.
struct MatchTally {
    int matches = 0;
    int entries = 0;

    friend bool operator==(const MatchTally&, const MatchTally&) = default;
};

struct ReplaceAllResult {
    // One change per cell whose text changed, in search order.
    std::vector<CellChange> changes;
    // The matches replaced, and the entries they were in.
    MatchTally tally;
};

// The result of replacing one match: the cell's change and where the
// search resumes, after the replacement.
struct SingleReplacement {
    CellChange change;
    CellPosition resume;
};

// Find and Replace over the entry table: every query reads the table and
// none changes it; a replacement is given as cell changes to apply.
class TableSearch {
public:
    TableSearch(text::MatchOptions options, LookIn lookIn);

    [[nodiscard]] const text::TextMatcher& matcher() const noexcept { return m_matcher; }

    // The first match at or after from, wrapping around past the last cell
    // to the first and back to from's cell. A from outside the searched
    // cells (the header, another column) starts at the next searched cell.
    [[nodiscard]] std::optional<CellMatch> findNext(const EntryTable& table, const CellPosition& from) const;
    // The first match after current, as Find Next steps on from it.
    [[nodiscard]] std::optional<CellMatch> findAfter(const EntryTable& table, const CellMatch& current) const;
    // The last match that starts before before, wrapping around the other way.
    [[nodiscard]] std::optional<CellMatch> findPrevious(const EntryTable& table, const CellPosition& before) const;

    [[nodiscard]] MatchTally countMatches(const EntryTable& table) const;

    // Replaces current if it is still a match at its place (the table may
    // have changed since it was found); nothing otherwise.
    [[nodiscard]] std::optional<SingleReplacement> replaceMatch(
        const EntryTable& table, const CellMatch& current, const QString& replacement) const;

    // Every match of every searched cell replaced.
    [[nodiscard]] ReplaceAllResult replaceAll(const EntryTable& table, const QString& replacement) const;
    // The same, made on the table at once, cell by cell, without keeping
    // what each cell held before: for a replace that no one takes back.
    MatchTally replaceAllIn(EntryTable& table, const QString& replacement) const;

private:
    // Replaces in each searched cell, handing each changed cell's row,
    // column, text and new text to onChange.
    template <typename OnChange>
    MatchTally replaceEach(const EntryTable& table, const QString& replacement, const OnChange& onChange) const;
    [[nodiscard]] int cellCount(const EntryTable& table) const noexcept;
    [[nodiscard]] int cellIndexFrom(const EntryTable& table, int gridRow, int column) const noexcept;
    [[nodiscard]] int gridRowOfCell(int cell) const noexcept;
    [[nodiscard]] int columnOfCell(int cell) const noexcept;
    [[nodiscard]] QString textOfCell(const EntryTable& table, int cell) const;
    [[nodiscard]] CellMatch matchInCell(int cell, const text::TextMatch& match) const;

    text::TextMatcher m_matcher;
    std::vector<int> m_columns;
};

// "412 matches in 398 entries", "1 match in 1 entry".
[[nodiscard]] QString describeMatches(const MatchTally& tally);
// "412 replacements in 398 entries", "1 replacement in 1 entry".
[[nodiscard]] QString describeReplacements(const MatchTally& tally);

} // namespace xom
