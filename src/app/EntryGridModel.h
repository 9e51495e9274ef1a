#pragma once

#include "checks/TextChecks.h"
#include "document/RowFilter.h"
#include "review/ReviewFile.h"
#include "xom/EntryTable.h"
#include "xom/ReversibleOperations.h"

#include <QAbstractTableModel>

namespace document {
class Document;
}

namespace app {

// The entry grid's rows as the view sees them: a view of the document's
// entries that owns nothing and follows the document's signals. Model row m
// is grid row m + 1: the grid's header row 0 is the view's horizontal
// header.
//
// Built for a million rows: data() is O(1) and answers only the display
// role; a reordering is announced once, never row by row.
//
// With a reference language open a fifth, read-only column "Reference"
// shows each entry's reference text, and the mark cell's tooltip names the
// checks the entry fails.
//
// Under a filter other than All the model's rows are the grid rows that the
// filter showed when it was chosen, in grid order. Edits keep them (an entry
// just approved stays in view under Needs review, as the translator expects
// of the row under the cursor), Sort and Move Down move them, new entries
// join them; a new reference or a new file shows the rows that pass the
// filter then.
class EntryGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The column that exists only while a reference is open.
    static constexpr int ReferenceColumn = xom::ColumnCount;

    // document must outlive the model.
    explicit EntryGridModel(const document::Document& document, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The mark column takes presses but can never be selected; no cell is
    // editable in place.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Shows only the rows that pass filter (see RowFilter).
    void setFilter(document::RowFilter filter);
    [[nodiscard]] document::RowFilter filter() const noexcept { return m_filter; }

    [[nodiscard]] int gridRowOf(const QModelIndex& index) const noexcept;
    // Invalid for the header row, rows or columns outside the grid and rows
    // the filter hides.
    [[nodiscard]] QModelIndex indexOfCell(int gridRow, int column) const;
    [[nodiscard]] QString cellText(const QModelIndex& index) const;
    // The context in which the mark cell's tooltip tells what the text
    // checks found.
    void setCheckContext(checks::TextCheckContext context) { m_checkContext = std::move(context); }

private:
    // What the number cell shows of an entry's state and whether its
    // source changed: its colour (BackgroundRole), its icon
    // (DecorationRole) or its name (ToolTipRole); nothing without either.
    [[nodiscard]] static QVariant reviewShown(review::State state, bool sourceChanged, int role);
    // The document's changes, told to the views.
    void followReorder(const xom::RowOrder& order, bool reverting);
    void followRowCount();
    void followCells(const std::vector<xom::CellChange>& changes);
    void followReference();
    // The model row of gridRow, or -1 when the filter hides it.
    [[nodiscard]] int modelRowOf(int gridRow) const noexcept;
    [[nodiscard]] bool filtered() const noexcept { return m_filter != document::RowFilter::All; }
    // The rows the filter shows now, and their count.
    void refilter();

    const document::Document& m_document;
    // The rows and columns the views were last told of: the document may
    // already hold more or fewer when it tells of a change.
    int m_rowCount;
    int m_columnCount;
    // The document's row count as last told, which the filtered rows stand
    // for.
    int m_documentRows;
    document::RowFilter m_filter = document::RowFilter::All;
    // Under a filter, the grid rows shown, ascending.
    std::vector<int> m_shownRows;
    checks::TextCheckContext m_checkContext;
};

} // namespace app
