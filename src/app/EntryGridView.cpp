#include "app/EntryGridView.h"

#include "app/EntryGridModel.h"
#include "app/GridCellDelegate.h"
#include "app/StateIcons.h"

#include "xom/EntryTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <array>

namespace app {

namespace {

constexpr std::array<int, xom::ColumnCount> ColumnWidths{15, 30, 150, 255};
// Text and Reference side by side within the viewport.
constexpr int SideBySideWidth = 200;

} // namespace

EntryGridView::EntryGridView(QWidget* parent)
    : QTableView(parent)
{
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    // The number column is as wide as the longest number, so only names and
    // texts are cut, and a cut text ends in an ellipsis.
    setTextElideMode(Qt::ElideRight);
    setItemDelegate(new GridCellDelegate(this));
    setIconSize(QSize(StateIconSize, StateIconSize));

    // Rows never measure their contents: at a million rows that alone would
    // take half a minute.
    QHeaderView* const rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(RowHeight);

    QHeaderView* const columns = horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setMinimumSectionSize(1);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setFixedHeight(RowHeight);
    columns->viewport()->installEventFilter(this);
}

void EntryGridView::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    for (int column = 0; column < xom::ColumnCount; ++column)
        setColumnWidth(column, ColumnWidths[static_cast<std::size_t>(column)]);
}

void EntryGridView::fitReferenceColumn(const bool shown)
{
    m_referenceShown = shown;
    setTextWidths();
}

void EntryGridView::setExtraWidth(const int extraWidth)
{
    m_extraWidth = std::max(0, extraWidth);
    setTextWidths();
}

void EntryGridView::setTextWidths()
{
    if (!m_referenceShown) {
        setColumnWidth(xom::TextColumn, ColumnWidths[xom::TextColumn] + m_extraWidth);
        return;
    }
    const int referenceExtra = m_extraWidth / 2;
    setColumnWidth(xom::TextColumn, SideBySideWidth + m_extraWidth - referenceExtra);
    setColumnWidth(xom::ColumnCount, SideBySideWidth + referenceExtra);
}

void EntryGridView::setCurrentCellQuietly(const QModelIndex& cell)
{
    const QScopedValueRollback quiet(m_quiet, true);
    if (cell.isValid())
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
}

void EntryGridView::selectCell(const QModelIndex& cell)
{
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

void EntryGridView::fitNumberColumn(const int textWidth)
{
    // The delegate keeps a margin on either side of the text, and the grid
    // line takes a pixel.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    setColumnWidth(xom::NumberColumn, std::max(ColumnWidths[xom::NumberColumn], textWidth + margin));
}

int EntryGridView::stateIconRoom() const
{
    // The style lays a decoration out with a focus-frame margin on either
    // side, as it does the text.
    return iconSize().width() + 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
}

void EntryGridView::keyboardSearch(const QString&) { }

void EntryGridView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool editKey = key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool plain
        = event->modifiers() == Qt::NoModifier || (key == Qt::Key_Enter && event->modifiers() == Qt::KeypadModifier);
    if (editKey && plain) {
        const QModelIndex cell = currentIndex();
        if (cell.isValid() && cell.column() != xom::MarkColumn) {
            emit editRequested();
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

QModelIndex EntryGridView::moveCursor(const CursorAction cursorAction, const Qt::KeyboardModifiers modifiers)
{
    const QModelIndex target = QTableView::moveCursor(cursorAction, modifiers);
    // The keyboard stops at the number column, as it would at a fixed column.
    if (target.isValid() && target.column() == xom::MarkColumn)
        return target.siblingAtColumn(xom::NumberColumn);
    return target;
}

QItemSelectionModel::SelectionFlags EntryGridView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    // Exactly one cell stays selected: Ctrl+click or Ctrl+Space on the
    // selected cell must not leave none.
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect;
    return command;
}

void EntryGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_quiet && current.isValid())
        emit cellSelected(current);
}

void EntryGridView::press(QMouseEvent* event)
{
    m_leftPressForwarded = false;
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!cell.isValid())
        return;
    if (cell.column() == xom::MarkColumn) {
        emit markPressed(static_cast<const EntryGridModel*>(model())->gridRowOf(cell));
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex before = currentIndex();
    QTableView::mousePressEvent(event);
    m_leftPressForwarded = true;
    // Selecting the selected cell again is a select event too: it is how the
    // user refreshes the preview after an edit.
    if (before == cell && currentIndex() == cell)
        emit cellSelected(cell);
}

void EntryGridView::mousePressEvent(QMouseEvent* event)
{
    press(event);
}

void EntryGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers a double click's second press as this event alone.
    QMouseEvent secondPress(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
        event->globalPosition(), event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
    press(&secondPress);
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.isValid() && cell.column() != xom::MarkColumn
        && cell == currentIndex())
        emit editRequested();
}

void EntryGridView::mouseMoveEvent(QMouseEvent* event)
{
    // A drag that did not start with a selecting press selects nothing.
    if ((event->buttons() & Qt::LeftButton) && !m_leftPressForwarded)
        return;
    QTableView::mouseMoveEvent(event);
}

void EntryGridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_leftPressForwarded) {
        m_leftPressForwarded = false;
        QTableView::mouseReleaseEvent(event);
    }
    emit mouseReleased();
}

bool EntryGridView::eventFilter(QObject* watched, QEvent* event)
{
    // The header is the grid's row 0: a release over it is a release over the
    // grid.
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease)
        emit mouseReleased();
    return QTableView::eventFilter(watched, event);
}

} // namespace app
