#pragma once

#include "xom/TextPool.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace xom {

enum Column : int {
    MarkColumn = 0,
    NumberColumn = 1,
    NameColumn = 2,
    TextColumn = 3,
    ColumnCount = 4,
};

// One entry's four cells as texts: the mark ("x" or empty), the number in
// decimal, the name and the text. What a caller builds a row from or reads
// a whole row as; the table itself keeps rows as EntryRow records.
struct Entry {
    QString mark;
    QString number;
    QString name;
    QString text;

    [[nodiscard]] const QString& cell(int column) const;
    [[nodiscard]] QString& cell(int column);

    friend bool operator==(const Entry&, const Entry&) = default;
};

// A row of the table: sixteen bytes that Sort and Move Down permute, the
// texts staying where they are in the pool. The number is kept as its value
// while the cell is exactly the decimal text of a value from 0 to 2^31 - 1
// (every loaded row's is), and as a pooled text otherwise, so that a number
// cell edited into any text shows that text back.
struct EntryRow {
    static constexpr std::uint32_t NumberIsText = 0x8000'0000u;

    // The value, or NumberIsText | the text's id; a new record's cells are
    // all empty.
    std::uint32_t number = NumberIsText | TextPool::EmptyText;
    TextId mark = TextPool::EmptyText;
    TextId name = TextPool::EmptyText;
    TextId text = TextPool::EmptyText;

    [[nodiscard]] bool numberIsText() const noexcept { return (number & NumberIsText) != 0; }
    // The number's text id when numberIsText().
    [[nodiscard]] TextId numberText() const noexcept { return number & ~NumberIsText; }
    [[nodiscard]] TextId id(int column) const noexcept;

    friend bool operator==(const EntryRow&, const EntryRow&) = default;
};

// The entries of the grid in display order, the header kept apart. The grid
// counts the header as row 0, so entry row r is grid row r + 1. Between a
// load and a save this table is the only copy of the entries: its rows and
// the pool that holds their texts.
//
// Views of cells (text, name, mark) are valid until a text is next set.
struct EntryTable {
    std::vector<EntryRow> rows;
    TextPool texts;
    // The ids below it came from a loaded file's string table, in the order
    // of their bytes in its data: the order of their ANSI images when this
    // editor saved the file, which the next save then only checks.
    TextId loadedTexts = 0;
    // The loaded string table's string 1, which a save keeps at index 1.
    TextId loadedSecond = TextPool::EmptyText;

    // "x", "№", "Name", "Text".
    [[nodiscard]] static const std::array<QString, ColumnCount>& headerTexts();

    [[nodiscard]] int entryCount() const noexcept { return static_cast<int>(rows.size()); }
    [[nodiscard]] int gridRowCount() const noexcept { return entryCount() + 1; }

    // Entry row r's cells (r from 0). cell works for every column; the views
    // for the columns that are always pooled texts.
    [[nodiscard]] QString cell(int row, int column) const;
    [[nodiscard]] QStringView mark(const int row) const noexcept { return texts.view(at(row).mark); }
    [[nodiscard]] QStringView name(const int row) const noexcept { return texts.view(at(row).name); }
    [[nodiscard]] QStringView text(const int row) const noexcept { return texts.view(at(row).text); }
    [[nodiscard]] QString number(int row) const;
    // A pooled cell's view (mark, name or text) or, for the number, its
    // text written into scratch: for callers that read many cells.
    [[nodiscard]] QStringView cellView(int row, int column, QString& scratch) const;
    // A grid row's cell, row 0 being the header.
    [[nodiscard]] QString gridCell(int gridRow, int column) const;

    void setCell(int row, int column, QStringView text);
    // Appends a row holding entry's texts.
    void append(const Entry& entry);
    [[nodiscard]] Entry entry(int row) const;
    [[nodiscard]] static EntryTable fromEntries(const std::vector<Entry>& entries);
    [[nodiscard]] std::vector<Entry> entries() const;

    // The row's number as a record field: the value for a plain decimal text.
    [[nodiscard]] std::uint32_t numberField(QStringView number);
    // The length of the longest number cell: how many digits the number
    // column must show.
    [[nodiscard]] qsizetype longestNumberLength() const;

    // Tables are equal when their cells are: the same texts row by row,
    // whatever the ids.
    friend bool operator==(const EntryTable& a, const EntryTable& b);

private:
    [[nodiscard]] const EntryRow& at(const int row) const noexcept { return rows[static_cast<std::size_t>(row)]; }
};

} // namespace xom
