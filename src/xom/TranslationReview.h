#pragma once

#include "xom/EntryTable.h"
#include "xom/NameIndex.h"
#include "xom/RowGroups.h"
#include "xom/TranslationChecks.h"

#include <QString>

#include <cstdint>
#include <functional>
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

class TranslationReview;
// The other entries a consistency check of a row is about, by number:
// "#12, #40 and 3 more"; empty for other checks.
[[nodiscard]] QString otherEntriesOf(const TranslationReview& review, const EntryTable& entries, int row, Check check);

// A reference language beside a working entry table: for each working entry
// the reference text of its name, the checks it fails, and the totals.
//
// The reference is read-only and owned here. An entry's reference is the
// first reference entry, in the reference's grid order, whose name is
// exactly the entry's name. Rows are indexes into the working table's rows
// (grid row - 1). The results describe the table as of the last recheckAll
// and the recheckRow calls after it; a caller that reorders, replaces or
// edits the table tells the review, which never keeps a reference to it.
//
// Beside the reference, every entry that shares its name with another entry
// of the working table fails DuplicateName: the game and the reference
// column find only one of them by that name.
//
// Among the translated entries (those with a reference text and a text of
// their own, neither empty), an entry fails InconsistentTranslation when
// another of the same reference text has another text, and
// ReusedTranslation when another of another reference text has the same
// text. Texts are compared exactly, as the game shows them.
class TranslationReview {
public:
    // Checks of a translated entry's text beside its reference text beyond
    // the review's own: a bit for each that fails, 0 for none. Asked only
    // for translated rows (a reference text and a text of their own,
    // neither empty), from the thread that rechecks.
    using TextChecker = std::function<std::uint32_t(QStringView reference, QStringView text)>;

    explicit TranslationReview(EntryTable reference);

    // The checks that count: the review's own outside enabled are never
    // reported, and checker's are asked for each translated row. Both take
    // effect at the next recheckAll.
    void setEnabledChecks(Checks enabled) noexcept { m_enabled = enabled; }
    [[nodiscard]] Checks enabledChecks() const noexcept { return m_enabled; }
    void setTextChecker(TextChecker checker) { m_textChecker = std::move(checker); }

    [[nodiscard]] const EntryTable& reference() const noexcept { return m_reference; }
    // The reference text for name; none when no reference entry has it.
    // The view lasts as long as the review.
    [[nodiscard]] std::optional<QStringView> referenceTextOf(QStringView name) const;

    // Checks every row of entries afresh: linear in the rows, one name
    // lookup each.
    void recheckAll(const EntryTable& entries);
    // Checks one row again after its name or text changed, or after it was
    // appended (row == the number of rows checked so far); the totals change
    // by that row alone, and by the rows that share its old or new name.
    // A row beyond that does nothing.
    void recheckRow(const EntryTable& entries, int row);
    // Forgets the rows from row on, as after the last rows were taken away;
    // the totals lose their checks.
    void dropRowsFrom(int row);

    [[nodiscard]] int rowCount() const noexcept { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] Checks checksOfRow(int row) const;
    // The text checker's bits for a row; 0 outside the rows checked.
    [[nodiscard]] std::uint32_t textChecksOfRow(int row) const;
    // Whether a row fails any check, the text checker's among them.
    [[nodiscard]] bool rowFails(int row) const;
    // The reference text of a row; nullptr when it has none or row is
    // outside the rows checked.
    [[nodiscard]] std::optional<QStringView> referenceTextOfRow(int row) const;
    [[nodiscard]] CheckTotals totals() const noexcept;

    // The nearest row after (forward) or before row that fails a check,
    // wrapping round the end; row itself when it is the only one. Nothing
    // when no row fails. A row outside the table starts from the top
    // (forward) or the bottom.
    [[nodiscard]] std::optional<int> nextFailingRow(int row, bool forward = true) const;

    // The translated rows of the same reference text as row and another
    // text (InconsistentTranslation), and those of another reference text
    // and the same text (ReusedTranslation), in ascending order; at most
    // limit of them.
    [[nodiscard]] std::vector<int> rowsTranslatedOtherwise(int row, int limit) const;
    [[nodiscard]] std::vector<int> rowsReusingTranslation(int row, int limit) const;

private:
    struct RowReview {
        int referenceRow = -1;
        // The checks against the reference and the consistency checks,
        // DuplicateName apart.
        Checks checks;
        // The canonical id of the row's name in the working table's pool.
        TextId name = TextPool::EmptyText;
        // For a translated row, the canonical ids of its reference text (in
        // the reference's pool) and of its text (in the working pool), by
        // which it is grouped; NoKey for a row that is not translated.
        TextId source = RowGroups::NoKey;
        TextId translation = RowGroups::NoKey;
        std::uint32_t textChecks = 0;

        [[nodiscard]] bool failsOtherwise() const noexcept { return checks || textChecks; }
    };
    // The rows that bear one name, and how many of them fail nothing else:
    // those are the rows that DuplicateName alone makes failing.
    struct NameUse {
        std::int32_t rows = 0;
        std::int32_t passingOtherwise = 0;
    };

    [[nodiscard]] RowReview review(const EntryTable& entries, int entryRow) const;
    // Counts a row in (sign 1) or out of (sign -1) the totals and its name.
    void count(const RowReview& row, int sign);
    [[nodiscard]] NameUse& useOf(TextId name);
    // Sets or clears the consistency checks of a group's rows as the group
    // now stands: the rows of one reference text (bySource) or of one text.
    void settleSourceGroup(TextId source);
    void settleTranslationGroup(TextId translation);
    // Gives row the check or takes it away, its totals following.
    void setSharedCheck(int row, Check check, bool fails);
    void joinGroups(int row);
    void leaveGroups(int row);
    // The rows of group key in which other(row) differs from other(of), in
    // ascending order, at most limit.
    template <typename Other>
    [[nodiscard]] std::vector<int> rowsDiffering(
        const RowGroups& groups, TextId key, int of, int limit, const Other& other) const;
    // How many rows fail through DuplicateName alone for a name used so.
    [[nodiscard]] static std::int64_t failingForDuplicateOnly(const NameUse& use) noexcept
    {
        return use.rows > 1 ? use.passingOtherwise : 0;
    }

    EntryTable m_reference;
    NameIndex m_firstRowOfName;
    std::vector<RowReview> m_rows;
    // The totals of the reference checks alone.
    CheckTotals m_totals;
    // Indexed by name id, grown as the working pool grows.
    std::vector<NameUse> m_nameUses;
    // The rows that fail DuplicateName and nothing else.
    std::int64_t m_failingForDuplicateOnly = 0;
    // The translated rows by their reference text and by their text.
    RowGroups m_bySource;
    RowGroups m_byTranslation;
    Checks m_enabled = ~Checks();
    TextChecker m_textChecker;
};

} // namespace xom
