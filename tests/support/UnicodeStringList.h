#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace testsupport {

// An ordered list of texts indexed from 0, duplicates allowed, never kept
// sorted, with a matchCase switch that is off when a list is created: the
// list that the row-by-row procedures of the tests build a string table
// with, against which the save's own route is checked.
class UnicodeStringList {
public:
    // Gives below zero, zero or above zero for the texts at two indices.
    using Comparer = std::function<int(const UnicodeStringList&, int, int)>;

    // Puts text at the end without looking for duplicates; gives its index.
    int append(QString text);
    // Throws text::ListIndexError for an index outside 0 .. count() - 1.
    [[nodiscard]] const QString& get(int index) const;
    [[nodiscard]] int count() const noexcept { return static_cast<int>(m_texts.size()); }
    // Removes every text; matchCase stays as it was.
    void clear() noexcept { m_texts.clear(); }
    // Throws text::ListIndexError for an index outside 0 .. count() - 1.
    void removeAt(int index);
    // Takes the other list's texts in their order; keeps this list's matchCase.
    void copyFrom(const UnicodeStringList& other);
    void setMatchCase(bool on) noexcept { m_matchCase = on; }
    [[nodiscard]] bool matchCase() const noexcept { return m_matchCase; }
    // The first index whose text equals text under CompareLocale with the
    // list's matchCase, or -1; a linear scan.
    [[nodiscard]] int find(QStringView text) const;
    // Re-orders the texts with the list's quicksort (text::quickSortPositions).
    void sortWith(const Comparer& comparer);

    void reserve(int capacity) { m_texts.reserve(static_cast<std::size_t>(capacity)); }
    // Unchecked access for callers that hold a valid index.
    [[nodiscard]] const QString& at(int index) const { return m_texts[static_cast<std::size_t>(index)]; }

private:
    std::vector<QString> m_texts;
    bool m_matchCase = false;
};

} // namespace testsupport
