#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace cli {

// One record of an exchange file as its reader found it: a CSV record, a PO
// message, an XLIFF trans-unit.
struct ImportRecord {
    int line = 0;   // where the record starts, from 1
    QString number; // empty: a new entry
    QString name;
    std::optional<QString> text; // nothing: the entry keeps its text
};

// An entry that an import changed or added, for the report.
struct ImportChange {
    QString number;
    QString name;
    QString oldText;
    QString newText;
};

struct ImportSummary {
    int changed = 0;
    int added = 0;
    int unchanged = 0;
};

// A value for each number cell text, found in constant time: a plain
// decimal (no sign, no leading zero) below a limit fixed at construction
// indexes a vector, which covers every number a loaded file has, and any
// other text is hashed. Which of the two holds a text depends on the text
// alone, so a text is always found where it was put.
class NumberMap {
public:
    explicit NumberMap(qsizetype expectedNumbers);

    // The value of number, or -1.
    [[nodiscard]] int value(const QString& number) const;
    void insert(const QString& number, int value);
    // The same for a plain decimal number given as its value.
    void insertValue(std::uint32_t number, int value);
    [[nodiscard]] int valueOf(std::uint32_t number) const;

private:
    // The vector's slot for a plain decimal's value (see
    // xom::plainDecimalValue), or -1 for a text the hash holds.
    [[nodiscard]] qsizetype slotOf(qint64 value) const noexcept;
    [[nodiscard]] int valueAt(qsizetype at) const noexcept;
    void setAt(qsizetype at, int value);

    qsizetype m_limit;
    std::vector<int> m_values;
    QHash<QString, int> m_others;
};

// Applies the records of an exchange file to a loaded file's entries one by
// one, as a user would by hand in the editor.
//
// A record with a number edits the first entry whose number cell is exactly
// that text: it takes the record's name, and its text unless the record
// keeps it. A text that equals the entry's current text up to the form of
// its line breaks (what spreadsheets and CAT tools rewrite) leaves the entry
// as it is; any other text is taken with the editor's line breaks, CR LF, as
// the Edit dialog gives them. A record with an empty number adds its name
// and text as a new last entry exactly as Add does; later records may use
// the number it takes. Grid order is kept.
//
// apply throws ImportError at the line of a record that names no entry or a
// number an earlier record already named. The entries and the model may
// then be partly changed; callers work on a copy they drop.
class EntryImport {
public:
    // The table, the model and the report (when given) must outlive this.
    EntryImport(xom::EntryTable& entries, xom::LanguageModel& model, std::vector<ImportChange>* report = nullptr);

    void apply(const ImportRecord& record);

    [[nodiscard]] const ImportSummary& summary() const noexcept { return m_summary; }

private:
    void add(const ImportRecord& record);

    xom::EntryTable& m_entries;
    xom::LanguageModel& m_model;
    std::vector<ImportChange>* m_report;
    ImportSummary m_summary;
    // The first row of each number cell, so that a large file costs no scan
    // of the rows per record.
    NumberMap m_rowOfNumber;
    // The line of the record that named each number.
    NumberMap m_lineOfNumber;
};

// "n changed, m added, k unchanged".
[[nodiscard]] QString summaryLine(const ImportSummary& summary);

} // namespace cli
