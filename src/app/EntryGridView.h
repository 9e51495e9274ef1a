#pragma once

#include <QTableView>

namespace app {

// The entry grid `Table`: one selected cell at a time, never column 0 (the
// marks, a fixed column), no in-place editing, uniform 17-pixel rows.
//
// Mouse handling follows the grid of the design rather than Qt's defaults:
// a press of any button on a mark cell is a mark press and leaves the
// selection alone; only a left press on a cell selects it; the second press
// of a double click counts as a press; every release, over the header too,
// is reported.
class EntryGridView final : public QTableView {
    Q_OBJECT

public:
    static constexpr int RowHeight = 17;

    explicit EntryGridView(QWidget* parent = nullptr);

    // Also sets the fixed column widths, which exist only once the model does.
    void setModel(QAbstractItemModel* model) override;

    // Sets the column widths for the grid with or without the Reference
    // column: without it the four usual widths; with it the Text column
    // gives up room so that Text and Reference are seen side by side.
    void fitReferenceColumn(bool shown);
    // The room the grid has beyond its usual width: the Text column (and
    // the Reference column, each taking half) widen by it.
    void setExtraWidth(int extraWidth);

    // Makes a cell current and selected without the select event, as when a
    // load puts the selection back. An invalid index leaves no cell current.
    void setCurrentCellQuietly(const QModelIndex& cell);

    // Makes a cell current and selected and scrolls it into view; the select
    // event fires when the current cell changes.
    void selectCell(const QModelIndex& cell);

    // Widens the number column to show numbers textWidth pixels wide whole,
    // or narrows it back, never below its usual width.
    // What a state icon takes of a cell's width: the icon and its margins.
    [[nodiscard]] int stateIconRoom() const;
    void fitNumberColumn(int textWidth);

    // No jumping to a cell by typing its first letters.
    void keyboardSearch(const QString& search) override;

signals:
    // The select event: a cell became the current one (not quietly), or a
    // left press hit the cell that already was.
    void cellSelected(const QModelIndex& cell);
    // A press of any mouse button on the mark cell of an entry row.
    void markPressed(int gridRow);
    // A mouse button went up over the grid or its header.
    void mouseReleased();
    // F2, Enter or a double click on a cell other than a mark: edit the
    // current cell.
    void editRequested();

protected:
    [[nodiscard]] QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    [[nodiscard]] QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QMouseEvent* event);
    void setTextWidths();

    bool m_quiet = false;
    bool m_referenceShown = false;
    int m_extraWidth = 0;
    // Whether the last left press went to QTableView, which then expects the
    // moves and the release that follow it.
    bool m_leftPressForwarded = false;
};

} // namespace app
