#pragma once

#include "exchange/ImportError.h"

#include "review/ReviewFile.h"

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/ReversibleOperations.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace exchange {

// What a record says of its entry's review besides the text; what it does
// not say leaves the entry's review as it is (see importedReview).
struct ReviewSaid {
    // The file marks the translation as not final: a fuzzy PO message, an
    // XLIFF target that is new or needs review, a unit not approved or not
    // to be translated. The entry then needs review.
    bool unfinished = false;
    // The file marks it as final without naming a state: a PO message that
    // is not fuzzy.
    bool finished = false;
    // The state the file names: an XLIFF target's state, a CSV state column.
    std::optional<review::State> state;
    // The translator's note where the file has a place for one (PO
    // translator comments, XLIFF notes, a CSV note column); there, no note
    // is the empty note.
    std::optional<QString> note;
    // The source the translation was made from, where the file keeps it (a
    // PO message's previous msgid, "#| msgid").
    std::optional<QString> previousSource;

    [[nodiscard]] bool saysAnything() const { return unfinished || finished || state || note || previousSource; }
};

// One record of an exchange file as its reader found it: a CSV record, a PO
// message, an XLIFF trans-unit.
struct ImportRecord {
    int line = 0;   // where the record starts, from 1
    QString number; // empty: a new entry
    QString name;
    std::optional<QString> text; // nothing: the entry keeps its text
    ReviewSaid review;
};

// What a record applied said of the review of the entry in a grid row
// (from 0), for the document to apply with the texts.
struct ReviewOfRecord {
    int row = 0;
    ReviewSaid said;
};

// An entry that an import changed or added, for the report.
struct ImportChange {
    QString number;
    QString name;
    QString oldText;
    QString newText;
};

// How an import goes.
struct ImportOptions {
    // Keep each change for a report.
    bool report = false;
    // Go on past a record that is refused, to find every one; the import
    // then throws ImportRefusals at the end. A file that cannot be read
    // further (a broken quote, bytes that are not UTF-8) still stops there.
    bool allRefusals = false;
};

// What an import did, entry by entry: every entry the language file had is
// exactly one of changed, unchanged (a record named it and left its name
// and text as they were) and not in the file (no record named it). Added
// entries are new; renamed ones are among the changed. Apart from these,
// the entries whose state or note changed, counted by whoever applies the
// records' reviews (see document::Document::importExchange).
struct ImportSummary {
    int changed = 0;
    int renamed = 0;
    int added = 0;
    int unchanged = 0;
    int notInFile = 0;
    int reviewsChanged = 0;

    friend bool operator==(const ImportSummary&, const ImportSummary&) = default;
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
// its line breaks (CR, LF or CR LF: what spreadsheets and CAT tools rewrite)
// leaves the entry as it is; any other text is taken with those breaks made
// CR LF, the editor's, and every other character as it is (U+2028 and
// U+2029 included). A record with an empty number adds its name and text as
// a new last entry exactly as Add does; later records may use the number it
// takes. Grid order is kept. Unfinished records are applied like any other:
// what a record says of the entry's review is handed on with its row.
//
// apply throws ImportError at the line of a record that names no entry, a
// number an earlier record already named, or a new name (of an added or
// renamed entry) that breaks a line or holds a tab. The entries and the
// model may then be partly changed: a journal, when given, records every
// change as it is made (each cell's text before and after, each Add), so
// that they can be taken back (see xom::undoEdits), or callers work on a
// copy they drop.
class EntryImport {
public:
    // The table, the model, the report, the journal and the reviews (when
    // given) must outlive this. reviews receives what each record applied
    // says of its entry's review, when it says anything.
    EntryImport(xom::EntryTable& entries, xom::LanguageModel& model, const ImportOptions& options = {},
        std::vector<ImportChange>* report = nullptr, std::vector<xom::Edit>* journal = nullptr,
        std::vector<ReviewOfRecord>* reviews = nullptr);

    void apply(const ImportRecord& record);
    // After the last record: throws ImportRefusals when records were refused
    // and the options asked to find them all.
    void finish() const;

    [[nodiscard]] ImportSummary summary() const noexcept;

private:
    void applyRecord(const ImportRecord& record);
    void add(const ImportRecord& record);
    static void refuseNameThatBreaks(const ImportRecord& record);
    // Once the record is applied: what it says of the entry's review.
    void handOnReview(int row, const ImportRecord& record);
    // Sets a cell, recording it in the journal.
    void setCell(int row, int column, const QString& text);

    xom::EntryTable& m_entries;
    xom::LanguageModel& m_model;
    ImportOptions m_options;
    std::vector<ImportChange>* m_report;
    std::vector<xom::Edit>* m_journal;
    std::vector<ReviewOfRecord>* m_reviews;
    ImportSummary m_summary;
    std::vector<ImportError> m_refusals;
    // How many entries the file had, and how many of them a record named.
    int m_entriesBefore;
    int m_named = 0;
    // The first row of each number cell, so that a large file costs no scan
    // of the rows per record.
    NumberMap m_rowOfNumber;
    // The line of the record that named each number.
    NumberMap m_lineOfNumber;
};

// "n changed, m added, k unchanged, j not in the file", with "(r renamed)"
// after the changed and ", s states or notes changed" at the end when there
// are such.
[[nodiscard]] QString summaryLine(const ImportSummary& summary);

// A text from a file shown in a message: at most 80 characters, control
// characters and quotes escaped, "…" where it was cut.
[[nodiscard]] QString shownInMessage(QStringView text);

} // namespace exchange
