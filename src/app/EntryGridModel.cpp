#include "app/EntryGridModel.h"

#include "xom/EntryOperations.h"

#include <algorithm>

namespace app {

EntryGridModel::EntryGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_table.rows.resize(1);
}

EntryGridModel::~EntryGridModel() = default;

int EntryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.entryCount();
}

int EntryGridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_review ? xom::ColumnCount + 1 : xom::ColumnCount;
}

QVariant EntryGridModel::data(const QModelIndex& index, const int role) const
{
    // The view asks for a dozen roles per painted cell; all but one are
    // answered at once.
    if (!index.isValid())
        return {};
    if (role == Qt::ToolTipRole && m_review && index.column() == xom::MarkColumn)
        return xom::checkNames(m_review->checksOfRow(index.row())).join(QStringLiteral(", "));
    if (role != Qt::DisplayRole)
        return {};
    return cellText(index);
}

QVariant EntryGridModel::headerData(const int section, const Qt::Orientation orientation, const int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole) {
        if (section == ReferenceColumn)
            return QStringLiteral("Reference");
        return xom::EntryTable::headerTexts()[static_cast<std::size_t>(section)];
    }
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
    if (index.column() == ReferenceColumn) {
        const std::optional<QStringView> reference = m_review->referenceTextOfRow(index.row());
        return reference ? reference->toString() : QString();
    }
    return m_table.cell(index.row(), index.column());
}

void EntryGridModel::replaceTable(xom::EntryTable table)
{
    beginResetModel();
    m_table = std::move(table);
    if (m_review)
        m_review->recheckAll(m_table);
    endResetModel();
    if (m_review)
        emit reviewChanged();
}

xom::RowOrder EntryGridModel::sortRowsByName(const xom::ProgressReport& progress)
{
    xom::RowOrder order = xom::sortOrderByName(m_table, progress);
    applyRowOrder(order);
    return order;
}

xom::MoveDownChange EntryGridModel::moveMarkedRowsDown()
{
    xom::MoveDownChange change = xom::moveDownChangeOf(m_table);
    if (!change.clearedMarks.empty())
        redoMoveDown(change);
    return change;
}

void EntryGridModel::reorderFollowing(
    const xom::RowOrder& order, const bool reverting, const std::function<void()>& reordering)
{
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    // Applying, the row from order[i] lands on i, so a row's new place needs
    // the inverse; there are only a few persistent indexes, against a
    // million rows.
    std::vector<std::int32_t> newPlace;
    if (!reverting && !before.isEmpty()) {
        newPlace.resize(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            newPlace[static_cast<std::size_t>(order[i])] = static_cast<std::int32_t>(i);
    }
    for (const QModelIndex& index : before) {
        const auto row = static_cast<std::size_t>(index.row());
        if (row >= order.size()) {
            after.append(index);
            continue;
        }
        const int moved = reverting ? order[row] : newPlace[row];
        after.append(this->index(moved, index.column()));
    }
    try {
        reordering();
    } catch (...) {
        // The row operations allocate before they move a row: the rows
        // are as they were.
        emit layoutChanged({}, VerticalSortHint);
        throw;
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, VerticalSortHint);
    recheckAll();
}

void EntryGridModel::applyRowOrder(const xom::RowOrder& order)
{
    reorderFollowing(order, false, [this, &order] { xom::applyRowOrder(m_table, order); });
}

void EntryGridModel::revertRowOrder(const xom::RowOrder& order)
{
    reorderFollowing(order, true, [this, &order] { xom::revertRowOrder(m_table, order); });
}

void EntryGridModel::redoMoveDown(const xom::MoveDownChange& change)
{
    reorderFollowing(change.order, false, [this, &change] { xom::redoMoveDown(m_table, change); });
}

void EntryGridModel::undoMoveDown(const xom::MoveDownChange& change)
{
    reorderFollowing(change.order, true, [this, &change] { xom::undoMoveDown(m_table, change); });
}

void EntryGridModel::applyCellChanges(const std::vector<xom::CellChange>& changes)
{
    xom::applyCellChanges(m_table, changes);
    announceCells(changes);
}

void EntryGridModel::revertCellChanges(const std::vector<xom::CellChange>& changes)
{
    xom::revertCellChanges(m_table, changes);
    announceCells(changes);
}

void EntryGridModel::announceCells(const std::vector<xom::CellChange>& changes)
{
    // One signal for the whole batch: a replace over a million rows must
    // not become a million repaints.
    int top = rowCount();
    int bottom = -1;
    int left = xom::ColumnCount;
    int right = -1;
    for (const xom::CellChange& change : changes) {
        const QModelIndex cell = indexOfCell(change.gridRow, change.column);
        if (!cell.isValid())
            continue;
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    if (bottom >= 0)
        emit dataChanged(index(top, left), index(bottom, right), {Qt::DisplayRole});

    if (!m_review)
        return;
    // One entry's checks per changed name or text, not a full pass.
    bool rechecked = false;
    for (const xom::CellChange& change : changes) {
        if (change.column != xom::NameColumn && change.column != xom::TextColumn)
            continue;
        m_review->recheckRow(m_table, change.gridRow - 1);
        const QModelIndex markCell = indexOfCell(change.gridRow, xom::MarkColumn);
        emit dataChanged(markCell, markCell, {Qt::ToolTipRole});
        rechecked = true;
    }
    if (rechecked) {
        // A renamed entry may have found another reference.
        emit dataChanged(index(top, ReferenceColumn), index(bottom, ReferenceColumn), {Qt::DisplayRole});
        emit reviewChanged();
    }
}

xom::AddedEntry EntryGridModel::addEntry(xom::LanguageModel& model, const QString& name, const QString& text)
{
    const int newRow = m_table.entryCount();
    beginInsertRows({}, newRow, newRow);
    const xom::AddedEntry added = xom::addEntryReversibly(m_table, model, name, text);
    if (m_review)
        m_review->recheckRow(m_table, newRow);
    endInsertRows();
    if (m_review)
        emit reviewChanged();
    return added;
}

void EntryGridModel::undoAddEntry(xom::LanguageModel& model, const xom::AddedEntry& added)
{
    const int lastRow = m_table.entryCount() - 1;
    if (lastRow < 0)
        return;
    beginRemoveRows({}, lastRow, lastRow);
    xom::undoAddEntry(m_table, model, added);
    if (m_review)
        m_review->dropRowsFrom(lastRow);
    endRemoveRows();
    if (m_review)
        emit reviewChanged();
}

void EntryGridModel::setReference(xom::EntryTable reference)
{
    auto review = std::make_unique<xom::TranslationReview>(std::move(reference));
    review->recheckAll(m_table);
    if (m_review) {
        m_review = std::move(review);
        emit dataChanged(index(0, 0), index(rowCount() - 1, ReferenceColumn), {Qt::DisplayRole, Qt::ToolTipRole});
    } else {
        beginInsertColumns({}, ReferenceColumn, ReferenceColumn);
        m_review = std::move(review);
        endInsertColumns();
    }
    emit reviewChanged();
}

void EntryGridModel::clearReference()
{
    if (!m_review)
        return;
    beginRemoveColumns({}, ReferenceColumn, ReferenceColumn);
    m_review.reset();
    endRemoveColumns();
    emit reviewChanged();
}

void EntryGridModel::recheckAll()
{
    if (!m_review)
        return;
    m_review->recheckAll(m_table);
    emit reviewChanged();
}

} // namespace app
