#pragma once

#include <QString>

#include <array>
#include <vector>

namespace xom {

enum Column : int {
    MarkColumn = 0,
    NumberColumn = 1,
    NameColumn = 2,
    TextColumn = 3,
    ColumnCount = 4,
};

// One entry row of the grid: the mark ("x" or empty), the entry's number in
// decimal, its name and its text. A row moves as a whole.
struct Entry {
    QString mark;
    QString number;
    QString name;
    QString text;

    [[nodiscard]] const QString& cell(int column) const;
    [[nodiscard]] QString& cell(int column);

    friend bool operator==(const Entry&, const Entry&) = default;
};

// The entries of the grid in display order, the header kept apart. The grid
// counts the header as row 0, so entry rows[i] is grid row i + 1. Between a
// load and a save this table is the only copy of the entries.
struct EntryTable {
    std::vector<Entry> rows;

    // "x", "№", "Name", "Text".
    [[nodiscard]] static const std::array<QString, ColumnCount>& headerTexts();

    [[nodiscard]] int entryCount() const noexcept { return static_cast<int>(rows.size()); }
    [[nodiscard]] int gridRowCount() const noexcept { return entryCount() + 1; }
    // The cell of a grid row, row 0 being the header.
    [[nodiscard]] const QString& gridCell(int gridRow, int column) const;
    // The length of the longest number cell: how many digits the number
    // column must show.
    [[nodiscard]] qsizetype longestNumberLength() const noexcept;

    friend bool operator==(const EntryTable&, const EntryTable&) = default;
};

} // namespace xom
