#include "app/EntryGridModel.h"

#include "xom/EntryOperations.h"

#include <algorithm>

namespace app {

EntryGridModel::EntryGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_table.rows.resize(1);
}

int EntryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.entryCount();
}

int EntryGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : xom::ColumnCount;
}

QVariant EntryGridModel::data(const QModelIndex& index, const int role) const
{
    // The view asks for a dozen roles per painted cell; all but one are
    // answered at once.
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_table.rows[static_cast<std::size_t>(index.row())].cell(index.column());
}

QVariant EntryGridModel::headerData(const int section, const Qt::Orientation orientation, const int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= xom::ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return xom::EntryTable::headerTexts()[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags EntryGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == xom::MarkColumn)
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QModelIndex EntryGridModel::indexOfCell(const int gridRow, const int column) const
{
    return index(gridRow - 1, column);
}

QString EntryGridModel::cellText(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_table.rows[static_cast<std::size_t>(index.row())].cell(index.column());
}

void EntryGridModel::replaceTable(xom::EntryTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

void EntryGridModel::reorderRows(const std::function<void(xom::EntryTable&)>& reordering)
{
    [[maybe_unused]] const int rowsBefore = m_table.entryCount();
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    try {
        reordering(m_table);
    } catch (...) {
        emit layoutChanged({}, VerticalSortHint);
        throw;
    }
    Q_ASSERT(m_table.entryCount() == rowsBefore);
    emit layoutChanged({}, VerticalSortHint);
}

void EntryGridModel::setCellText(const QModelIndex& index, const QString& text)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return;
    m_table.rows[static_cast<std::size_t>(index.row())].cell(index.column()) = text;
    emit dataChanged(index, index, {Qt::DisplayRole});
}

void EntryGridModel::changeCells(const std::vector<xom::CellChange>& changes, const bool revert)
{
    if (changes.empty())
        return;
    int first = changes.front().gridRow;
    int last = first;
    for (const xom::CellChange& change : changes) {
        first = std::min(first, change.gridRow);
        last = std::max(last, change.gridRow);
    }
    if (revert)
        xom::revertCellChanges(m_table, changes);
    else
        xom::applyCellChanges(m_table, changes);
    emit dataChanged(indexOfCell(first, xom::NameColumn), indexOfCell(last, xom::TextColumn), {Qt::DisplayRole});
}

void EntryGridModel::toggleMark(const int gridRow)
{
    const QModelIndex markCell = indexOfCell(gridRow, xom::MarkColumn);
    if (!markCell.isValid())
        return;
    xom::toggleMark(m_table, gridRow);
    emit dataChanged(markCell, markCell, {Qt::DisplayRole});
}

int EntryGridModel::addEntry(xom::LanguageModel& model, const QString& name, const QString& text)
{
    const int newRow = m_table.entryCount();
    beginInsertRows({}, newRow, newRow);
    const int number = xom::addEntry(m_table, model, name, text);
    endInsertRows();
    return number;
}

} // namespace app
