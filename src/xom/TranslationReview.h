#pragma once

#include "xom/EntryTable.h"
#include "xom/NameIndex.h"
#include "xom/TranslationChecks.h"

#include <QString>

#include <optional>
#include <vector>

namespace xom {

// How many entries fail: the untranslated ones, and the ones that fail any
// other check (an untranslated entry fails nothing else, so no entry is in
// both).
struct CheckTotals {
    int untranslated = 0;
    int withWarnings = 0;

    [[nodiscard]] int failing() const noexcept { return untranslated + withWarnings; }
    void add(Checks checks, int sign) noexcept;

    friend bool operator==(const CheckTotals&, const CheckTotals&) = default;
};

// "n untranslated · m with warnings"
[[nodiscard]] QString totalsText(const CheckTotals& totals);

// A reference language beside a working entry table: for each working entry
// the reference text of its name, the checks it fails, and the totals.
//
// The reference is read-only and owned here. An entry's reference is the
// first reference entry, in the reference's grid order, whose name is
// exactly the entry's name. Rows are indexes into the working table's rows
// (grid row - 1). The results describe the table as of the last recheckAll
// and the recheckRow calls after it; a caller that reorders, replaces or
// edits the table tells the review, which never keeps a reference to it.
class TranslationReview {
public:
    explicit TranslationReview(EntryTable reference);

    [[nodiscard]] const EntryTable& reference() const noexcept { return m_reference; }
    // The reference text for name; none when no reference entry has it.
    // The view lasts as long as the review.
    [[nodiscard]] std::optional<QStringView> referenceTextOf(QStringView name) const;

    // Checks every row of entries afresh: linear in the rows, one name
    // lookup each.
    void recheckAll(const EntryTable& entries);
    // Checks one row again after its name or text changed, or after it was
    // appended (row == the number of rows checked so far); the totals change
    // by that row alone. A row beyond that does nothing.
    void recheckRow(const EntryTable& entries, int row);
    // Forgets the rows from row on, as after the last rows were taken away;
    // the totals lose their checks.
    void dropRowsFrom(int row);

    [[nodiscard]] int rowCount() const noexcept { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] Checks checksOfRow(int row) const;
    // The reference text of a row; nullptr when it has none or row is
    // outside the rows checked.
    [[nodiscard]] std::optional<QStringView> referenceTextOfRow(int row) const;
    [[nodiscard]] const CheckTotals& totals() const noexcept { return m_totals; }

    // The nearest row after (forward) or before row that fails a check,
    // wrapping round the end; row itself when it is the only one. Nothing
    // when no row fails. A row outside the table starts from the top
    // (forward) or the bottom.
    [[nodiscard]] std::optional<int> nextFailingRow(int row, bool forward = true) const;

private:
    struct RowReview {
        int referenceRow = -1;
        Checks checks;
    };

    [[nodiscard]] RowReview review(const EntryTable& entries, int entryRow) const;

    EntryTable m_reference;
    NameIndex m_firstRowOfName;
    std::vector<RowReview> m_rows;
    CheckTotals m_totals;
};

} // namespace xom
